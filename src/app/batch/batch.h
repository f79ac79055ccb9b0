// Batch mode: the command-line options that work without a window (batch_options.h reads them; they
// may come in any order).
//
//   varnexw32 --info [--points] FILE           prints the Document that opening FILE gives, as JSON
//   varnexw32 --export OUT FILE [--size N]     writes the graph to OUT: .svg, .pdf (printw cm square)
//                                              or .png (N × N pixels, default 1000)
//   varnexw32 --dump-picture FILE              prints the recorded picture, one operation a line
//   with each: --view N (view N of the parameter file), --codepage NAME (overrides codepage=)
//   varnexw32 --help | --version               the help text, or the program's name and version
//
// A command line without any option is one file name for the desktop window.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace varnex {

// Runs batch mode when args (without the program name) select it and returns the exit code: 0 done
// (--help and --version included), 1 invalid data, a FILE that the desktop would not open (the rule of
// document/command_line_file.h) or a fatal message, 2 wrong usage, a view that does not exist or an
// output that cannot be written (OUT, or `out` once flushed). Returns nothing when the command line is
// for the desktop. programPath locates the configuration file beside the program.
std::optional<int> runBatch(const std::vector<std::string>& args, const std::string& programPath,
                            std::ostream& out, std::ostream& err);

// True when args select batch mode: one of them is an option ("--" and a name).
bool isBatchCommandLine(const std::vector<std::string>& args);

// The full path of the running program (argv0 is the fallback where the system cannot tell).
std::string programFilePath(const char* argv0);

// The desktop's view of the command line: all words joined by single spaces, surrounding double
// quotes removed.
std::string commandLineFileName(const std::vector<std::string>& args);

}  // namespace varnex
