// The small modeless find dialog of the data sheet: the text to find (it keeps the last one), match
// case, whole word, Find Next and Close. It only asks; the sheet searches (DataSheet::findNext). The
// search always runs forward. The dialog deletes itself when closed.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>

namespace varnex {

class FindDialog : public QDialog {
    Q_OBJECT
public:
    // text: the text the search field starts with.
    FindDialog(const QString& text, QWidget* owner);

    QString text() const { return m_text->text(); }
    QTextDocument::FindFlags flags() const;

    QLineEdit& textField() { return *m_text; }
    QCheckBox& matchCase() { return *m_matchCase; }
    QCheckBox& wholeWord() { return *m_wholeWord; }
    QPushButton& findNextButton() { return *m_findNext; }

signals:
    // The user asked for the next match.
    void findNextRequested();
    // The dialog is closing (Close, Escape or the window's close button).
    void closing();

protected:
    void done(int result) override;

private:
    QLineEdit* m_text = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QPushButton* m_findNext = nullptr;
};

}  // namespace varnex
