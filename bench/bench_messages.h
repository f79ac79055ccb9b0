// The message boxes of the benchmark programs: notes and fatal messages go to standard error, so a
// benchmark that loses its data says why; every question is answered No, so nothing waits for a user.
#pragma once

#include <iostream>
#include <string_view>

#include "util/message_boxes.h"

namespace varnex::bench {

class SilentMessageBoxes : public MessageBoxes {
public:
    void inform(std::string_view, std::string_view text) override { std::cerr << text << '\n'; }
    void informWithDetail(std::string_view, std::string_view text, std::string_view detail) override {
        std::cerr << text << '\n' << detail << '\n';
    }
    int ask(std::string_view, std::string_view) override { return 0; }
    Answer askWithCancel(std::string_view, std::string_view) override { return Answer::No; }
    void fatal(std::string_view text) override { std::cerr << text << '\n'; }
};

}  // namespace varnex::bench
