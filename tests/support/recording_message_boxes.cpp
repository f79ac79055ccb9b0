#include "support/recording_message_boxes.h"

namespace varnex::testing {

void RecordingMessageBoxes::inform(std::string_view caption, std::string_view text) {
    m_messages.push_back({"inform", std::string(caption), std::string(text), {}});
}

void RecordingMessageBoxes::informWithDetail(std::string_view caption, std::string_view text, std::string_view detail) {
    m_messages.push_back({"inform", std::string(caption), std::string(text), std::string(detail)});
}

int RecordingMessageBoxes::ask(std::string_view caption, std::string_view text) {
    m_messages.push_back({"ask", std::string(caption), std::string(text), {}});
    switch (nextAnswer()) {
        case Answer::Yes: return 1;
        case Answer::No: return 0;
        case Answer::Cancel: return -1;
    }
    return -1;
}

int RecordingMessageBoxes::askDefaultNo(std::string_view caption, std::string_view text) {
    const int answer = ask(caption, text);
    m_messages.back().kind = "askDefaultNo";
    return answer;
}

Answer RecordingMessageBoxes::askWithCancel(std::string_view caption, std::string_view text) {
    m_messages.push_back({"askWithCancel", std::string(caption), std::string(text), {}});
    return nextAnswer();
}

void RecordingMessageBoxes::fatal(std::string_view text) {
    m_messages.push_back({"fatal", std::string(kFatalCaption), std::string(text), {}});
}

bool RecordingMessageBoxes::fatalSeen() const {
    for (const auto& m : m_messages) {
        if (m.kind == "fatal") return true;
    }
    return false;
}

Answer RecordingMessageBoxes::nextAnswer() {
    if (m_answers.empty()) return Answer::No;
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

}  // namespace varnex::testing
