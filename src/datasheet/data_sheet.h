// The data sheet: an editable plain-text view of one file of the current Document, on the "data" page.
//
// Loading reads the file as document/sheet_file.h describes (lines trimmed and ended with "\r\n", at most
// limittext × 1000 bytes) and shows it decoded with the code page. Saving writes the text back encoded
// the same way, with "\r\n" line ends, through the safe writer (util/file_replace.h). A sheet is saved
// only when it is modified and complete; a text cut at the size limit never is, and a file whose bytes
// are not valid in the code page is shown (with replacement characters) but never saved, so that no
// byte of it is lost; so is a file holding a Unicode line or paragraph separator. The modified state
// stays set after a save until the next load.
#pragma once

#include <QPlainTextEdit>
#include <QTextDocument>
#include <optional>
#include <string>

namespace varnex {

class DataSheet : public QPlainTextEdit {
    Q_OBJECT
public:
    // limittext: the sheet's size in thousands of bytes (the configuration's limittext).
    explicit DataSheet(int limittext, QWidget* parent = nullptr);

    // Shows the file path; false when it cannot be opened (the sheet is then unchanged). Clears the
    // modified state and the undo history.
    bool load(const std::string& path);

    // The full name of the file shown (empty before the first load).
    const std::string& fileName() const { return m_fileName; }
    // The whole file was loaded.
    bool isComplete() const { return m_complete; }
    // The shown text is the file's bytes exactly (every byte valid in the code page) and holds no
    // Unicode line or paragraph separator, which saving would turn into a line end.
    bool isSavable() const { return m_savable; }
    // Complete and changed since the last load.
    bool isModified() const;
    // The label of the data page: the file's base name, followed by "+" when the text was cut.
    QString tabLabel() const;

    enum class SaveResult {
        NotModified,   // nothing to save (also a sheet cut at the size limit)
        InvalidBytes,  // the file holds bytes the code page cannot show: never written
        WriteFailed,   // the file could not be replaced; it is as it was
        Saved,
    };
    SaveResult save();

    // The text as it is written: bytes in the code page, lines ended by "\r\n", after the file's UTF-8
    // byte-order mark if it had one.
    std::string fileText() const;

    // "%d %d" of the caret's line (from 1) and column (from 0), when the selection start moved since
    // the last report; nothing otherwise.
    std::optional<QString> caretReport();

    // The find step: searches forward from the end of the selection and selects the match; when
    // nothing is found after the caret, searches once more from the start, and when nothing is found at
    // all puts the caret back where the wrapped search began. True when found.
    bool findNext(const QString& text, QTextDocument::FindFlags flags);

private:
    void placeCaret(int position);

    std::string m_fileName;
    std::int64_t m_capacity;
    bool m_complete = true;
    bool m_savable = true;
    std::string m_byteOrderMark;  // the file's UTF-8 byte-order mark, which the shown text leaves out
    int m_lastCaret = -1;
    int m_wrapPosition = 0;
};

}  // namespace varnex
