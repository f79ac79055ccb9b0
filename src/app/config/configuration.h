// The configuration file varnexw32.ini (beside the program, or per user: config_location.h): editor, print and pen defaults, the data
// sheet's size limit, the accepted data-file extensions, the user tools and the code page of all text.
// Read once at start-up; nothing writes it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/model.h"
#include "util/codepage.h"

namespace varnex {

class MessageBoxes;

struct UserTool {
    std::string menuText;     // "menu="
    std::string commandLine;  // "cmnd="
    int id = 0;               // 5000 + position
};

struct Configuration {
    static constexpr int kMaxTools = 16;
    static constexpr int kFirstToolId = 5000;
    static constexpr int kMaxExtensions = 100;

    std::string programPath;
    std::string configurationPath;  // the file read (config_location.h chooses it)
    std::string helpPath;           // the program's own help page, beside it or installed
    std::string editor;             // "editor="; empty: open with the desktop's default application
    std::vector<std::string> extensions{"dat"};  // "ext=", without the dot; [0] is the dialogs' default
    std::string filter = "Data File (*.dat)|*.dat|";
    // Keys that are absent (or a missing file) leave these values, chosen so that a first Document is
    // valid: positive widths and a print width.
    double printox = 0;
    double printoy = 0;
    double printw = 15;
    int limittext = 256;  // the data sheet holds limittext × 1000 characters
    double graphwidth = 0.3;
    double framewidth = 0.3;
    double markersize = 1.3;
    // "export size=": the side in pixels of a PNG that File > Export writes, 1 to 10000; a value outside
    // is ignored.
    int exportSize = 1000;
    std::vector<UserTool> tools;  // at most kMaxTools
    // "codepage=": how every text the program reads, shows and writes is encoded. The start-up applies
    // it (setSystemCodePage) before any data file is read.
    CodePage codePage = CodePage::Utf8;
    // The value of the last "codepage=" line when it names no code page (codePage is then UTF-8);
    // empty otherwise. readConfiguration reports it.
    std::string unknownCodePage;

    // True when id is one of the tools' command identifiers.
    bool isTool(int id) const;
};

// Reads the configuration file of the program at programPath, where locateConfiguration puts it (an
// installed program's per-user file is first created from the installed default, with a note on
// standard error). A missing file shows the fatal message
// "varnexw32.ini ファイルがありません。" and gives the defaults above; a "codepage=" value that names
// no code page is reported with an information message, and UTF-8 holds.
Configuration readConfiguration(const std::string& programPath, MessageBoxes& messages);

// Applies the lines of a configuration text to config; fields whose keys are absent keep their values.
// A key may stand anywhere in its line and its value is the text after the line's first '='; the first
// key found in the order editor, print ox, print oy, print width, width graph, width frame, marker
// size, limittext, menu, cmnd, ext, codepage, export size decides. Tools beyond kMaxTools and an "ext=" line without any
// extension are ignored.
void readConfigurationText(std::string_view text, Configuration& config);

// Applies the lines of the configuration file `path` to config; false (config unchanged) when it is
// not a regular file or cannot be opened.
bool readConfigurationFile(const std::string& path, Configuration& config);

// The code page a name stands for: "utf-8" or "shift_jis", in any letter case, with blanks around it
// ignored; nothing for any other name.
std::optional<CodePage> codePageFromName(std::string_view name);

// The file-dialog filter for a list of extensions: "Data File (*.dat,*.txt)|*.dat;*.txt|".
std::string buildFilter(const std::vector<std::string>& extensions);

// Copies the drawing defaults into a Document: print offsets and width, pen widths, marker size;
// tickwidth = graph width, subtickwidth = two thirds of it.
void applyConfigurationDefaults(const Configuration& config, DocumentHead& doc);

}  // namespace varnex
