#include "app/config/batch_message_boxes.h"

#include "render/output/qt/text_codec.h"

namespace varnex {

namespace {

// text (code page) as one line of UTF-8: line breaks written as \n, CR left out.
std::string oneLine(std::string_view text) {
    std::string line;
    for (char c : fromCodePage(text).toStdString()) {
        if (c == '\n') {
            line += "\\n";
        } else if (c != '\r') {
            line += c;
        }
    }
    return line;
}

}  // namespace

void BatchMessageBoxes::print(std::string_view caption, std::string_view text, std::string_view detail) {
    m_err << fromCodePage(caption).toStdString() << ": " << oneLine(text) << '\n';
    if (!detail.empty()) m_err << oneLine(detail) << '\n';
    m_err.flush();
}

void BatchMessageBoxes::inform(std::string_view caption, std::string_view text) { print(caption, text); }

void BatchMessageBoxes::informWithDetail(std::string_view caption, std::string_view text, std::string_view detail) {
    print(caption, text, detail);
}

int BatchMessageBoxes::ask(std::string_view caption, std::string_view text) {
    print(caption, text);
    return 0;
}

Answer BatchMessageBoxes::askWithCancel(std::string_view caption, std::string_view text) {
    print(caption, text);
    return Answer::No;
}

void BatchMessageBoxes::fatal(std::string_view text) {
    print(kFatalCaption, text);
    if (m_started) m_fatalSeen = true;
}

}  // namespace varnex
