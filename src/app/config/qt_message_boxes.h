// The desktop's message boxes: modal QMessageBox windows owned by the main window.
//
// Texts and captions are bytes in the system code page and are converted for display. Before the
// owner is set (start-up, before the main window exists) the boxes have no owner; a fatal message then
// only informs, and start-up goes on. Once the owner is set, a fatal message closes it after the box
// and ends the event loop (also when the loop has not started yet).
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "util/message_boxes.h"

namespace varnex {

class QtMessageBoxes : public MessageBoxes {
public:
    // Runs a prepared box and returns the button chosen; the default shows it modally with exec().
    // Tests pass a function that inspects the box and answers at once.
    using Runner = std::function<QMessageBox::StandardButton(QMessageBox&)>;

    explicit QtMessageBoxes(Runner runner = {});

    // The window that owns every later box; null for none. The pointer is guarded: a destroyed owner
    // counts as none.
    void setOwner(QWidget* owner) { m_owner = owner; }
    QWidget* owner() const { return m_owner; }

    void inform(std::string_view caption, std::string_view text) override;
    // The detail goes to the box's detailed text, shown with its "Show Details..." button.
    void informWithDetail(std::string_view caption, std::string_view text, std::string_view detail) override;
    int ask(std::string_view caption, std::string_view text) override;
    int askDefaultNo(std::string_view caption, std::string_view text) override;
    Answer askWithCancel(std::string_view caption, std::string_view text) override;
    void fatal(std::string_view text) override;

private:
    QMessageBox::StandardButton run(QMessageBox::Icon icon, std::string_view caption, std::string_view text,
                                    QMessageBox::StandardButtons buttons, std::string_view detail = {},
                                    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

    Runner m_runner;
    QPointer<QWidget> m_owner;
};

}  // namespace varnex
