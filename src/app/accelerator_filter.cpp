#include "app/accelerator_filter.h"

#include <QComboBox>
#include <QKeyEvent>
#include <array>

namespace varnex {
namespace {

struct Accelerator {
    Qt::KeyboardModifiers modifiers;
    Qt::Key key;
    int id;
};

const std::array<Accelerator, 19> kAccelerators{{
    {Qt::ControlModifier, Qt::Key_C, 1112},
    {Qt::ControlModifier, Qt::Key_E, 1115},
    {Qt::ControlModifier, Qt::Key_F, 201},
    {Qt::ControlModifier, Qt::Key_H, 1052},
    {Qt::ControlModifier, Qt::Key_O, 1010},
    {Qt::ControlModifier, Qt::Key_S, 1113},
    {Qt::ControlModifier, Qt::Key_V, 1018},
    {Qt::ControlModifier, Qt::Key_Down, 1070},
    {Qt::ControlModifier, Qt::Key_Left, 1076},
    {Qt::ControlModifier, Qt::Key_PageDown, 1073},
    {Qt::ControlModifier, Qt::Key_PageUp, 1072},
    {Qt::ControlModifier, Qt::Key_Return, 1222},
    {Qt::ControlModifier, Qt::Key_Enter, 1222},
    {Qt::AltModifier, Qt::Key_Return, 1031},
    {Qt::ControlModifier, Qt::Key_Right, 1075},
    {Qt::ControlModifier, Qt::Key_Tab, 1028},
    {Qt::ControlModifier, Qt::Key_Up, 1071},
    {Qt::ControlModifier, Qt::Key_X, 1050},
    {Qt::ControlModifier, Qt::Key_Y, 1051},
}};

}  // namespace

std::optional<int> acceleratorCommand(QKeyCombination keys) {
    const Qt::KeyboardModifiers modifiers =
        keys.keyboardModifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    for (const Accelerator& a : kAccelerators) {
        if (a.key == keys.key() && a.modifiers == modifiers) return a.id;
    }
    // Alt+Enter on the keypad is the same key as Alt+Return.
    if (keys.key() == Qt::Key_Enter && modifiers == Qt::AltModifier) return 1031;
    return std::nullopt;
}

AcceleratorFilter::AcceleratorFilter(QWidget& mainWindow, std::function<bool(int id)> run)
    : m_mainWindow(mainWindow), m_run(std::move(run)) {}

bool AcceleratorFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // The pop-up of a dropped-down list belongs to the list's window.
    if (widget && widget->window()->windowType() == Qt::Popup) {
        if (auto* list = qobject_cast<QComboBox*>(widget->window()->parentWidget())) widget = list;
    }
    if (!widget || widget->window() != &m_mainWindow) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto id = acceleratorCommand(key->keyCombination());
    return id && m_run(*id);
}

}  // namespace varnex
