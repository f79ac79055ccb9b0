#include "app/batch/batch.h"

#include <QGuiApplication>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "app/batch/batch_options.h"
#include "app/batch/document_json.h"
#include "app/config/batch_message_boxes.h"
#include "app/config/configuration.h"
#include "document/command_line_file.h"
#include "document/data_pool.h"
#include "document/loader.h"
#include "document/view_list.h"
#include "document/views.h"
#include "render/output/qt/export.h"
#include "render/output/qt/qt_text_measurer.h"
#include "render/output/qt/text_codec.h"
#include "render/page_renderer.h"
#include "util/paths.h"
#include "util/text.h"

namespace varnex {
namespace {

// Fonts and pictures need a GUI application; batch mode starts one, offscreen, only for the commands
// that draw. Standard error belongs to the program's own messages, so Qt's notes about the session
// environment (no runtime folder when run as root, say) are dropped.
void ensureGuiApplication() {
    if (QGuiApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << text.toStdString() << '\n';
    });
    static int argc = 1;
    static char name[] = "varnexw32";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

// What a batch command works on: the configuration, the View list and the pool, set up as the
// desktop sets them up at start-up. The code page (--codepage, or the configuration's) holds before
// any data file is read.
struct BatchSession {
    BatchSession(const std::string& programPath, std::optional<CodePage> codePage, std::ostream& err)
        : messages(err), config(readConfiguration(programPath, messages)), pool(messages) {
        setSystemCodePage(codePage.value_or(config.codePage));
        applyConfigurationDefaults(config, views.first());
        messages.setStarted();
    }

    // Opens the data file that name stands for, as the desktop opens its command line (a parameter
    // file opens its data file), as a new graph and makes view k current (nothing: the view the
    // parameter file names). 0 done; 1 when name opens no file or the file (or the chosen view's
    // files) hold no data, the message already printed; 2 when there is no view k.
    int open(const std::string& name, std::optional<int> view, std::ostream& err) {
        const FileToOpen choice = fileToOpen(name, config.extensions);
        if (!choice.path) {
            messages.informWithDetail(kErrorCaption, kNotOpenedText, fileDetail(name, choice.reason));
            return 1;
        }
        const std::string& file = *choice.path;
        if (openNewDocument(views, file, pool, messages) == 0 || messages.fatalSeen()) return 1;
        if (!view) return 0;
        if (*view > views.viewCount()) {
            err << "varnexw32: " << fromCodePage(file).toStdString() << " has no view " << *view << " (it has "
                << (views.viewCount() == 1 ? std::string("one view") : "views 1 to " + std::to_string(views.viewCount()))
                << ")\n";
            return 2;
        }
        if (selectView(views, *view) == ViewUpdate::None) return 0;
        const ReloadResult result = reloadDocument(views, LoadContext{pool, messages});
        if (result == ReloadResult::FilesMissing) {
            err << "varnexw32: a file of view " << *view << " cannot be read\n";
        }
        return result == ReloadResult::Reloaded && !messages.fatalSeen() ? 0 : 1;
    }

    // The graph of the current view, recorded as the desktop records it for the screen.
    Picture picture() {
        ensureGuiApplication();
        const QtTextMeasurer measurer;
        return recordPicture(views.current(), measurer, messages);
    }

    BatchMessageBoxes messages;
    Configuration config;
    ViewList views;
    DataPool pool;
};

// Flushes out and checks that everything written reached it: a failed write (a full disk, say) is a
// message and exit code 2, never a success. errno is cleared before the output is written, so a reason
// it holds afterwards belongs to that output.
int finishOutput(std::ostream& out, std::ostream& err) {
    out.flush();
    if (out) return 0;
    err << "varnexw32: the output cannot be written";
    if (errno != 0) err << " (" << std::generic_category().message(errno) << ')';
    err << '\n';
    return 2;
}

int info(const BatchOptions& options, const std::string& programPath, std::ostream& out, std::ostream& err) {
    BatchSession session(programPath, options.codePage, err);
    if (const int code = session.open(options.file, options.view, err)) return code;
    errno = 0;
    out << documentJson(session.views, options.points);
    return finishOutput(out, err);
}

int exportGraph(const BatchOptions& options, const std::string& programPath, std::ostream& err) {
    // Opening a file makes its folder the current one: a relative OUT means the folder it was given in.
    const std::string outPath = absPath(options.outPath).value_or(options.outPath);
    BatchSession session(programPath, options.codePage, err);
    if (const int code = session.open(options.file, options.view, err)) return code;
    const Picture picture = session.picture();
    if (session.messages.fatalSeen()) return 1;
    std::string error;
    if (!exportPicture(picture, outPath, session.views.current().printw, options.size, &error)) {
        err << "varnexw32: " << fromCodePage(error).toStdString() << '\n';
        return 2;
    }
    return 0;
}

int dumpPicture(const BatchOptions& options, const std::string& programPath, std::ostream& out, std::ostream& err) {
    BatchSession session(programPath, options.codePage, err);
    if (const int code = session.open(options.file, options.view, err)) return code;
    const Picture picture = session.picture();
    if (session.messages.fatalSeen()) return 1;
    errno = 0;
    out << picture.dump([](std::string_view text) { return fromCodePage(text).toStdString(); });
    return finishOutput(out, err);
}

}  // namespace

std::string commandLineFileName(const std::vector<std::string>& args) {
    std::string joined;
    for (const auto& word : args) {
        if (!joined.empty()) joined += ' ';
        joined += word;
    }
    return unquote(joined);
}

std::string programFilePath(const char* argv0) {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return self.string();
    return absPath(argv0 ? argv0 : "varnexw32").value_or("varnexw32");
}

bool isBatchCommandLine(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(), [](const std::string& word) { return isBatchOption(word); });
}

std::optional<int> runBatch(const std::vector<std::string>& args, const std::string& programPath,
                            std::ostream& out, std::ostream& err) {
    if (!isBatchCommandLine(args)) return std::nullopt;
    const auto options = parseBatchOptions(args, err);
    if (!options) return 2;
    errno = 0;
    switch (options->command) {
        case BatchCommand::Help: out << batchHelp(); break;
        case BatchCommand::Version: out << batchVersion(); break;
        case BatchCommand::Info: return info(*options, programPath, out, err);
        case BatchCommand::Export: return exportGraph(*options, programPath, err);
        case BatchCommand::DumpPicture: return dumpPicture(*options, programPath, out, err);
    }
    return finishOutput(out, err);
}

}  // namespace varnex
