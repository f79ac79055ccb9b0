#include "app/batch/batch.h"

#include <QGuiApplication>
#include <filesystem>
#include <iostream>

#include "app/batch/document_json.h"
#include "app/config/batch_message_boxes.h"
#include "app/config/configuration.h"
#include "document/data_pool.h"
#include "document/loader.h"
#include "document/view_list.h"
#include "render/output/qt/export.h"
#include "render/output/qt/qt_text_measurer.h"
#include "render/output/qt/text_codec.h"
#include "render/page_renderer.h"
#include "util/numbers.h"
#include "util/paths.h"
#include "util/text.h"

namespace varnex {
namespace {

constexpr const char* kUsage =
    "usage: varnexw32 --info [--points] FILE | --export OUT FILE [--size N] | --dump-picture FILE";
constexpr int kDefaultPngSize = 1000;

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

bool isOption(const std::string& word) { return word.size() > 2 && word.compare(0, 2, "--") == 0; }

int usage(std::ostream& err) {
    err << kUsage << '\n';
    return 2;
}

// What a batch command works on: the configuration, the View list and the pool, set up as the
// desktop sets them up at start-up.
struct BatchSession {
    BatchSession(const std::string& programPath, std::ostream& err)
        : messages(err), config(readConfiguration(programPath, messages)), pool(messages) {
        applyConfigurationDefaults(config, views.first());
        messages.setStarted();
    }

    // Opens file as a new graph; false (with the message already printed) when it holds no data.
    bool open(const std::string& file) {
        return openNewDocument(views, file, pool, messages) > 0 && !messages.fatalSeen();
    }

    // The graph of the current view, recorded as the desktop records it for the screen.
    Picture picture() {
        ensureGuiApplication();
        const QtTextMeasurer measurer;
        return recordPicture(views.current(), measurer, messages, &pool);
    }

    BatchMessageBoxes messages;
    Configuration config;
    ViewList views;
    DataPool pool;
};

int info(const std::vector<std::string>& args, const std::string& programPath, std::ostream& out,
         std::ostream& err) {
    bool points = false;
    std::size_t i = 1;
    if (i < args.size() && args[i] == "--points") {
        points = true;
        ++i;
    }
    if (i + 1 != args.size()) return usage(err);
    BatchSession session(programPath, err);
    if (!session.open(args[i])) return 1;
    out << documentJson(session.views, points);
    out.flush();
    return 0;
}

// --export OUT FILE [--size N]
int exportGraph(const std::vector<std::string>& args, const std::string& programPath, std::ostream& err) {
    if (args.size() != 3 && args.size() != 5) return usage(err);
    int size = kDefaultPngSize;
    if (args.size() == 5) {
        if (args[3] != "--size") return usage(err);
        size = parseLeadingInt(args[4]);
        if (size < 1 || size > kMaxPngSize || std::to_string(size) != args[4]) {
            err << "varnexw32: --size takes a whole number of pixels from 1 to " << kMaxPngSize << '\n';
            return 2;
        }
    }
    // Opening a file makes its folder the current one: a relative OUT means the folder it was given in.
    const std::string outPath = absPath(args[1]).value_or(args[1]);
    BatchSession session(programPath, err);
    if (!session.open(args[2])) return 1;
    const Picture picture = session.picture();
    if (session.messages.fatalSeen()) return 1;
    std::string error;
    if (!exportPicture(picture, outPath, session.views.current().printw, size, &error)) {
        err << "varnexw32: " << fromCodePage(error).toStdString() << '\n';
        return 2;
    }
    return 0;
}

// --dump-picture FILE
int dumpPicture(const std::vector<std::string>& args, const std::string& programPath, std::ostream& out,
                std::ostream& err) {
    if (args.size() != 2) return usage(err);
    BatchSession session(programPath, err);
    if (!session.open(args[1])) return 1;
    const Picture picture = session.picture();
    if (session.messages.fatalSeen()) return 1;
    out << picture.dump([](std::string_view text) { return fromCodePage(text).toStdString(); });
    out.flush();
    return 0;
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

bool isBatchCommandLine(const std::vector<std::string>& args) { return !args.empty() && isOption(args[0]); }

std::optional<int> runBatch(const std::vector<std::string>& args, const std::string& programPath,
                            std::ostream& out, std::ostream& err) {
    if (!isBatchCommandLine(args)) return std::nullopt;
    if (args[0] == "--info") return info(args, programPath, out, err);
    if (args[0] == "--export") return exportGraph(args, programPath, err);
    if (args[0] == "--dump-picture") return dumpPicture(args, programPath, out, err);
    return usage(err);
}

}  // namespace varnex
