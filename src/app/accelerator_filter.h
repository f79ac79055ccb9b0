// The accelerator table: keys that reach the main window's commands before any child window sees them,
// so that Ctrl+C copies the graph even while a text box has the focus. Installed on the application;
// keys pressed in other windows (dialogs, message boxes) are left alone.
#pragma once

#include <QKeyCombination>
#include <QObject>
#include <QWidget>
#include <functional>
#include <optional>

namespace varnex {

// The command of a key with its modifiers (Shift, Ctrl, Alt; the keypad flag is ignored), or nothing.
std::optional<int> acceleratorCommand(QKeyCombination keys);

class AcceleratorFilter : public QObject {
    Q_OBJECT
public:
    // run is called with the command of an accelerator key and returns whether it took the key.
    AcceleratorFilter(QWidget& mainWindow, std::function<bool(int id)> run);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_mainWindow;
    std::function<bool(int id)> m_run;
};

}  // namespace varnex
