// The batch command line, read by Qt's command-line parser so that options may come in any order:
//
//   --info [--points] FILE | --export OUT FILE [--size N] | --dump-picture FILE
//   with any of them --view N and --codepage NAME; alone, --help or --version.
//
// Words are bytes (file names in the code page); they reach the parser one byte a character and come
// back unchanged, so no name is ever re-encoded.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "util/codepage.h"

namespace varnex {

enum class BatchCommand { Info, Export, DumpPicture, Help, Version };

struct BatchOptions {
    static constexpr int kDefaultPngSize = 1000;

    BatchCommand command = BatchCommand::Help;
    std::string file;                  // FILE
    std::string outPath;               // --export OUT
    bool points = false;               // --points
    int size = kDefaultPngSize;        // --size N, 1 to kMaxPngSize
    std::optional<int> view;           // --view N, 1 or more; nothing: the view the parameter file names
    std::optional<CodePage> codePage;  // --codepage NAME; nothing: the configuration's
};

// True for a word that is an option: "--" and a name. A command line holding one selects batch mode.
bool isBatchOption(std::string_view word);

// Reads args (without the program name). Wrong usage (an unknown or repeated option, a missing or bad
// value, no command or two, an option another command takes, not exactly one FILE) prints the reason
// and the usage to err and gives nothing. --help and --version need nothing else and ignore the rest.
std::optional<BatchOptions> parseBatchOptions(const std::vector<std::string>& args, std::ostream& err);

// The usage lines printed on wrong usage, and the help text of --help (the usage, every option, the
// exit codes).
std::string batchUsage();
std::string batchHelp();

// The program's name and version, as --version prints it.
std::string batchVersion();

}  // namespace varnex
