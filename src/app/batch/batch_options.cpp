#include "app/batch/batch_options.h"

#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <charconv>
#include <limits>

#include "app/config/configuration.h"
#include "render/output/qt/export.h"
#include "util/message_boxes.h"

namespace varnex {
namespace {

struct OptionText {
    const char* name;
    const char* valueName;  // nullptr: a switch
    std::string description;
};

// Every option, in the order of the help text.
std::vector<OptionText> optionTexts() {
    return {
        {"info", nullptr, "print the Document that opening FILE gives, as one JSON object"},
        {"points", nullptr, "with --info: every set's x and y values too"},
        {"export", "OUT", "write FILE's graph to OUT: .svg, .pdf (printw cm square) or .png"},
        {"size", "N",
         "with --export: the PNG's width and height in pixels, 1 to " + std::to_string(kMaxPngSize) + " (default " +
             std::to_string(BatchOptions::kDefaultPngSize) + ")"},
        {"dump-picture", nullptr, "print the recorded picture of FILE's graph, one operation a line"},
        {"view", "N", "use view N of FILE's parameter file (default: the view it names as current)"},
        {"codepage", "NAME", "texts are utf-8 or shift_jis (default: codepage= of varnexw32.ini)"},
        {"help", nullptr, "print this help"},
        {"version", nullptr, "print the program's name and version"},
    };
}

// One byte a character: the parser only compares the ASCII option names, and every other byte comes
// back as it was given.
QString wordOf(const std::string& bytes) { return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())); }

std::string bytesOf(const QString& word) {
    const QByteArray bytes = word.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::optional<BatchOptions> refuse(std::ostream& err, const std::string& reason) {
    err << "varnexw32: " << reason << '\n' << batchUsage();
    err.flush();
    return std::nullopt;
}

// The whole text as a number from min to max; nothing for anything else ("12x", "+5", "", "1.5").
std::optional<int> wholeNumber(const std::string& text, int min, int max) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end || value < min || value > max) return std::nullopt;
    return value;
}

// The first option given more than once, if any.
std::optional<std::string> repeatedOption(const QCommandLineParser& parser) {
    const QStringList names = parser.optionNames();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names.indexOf(names[i], i + 1) >= 0) return bytesOf(names[i]);
    }
    return std::nullopt;
}

// The command's options once the words are parsed; nothing (with the reason printed) on wrong usage.
std::optional<BatchOptions> readOptions(const QCommandLineParser& parser, std::ostream& err) {
    if (const auto name = repeatedOption(parser)) return refuse(err, "--" + *name + " is given more than once");
    const bool info = parser.isSet("info");
    const bool exporting = parser.isSet("export");
    const bool dump = parser.isSet("dump-picture");
    if (int(info) + int(exporting) + int(dump) != 1) return refuse(err, "give one of --info, --export and --dump-picture");
    if (parser.isSet("points") && !info) return refuse(err, "--points goes with --info only");
    if (parser.isSet("size") && !exporting) return refuse(err, "--size goes with --export only");
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) return refuse(err, files.isEmpty() ? "FILE is missing" : "give one FILE only");

    BatchOptions options;
    options.command = info ? BatchCommand::Info : exporting ? BatchCommand::Export : BatchCommand::DumpPicture;
    options.file = bytesOf(files.front());
    options.points = parser.isSet("points");
    if (exporting) options.outPath = bytesOf(parser.value("export"));
    if (parser.isSet("size")) {
        const auto size = wholeNumber(bytesOf(parser.value("size")), 1, kMaxPngSize);
        if (!size) return refuse(err, "--size takes a whole number of pixels from 1 to " + std::to_string(kMaxPngSize));
        options.size = *size;
    }
    if (parser.isSet("view")) {
        options.view = wholeNumber(bytesOf(parser.value("view")), 1, std::numeric_limits<int>::max());
        if (!options.view) return refuse(err, "--view takes a view number from 1 on");
    }
    if (parser.isSet("codepage")) {
        const std::string name = bytesOf(parser.value("codepage"));
        options.codePage = codePageFromName(name);
        if (!options.codePage) return refuse(err, "unknown code page \"" + name + "\" (--codepage takes utf-8 or shift_jis)");
    }
    return options;
}

}  // namespace

bool isBatchOption(std::string_view word) { return word.size() > 2 && word.substr(0, 2) == "--"; }

std::optional<BatchOptions> parseBatchOptions(const std::vector<std::string>& args, std::ostream& err) {
    QCommandLineParser parser;
    for (const OptionText& text : optionTexts()) {
        QCommandLineOption option(QString::fromLatin1(text.name));
        if (text.valueName) option.setValueName(QString::fromLatin1(text.valueName));
        parser.addOption(option);
    }
    QStringList words{QStringLiteral("varnexw32")};  // the parser skips the program's name
    for (const std::string& arg : args) words << wordOf(arg);
    if (!parser.parse(words)) return refuse(err, bytesOf(parser.errorText()));

    if (parser.isSet("help") || parser.isSet("version")) {
        BatchOptions options;
        options.command = parser.isSet("help") ? BatchCommand::Help : BatchCommand::Version;
        return options;
    }
    return readOptions(parser, err);
}

std::string batchUsage() {
    return "usage: varnexw32 --info [--points] FILE | --export OUT FILE [--size N] | --dump-picture FILE\n"
           "         [--view N] [--codepage NAME]   (options in any order)\n"
           "       varnexw32 --help | --version\n";
}

std::string batchHelp() {
    std::string help = batchUsage();
    help += "\nOpens FILE as the desktop opens a new graph and prints or writes what it shows, without a window.\n\n";
    for (const OptionText& text : optionTexts()) {
        std::string name = std::string("--") + text.name;
        if (text.valueName) name += std::string(" ") + text.valueName;
        name.resize(std::max<std::size_t>(name.size() + 2, 21), ' ');
        help += "  " + name + text.description + '\n';
    }
    help +=
        "\nFILE opens as the desktop opens it: a name with a data-file extension of the configuration (ext=),\n"
        "or a parameter file (.P) whose data file lies beside it; only regular files are read.\n"
        "\nExit codes: 0 done; 1 invalid data or a FILE that is not opened; 2 wrong usage, a view that does\n"
        "not exist or an output (standard output included) that cannot be written. A command line without\n"
        "any option is one file name for the desktop window.\n";
    return help;
}

std::string batchVersion() { return std::string(kCaption) + '\n'; }

}  // namespace varnex
