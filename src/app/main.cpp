#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "app/batch/batch.h"
#include "app/config/qt_message_boxes.h"
#include "app/desktop.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::string programPath = varnex::programFilePath(argv[0]);
    // Batch mode starts no window system unless a command draws (see batch.cpp).
    if (const auto code = varnex::runBatch(args, programPath, std::cout, std::cerr)) return *code;

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.varnex.Varnex"));
    varnex::QtMessageBoxes boxes;
    varnex::DesktopOptions options;
    options.programPath = programPath;
    options.setMessageOwner = [&boxes](QWidget* owner) { boxes.setOwner(owner); };
    varnex::Desktop desktop(std::move(options), boxes);
    desktop.start(varnex::commandLineFileName(args));
    return app.exec();
}
