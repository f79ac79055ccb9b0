// The test form of the message boxes: records every message and answers questions as scripted.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "util/message_boxes.h"

namespace varnex::testing {

class RecordingMessageBoxes : public MessageBoxes {
public:
    struct Message {
        std::string kind;  // "inform", "ask", "askDefaultNo", "askWithCancel" or "fatal"
        std::string caption;
        std::string text;
        std::string detail;  // informWithDetail's detail; empty for the others
    };

    void inform(std::string_view caption, std::string_view text) override;
    void informWithDetail(std::string_view caption, std::string_view text, std::string_view detail) override;
    int ask(std::string_view caption, std::string_view text) override;
    int askDefaultNo(std::string_view caption, std::string_view text) override;
    Answer askWithCancel(std::string_view caption, std::string_view text) override;
    void fatal(std::string_view text) override;

    // Answers for the next questions, in order; an unscripted question is answered No.
    void scriptAnswers(std::initializer_list<Answer> answers) { m_answers.insert(m_answers.end(), answers); }

    const std::vector<Message>& messages() const { return m_messages; }
    void clear() { m_messages.clear(); }
    bool fatalSeen() const;

private:
    Answer nextAnswer();
    std::vector<Message> m_messages;
    std::deque<Answer> m_answers;
};

}  // namespace varnex::testing
