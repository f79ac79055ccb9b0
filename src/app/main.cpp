#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "app/batch/batch.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::string programPath = varnex::programFilePath(argv[0]);
    // Batch mode starts no window system unless a command draws (see batch.cpp).
    if (const auto code = varnex::runBatch(args, programPath, std::cout, std::cerr)) return *code;
    QApplication app(argc, argv);
    // The desktop window comes later; until then the program describes the file it was given.
    const std::string file = varnex::commandLineFileName(args);
    if (file.empty()) return *varnex::runBatch({"--help"}, programPath, std::cout, std::cerr);
    return *varnex::runBatch({"--info", file}, programPath, std::cout, std::cerr);
}
