#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "app/batch/batch.h"
#include "app/config/qt_message_boxes.h"
#include "app/desktop.h"
#include "render/output/qt/text_codec.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (const auto code = varnex::runBatch(args, argv[0], std::cout, std::cerr)) return *code;

    QApplication app(argc, argv);
    varnex::QtMessageBoxes boxes;
    varnex::DesktopOptions options;
    options.programPath = varnex::toCodePage(QCoreApplication::applicationFilePath());
    options.setMessageOwner = [&boxes](QWidget* owner) { boxes.setOwner(owner); };
    varnex::Desktop desktop(std::move(options), boxes);
    desktop.start(varnex::commandLineFileName(args));
    return app.exec();
}
