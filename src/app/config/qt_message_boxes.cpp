#include "app/config/qt_message_boxes.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "render/output/qt/text_codec.h"

namespace varnex {

QtMessageBoxes::QtMessageBoxes(Runner runner) : m_runner(std::move(runner)) {
    if (!m_runner) {
        m_runner = [](QMessageBox& box) { return static_cast<QMessageBox::StandardButton>(box.exec()); };
    }
}

QMessageBox::StandardButton QtMessageBoxes::run(QMessageBox::Icon icon, std::string_view caption,
                                                std::string_view text, QMessageBox::StandardButtons buttons,
                                                std::string_view detail,
                                                QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, fromCodePage(caption), fromCodePage(text), buttons, m_owner.data());
    box.setTextFormat(Qt::PlainText);
    if (!detail.empty()) box.setDetailedText(fromCodePage(detail));
    if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
    return m_runner(box);
}

void QtMessageBoxes::inform(std::string_view caption, std::string_view text) {
    run(QMessageBox::Information, caption, text, QMessageBox::Ok);
}

void QtMessageBoxes::informWithDetail(std::string_view caption, std::string_view text, std::string_view detail) {
    run(QMessageBox::Information, caption, text, QMessageBox::Ok, detail);
}

int QtMessageBoxes::ask(std::string_view caption, std::string_view text) {
    switch (run(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No)) {
        case QMessageBox::Yes: return 1;
        case QMessageBox::No: return 0;
        default: return -1;
    }
}

int QtMessageBoxes::askDefaultNo(std::string_view caption, std::string_view text) {
    switch (run(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, {}, QMessageBox::No)) {
        case QMessageBox::Yes: return 1;
        case QMessageBox::No: return 0;
        default: return -1;
    }
}

Answer QtMessageBoxes::askWithCancel(std::string_view caption, std::string_view text) {
    switch (run(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default: return Answer::Cancel;
    }
}

void QtMessageBoxes::fatal(std::string_view text) {
    run(QMessageBox::Information, kFatalCaption, text, QMessageBox::Ok);
    QWidget* owner = m_owner.data();
    if (!owner) return;  // no main window yet: start-up goes on
    // Queued, so that the caller (a load in progress) returns before the window closes, and so that
    // a fatal message during start-up still ends the program once the event loop runs.
    QMetaObject::invokeMethod(owner, &QWidget::close, Qt::QueuedConnection);
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

}  // namespace varnex
