// The commands of the data sheet: showing a file of the current Document in it, Save Data, the find
// dialog, the Edit menu's text commands (which act on whichever text box has the focus) and the caret
// report in status part 2.
#pragma once

#include <QObject>
#include <QPointer>
#include <string>

#include "datasheet/find_dialog.h"

namespace varnex {

class DataSheet;
class Desktop;

// Status texts of the find step.
inline constexpr const char* kFoundText = "文字列が見つかりました";
inline constexpr const char* kNotFoundText = "文字列が見つかりません";

class SheetCommands : public QObject {
    Q_OBJECT
public:
    // Creates the sheet on the data page of desktop's main window.
    explicit SheetCommands(Desktop& desktop);
    ~SheetCommands() override;

    DataSheet& sheet() { return *m_sheet; }

    // Shows file n of the current Document (-1: the file shown last): tries n, n − 1, ..., 0 and keeps
    // the first that loads; the data tab takes its label. The page shown stays; the sheet takes the
    // focus when it is the data page.
    void reloadSheet(int n);
    // Shows the file of the current Document named path (after a load).
    void showFile(const std::string& path);
    // Command 2000 + n: shows the data page and file n in it.
    void showListedFile(int n);
    // Command 114: saves the sheet when it is modified, then reloads the Document. A file the sheet
    // cannot give back byte for byte is refused; a character the code page cannot hold is refused
    // with its line and code; a file changed on disk since the load is written only after "NAME was
    // changed on disk since it was loaded. Overwrite it?" (No the default); a failed write is
    // reported. Whenever nothing is written the sheet stays modified, with its edits.
    void saveData();
    // Command 201: opens the find dialog when the sheet has the focus and no find dialog is open.
    void openFind();
    // Commands 110, 111, 112, 113: copy, undo, paste, cut in the focused text box (a line edit, an
    // editable combo box, the sheet); nothing for any other widget.
    static void editFocused(int id);
    // Shows the caret's line and column in status part 2 when the selection start moved.
    void caretReport();

    // Index of the file shown last.
    int shownIndex() const { return m_shownIndex; }
    FindDialog* findDialog() const { return m_find; }

private:
    // A paste into the sheet that would pass its text limit: a message, nothing pasted.
    void pasteRefused();
    void findStep();
    void findClosed();

    Desktop& m_desktop;
    DataSheet* m_sheet = nullptr;  // owned by the data page
    QPointer<FindDialog> m_find;
    QString m_findText;  // kept between searches
    int m_shownIndex = 0;
};

}  // namespace varnex
