#include "app/config/configuration.h"

#include <array>
#include <iostream>
#include <string_view>

#include "render/output/output_limits.h"

#include "document/line_reader.h"
#include "util/bounded_text.h"
#include "util/message_boxes.h"
#include "util/numbers.h"
#include "util/paths.h"

namespace varnex {
namespace {

// Field sizes of the configuration record, terminator included.
constexpr std::size_t kEditorField = 264;
constexpr std::size_t kToolField = 256;

enum class Key { Editor, PrintOx, PrintOy, PrintWidth, WidthGraph, WidthFrame, MarkerSize, LimitText, Menu, Command, Ext,
                 CodePageName, ExportSize };

struct KeyName {
    std::string_view text;
    Key key;
};

constexpr std::array<KeyName, 13> kKeys{{
    {"editor=", Key::Editor},
    {"print ox=", Key::PrintOx},
    {"print oy=", Key::PrintOy},
    {"print width=", Key::PrintWidth},
    {"width graph=", Key::WidthGraph},
    {"width frame=", Key::WidthFrame},
    {"marker size=", Key::MarkerSize},
    {"limittext=", Key::LimitText},
    {"menu=", Key::Menu},
    {"cmnd=", Key::Command},
    {"ext=", Key::Ext},
    {"codepage=", Key::CodePageName},
    {"export size=", Key::ExportSize},
}};

std::string fitField(std::string_view text, std::size_t fieldSize) {
    return std::string(cutToFit(text, fieldSize - 1));
}

std::vector<std::string> splitAtSpaces(std::string_view text) {
    std::vector<std::string> pieces;
    std::size_t i = 0;
    while (i < text.size() && pieces.size() < static_cast<std::size_t>(Configuration::kMaxExtensions)) {
        while (i < text.size() && text[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        if (i > start) pieces.emplace_back(text.substr(start, i - start));
    }
    return pieces;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// A later "codepage=" line overrides an earlier one, a wrong one included: it falls back to UTF-8. An
// empty value is the default, UTF-8, and needs no message.
void applyCodePage(std::string_view value, Configuration& config) {
    if (const auto codePage = codePageFromName(value)) {
        config.codePage = *codePage;
        config.unknownCodePage.clear();
    } else {
        config.codePage = CodePage::Utf8;
        config.unknownCodePage = fitField(trimBlanks(value), kToolField);
    }
}

// Reading state across lines: the menu text of the tool being defined.
struct ToolInProgress {
    std::string menuText;
};

void applyLine(std::string_view line, Configuration& config, ToolInProgress& tool) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    const std::string_view value = line.substr(equals + 1);
    for (const KeyName& k : kKeys) {
        if (line.find(k.text) == std::string_view::npos) continue;
        switch (k.key) {
            case Key::Editor: config.editor = fitField(value, kEditorField); break;
            case Key::PrintOx: config.printox = parseLeadingNumber(value); break;
            case Key::PrintOy: config.printoy = parseLeadingNumber(value); break;
            case Key::PrintWidth: config.printw = parseLeadingNumber(value); break;
            case Key::WidthGraph: config.graphwidth = parseLeadingNumber(value); break;
            case Key::WidthFrame: config.framewidth = parseLeadingNumber(value); break;
            case Key::MarkerSize: config.markersize = parseLeadingNumber(value); break;
            case Key::LimitText: config.limittext = parseLeadingInt(value); break;
            case Key::Menu: tool.menuText = fitField(value, kToolField); break;
            case Key::Command:
                if (config.tools.size() < static_cast<std::size_t>(Configuration::kMaxTools)) {
                    const int id = Configuration::kFirstToolId + static_cast<int>(config.tools.size());
                    config.tools.push_back({tool.menuText, fitField(value, kToolField), id});
                }
                tool.menuText.clear();
                break;
            case Key::Ext:
                if (auto pieces = splitAtSpaces(value); !pieces.empty()) {
                    config.extensions = std::move(pieces);
                    config.filter = buildFilter(config.extensions);
                }
                break;
            case Key::CodePageName: applyCodePage(value, config); break;
            case Key::ExportSize:
                // A size no PNG can have leaves the one before.
                if (const int size = parseLeadingInt(value); size >= 1 && size <= kMaxPngSize) config.exportSize = size;
                break;
        }
        return;
    }
}

void readLines(ByteSource& source, Configuration& config) {
    LineReader reader(source);
    ToolInProgress tool;
    while (reader.readLine()) applyLine(reader.line(), config, tool);
}

}  // namespace

bool Configuration::isTool(int id) const {
    return !tools.empty() && id >= tools.front().id && id <= tools.back().id;
}

std::optional<CodePage> codePageFromName(std::string_view name) {
    name = trimBlanks(name);
    if (equalsIgnoringCase(name, "utf-8")) return CodePage::Utf8;
    if (equalsIgnoringCase(name, "shift_jis")) return CodePage::ShiftJis;
    return std::nullopt;
}

std::string buildFilter(const std::vector<std::string>& extensions) {
    if (extensions.empty()) return {};
    std::string filter = "Data File (";
    for (const auto& ext : extensions) filter += "*." + ext + ",";
    filter.back() = ')';
    filter += '|';
    for (const auto& ext : extensions) filter += "*." + ext + ";";
    filter.back() = '|';
    return filter;
}

void readConfigurationText(std::string_view text, Configuration& config) {
    MemorySource source(text);
    readLines(source, config);
}

bool readConfigurationFile(const std::string& path, Configuration& config) {
    // Only a regular file is opened: opening a FIFO would wait for a writer for ever.
    if (!isRegularFile(path)) return false;
    FileSource source(path);
    if (!source.isOpen()) return false;
    readLines(source, config);
    return true;
}

void applyConfigurationDefaults(const Configuration& config, DocumentHead& doc) {
    doc.printox = config.printox;
    doc.printoy = config.printoy;
    doc.printw = config.printw;
    doc.graphwidth = config.graphwidth;
    doc.framewidth = config.framewidth;
    doc.markersize = config.markersize;
    doc.tickwidth = config.graphwidth;
    doc.subtickwidth = config.graphwidth * 2 / 3;
}

}  // namespace varnex
