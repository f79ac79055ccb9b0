#include <iostream>
#include <string>
#include <vector>

#include "app/batch/batch.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (const auto code = varnex::runBatch(args, argv[0], std::cout, std::cerr)) return *code;
    // The desktop window comes later; until then the program describes the file it was given.
    const std::string file = varnex::commandLineFileName(args);
    if (file.empty()) {
        std::cerr << "usage: varnexw32 --info [--points] FILE\n";
        return 2;
    }
    return *varnex::runBatch({"--info", file}, argv[0], std::cout, std::cerr);
}
