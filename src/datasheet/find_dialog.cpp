#include "datasheet/find_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace varnex {
namespace {

// The search-text buffer holds 256 bytes with its NUL.
constexpr int kMaxFindText = 255;

}  // namespace

FindDialog::FindDialog(const QString& text, QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Find"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    m_text = new QLineEdit(text.left(kMaxFindText), this);
    m_text->setMaxLength(kMaxFindText);
    m_text->selectAll();
    auto* label = new QLabel(QStringLiteral("Fi&nd what:"), this);
    label->setBuddy(m_text);
    m_wholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    m_matchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    m_findNext = new QPushButton(QStringLiteral("&Find Next"), this);
    m_findNext->setDefault(true);
    m_findNext->setEnabled(!m_text->text().isEmpty());
    auto* close = new QPushButton(QStringLiteral("Close"), this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_text, 0, 1);
    grid->addWidget(m_findNext, 0, 2);
    grid->addWidget(m_wholeWord, 1, 0, 1, 2);
    grid->addWidget(close, 1, 2);
    grid->addWidget(m_matchCase, 2, 0, 1, 2);

    connect(m_text, &QLineEdit::textChanged, this, [this](const QString& t) { m_findNext->setEnabled(!t.isEmpty()); });
    connect(m_findNext, &QPushButton::clicked, this, &FindDialog::findNextRequested);
    connect(close, &QPushButton::clicked, this, &FindDialog::reject);
}

QTextDocument::FindFlags FindDialog::flags() const {
    QTextDocument::FindFlags flags;
    if (m_matchCase->isChecked()) flags |= QTextDocument::FindCaseSensitively;
    if (m_wholeWord->isChecked()) flags |= QTextDocument::FindWholeWords;
    return flags;
}

void FindDialog::done(int result) {
    emit closing();
    QDialog::done(result);
}

}  // namespace varnex
