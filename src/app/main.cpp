#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "app/batch/batch.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Batch mode never shows a window, but fonts and pictures need a GUI application.
    if (varnex::isBatchCommandLine(args) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (varnex::isBatchCommandLine(args)) {
        // Standard error belongs to the program's own messages; Qt's notes about the session
        // environment (no runtime folder when run as root, say) would only confuse scripts.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << text.toStdString() << '\n';
        });
    }
    QApplication app(argc, argv);
    const std::string programPath = QCoreApplication::applicationFilePath().toStdString();
    if (const auto code = varnex::runBatch(args, programPath, std::cout, std::cerr)) return *code;
    // The desktop window comes later; until then the program describes the file it was given.
    const std::string file = varnex::commandLineFileName(args);
    if (file.empty()) return *varnex::runBatch({"--help"}, programPath, std::cout, std::cerr);
    return *varnex::runBatch({"--info", file}, programPath, std::cout, std::cerr);
}
