// The batch form of the message boxes: every message is one line on standard error.
#pragma once

#include <ostream>

#include "util/message_boxes.h"

namespace varnex {

// Writes "CAPTION: TEXT" (line breaks in TEXT written as \n) to `err`, and a detail as a second line of
// its own ("FILE: reason", line breaks written as \n too); answers every question No, and
// remembers a fatal message so that batch mode can end with exit code 1. Texts are converted from the
// code page to UTF-8 for the terminal.
class BatchMessageBoxes : public MessageBoxes {
public:
    explicit BatchMessageBoxes(std::ostream& err) : m_err(err) {}

    void inform(std::string_view caption, std::string_view text) override;
    void informWithDetail(std::string_view caption, std::string_view text, std::string_view detail) override;
    int ask(std::string_view caption, std::string_view text) override;
    Answer askWithCancel(std::string_view caption, std::string_view text) override;
    void fatal(std::string_view text) override;

    // Batch mode's counterpart of the main window coming to exist: a fatal message before it (the
    // missing configuration file) is printed and start-up goes on; after it, the program ends.
    void setStarted() { m_started = true; }
    bool fatalSeen() const { return m_fatalSeen; }

private:
    void print(std::string_view caption, std::string_view text, std::string_view detail = {});

    std::ostream& m_err;
    bool m_started = false;
    bool m_fatalSeen = false;
};

}  // namespace varnex
