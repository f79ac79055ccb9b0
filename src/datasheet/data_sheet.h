// The data sheet: an editable plain-text view of one file of the current Document, on the "data" page.
//
// Loading reads the file as document/sheet_file.h describes (lines trimmed and ended with "\r\n", at most
// limittext × 1000 bytes) and shows it decoded with the code page. Saving writes the text back encoded
// the same way, with "\r\n" line ends, through the safe writer (util/file_replace.h). A sheet is saved
// only when it is modified and complete; a text cut at the size limit never is. Nor is a sheet whose
// text, unedited, would not be written back as the bytes that were loaded: bytes that are not valid in
// the code page (shown as replacement characters), a carriage return inside a line, or characters the
// text box takes for a line break (U+2028, U+2029, U+FDD0, U+FDD1); it is shown but never saved, so
// that no byte of it is lost. Nor is a text holding a character the code page cannot hold (typed or
// pasted into a Shift-JIS sheet), nor a file that another program wrote since the load unless the
// caller says so. The modified state stays set after a save until the next load.
//
// The text is limited to what a later load reads whole: typing that would make the file larger than
// limittext × 1000 − 256 bytes (less 2 for the line end a load adds to a last line without one) is
// refused with a beep, and a paste that would is refused as a whole
// (pasteRefused), so that an edited sheet can always be saved and loaded again.
#pragma once

#include <QPlainTextEdit>
#include <QTextDocument>
#include <cstdint>
#include <optional>
#include <string>

#include "util/file_stamp.h"

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
    // The shown text, saved unedited, gives back the loaded bytes exactly.
    bool isSavable() const { return m_savable; }
    // The largest file, in bytes, that the sheet lets its text become.
    std::int64_t textLimit() const;
    // The bytes the text takes in the file (fileText().size()).
    std::int64_t fileSize() const;
    // The file's size or last-write time differs from those at the load (or the last save).
    bool changedOnDisk() const;
    // Complete and changed since the last load.
    bool isModified() const;
    // The label of the data page: the file's base name, followed by "+" when the text was cut.
    QString tabLabel() const;

    enum class SaveResult {
        NotModified,    // nothing to save (also a sheet cut at the size limit)
        InvalidBytes,   // the file holds bytes the sheet cannot give back as they are: never written
        Unencodable,    // the text holds a character the code page cannot hold (see unencodable())
        ChangedOnDisk,  // the file changed on disk since the load; nothing written
        WriteFailed,    // the file could not be replaced; it is as it was
        Saved,
    };
    // overwriteChanged: write even when the file changed on disk since the load.
    SaveResult save(bool overwriteChanged = false);

    // After Unencodable: the first character the code page cannot hold and its line (from 1).
    struct UnencodableCharacter {
        char32_t character = 0;
        int line = 0;
    };
    UnencodableCharacter unencodable() const { return m_unencodable; }

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

signals:
    // A paste was refused because the text would pass textLimit().
    void pasteRefused();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void placeCaret(int position);
    // Whether the text stays within textLimit() when inserted replaces the selection.
    bool fitsWith(const QString& inserted) const;

    std::string m_fileName;
    std::int64_t m_capacity;
    bool m_complete = true;
    bool m_savable = true;
    std::string m_byteOrderMark;  // the file's UTF-8 byte-order mark, which the shown text leaves out
    FileStamp m_stamp;            // the file at the load or the last save
    UnencodableCharacter m_unencodable;
    int m_lastCaret = -1;
    int m_wrapPosition = 0;
};

}  // namespace varnex
