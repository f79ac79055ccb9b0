// The only way core code reaches the user: information, questions and the fatal message.
//
// The desktop installs Qt message boxes, batch mode prints to standard error, tests record. Texts are
// bytes in the system code page and are formatted by the caller (formatMessage keeps them within the
// 2048-byte message buffer).
#pragma once

#include <string>
#include <string_view>

namespace varnex {

// Captions used across the program.
inline constexpr std::string_view kCaption = "VarnexWin32 3.26c";
inline constexpr std::string_view kErrorCaption = "VarnexWin32 3.26c Error";
inline constexpr std::string_view kFatalCaption = "VarnexWin 終了ﾒｯｾｰｼﾞ";

// The program's message texts that more than one place uses.
inline constexpr std::string_view kInvalidDataText = "不正なデータです。";
// Asked before a file is written over that another program wrote since this one read it (%s: its name).
inline constexpr const char* kChangedOnDiskQuestion = "%s was changed on disk since it was loaded. Overwrite it?";

// Answers of askWithCancel.
enum class Answer { Yes, No, Cancel };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // An information box with an OK button.
    virtual void inform(std::string_view caption, std::string_view text) = 0;

    // The same with a detail that says what went wrong where, as "FILE: reason" (fileDetail): the
    // desktop's box shows it on request below the text, batch mode prints it as a second line.
    virtual void informWithDetail(std::string_view caption, std::string_view text, std::string_view detail) = 0;

    // A question with Yes and No: 1 for Yes, 0 for No, -1 for any other answer (the box closed).
    virtual int ask(std::string_view caption, std::string_view text) = 0;

    // A question with Yes and No whose default button is No, for a question where Yes loses data (a
    // file overwritten): an Enter pressed by habit keeps it. The same answers as ask.
    virtual int askDefaultNo(std::string_view caption, std::string_view text) { return ask(caption, text); }

    // A question with Yes, No and Cancel.
    virtual Answer askWithCancel(std::string_view caption, std::string_view text) = 0;

    // The fatal message (caption kFatalCaption). Afterwards the program ends: the desktop destroys
    // its main window (nothing happens before it exists), batch mode exits with code 1. Callers still
    // return normally, with a failure result.
    virtual void fatal(std::string_view text) = 0;
};

// The detail of a message about a file: "FILE: reason" (bytes in the system code page).
std::string fileDetail(std::string_view file, std::string_view reason);

// printf-style formatting of a message into the 2048-byte message buffer: %s, %d, %c and %% only.
// Text beyond the buffer is cut at a character boundary. Numbers with a fraction are formatted with
// util/numbers.h and passed as %s, since printf's decimal point follows the locale.
std::string formatMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace varnex
