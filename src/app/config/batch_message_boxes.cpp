#include "app/config/batch_message_boxes.h"

#include "render/output/qt/text_codec.h"

namespace varnex {

void BatchMessageBoxes::print(std::string_view caption, std::string_view text) {
    std::string line = fromCodePage(caption).toStdString() + ": ";
    for (char c : fromCodePage(text).toStdString()) {
        if (c == '\n') {
            line += "\\n";
        } else if (c != '\r') {
            line += c;
        }
    }
    m_err << line << '\n';
    m_err.flush();
}

void BatchMessageBoxes::inform(std::string_view caption, std::string_view text) { print(caption, text); }

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
