// A started desktop with helpers for the panels: data files with a given number of sets, the panels'
// controls, the focus and the keys.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>
#include <algorithm>
#include <string>

#include "app/desktop_fixture.h"
#include "panels/axis_panel.h"
#include "panels/graph_panel.h"
#include "panels/parameter_panels.h"
#include "shell/panel_command_ids.h"

namespace varnex::testing {

// A data file with n sets of `points` points each, in blocks of up to four sets (a line of a data
// file holds at most 255 bytes); the sets of block k are titled "block k". Set i's y values are i·x.
inline std::string dataWithSets(int n, int points = 3) {
    std::string text = "Panels\n\n";
    for (int first = 1; first <= n; first += 4) {
        const int last = std::min(first + 3, n);
        text += "block " + std::to_string((first + 3) / 4) + '\n';
        for (int j = 1; j <= points; ++j) {
            text += std::to_string(j);
            for (int i = first; i <= last; ++i) text += ' ' + std::to_string(i * j);
            text += '\n';
        }
    }
    return text;
}

class PanelFixture : public DesktopFixture {
public:
    // Starts the desktop on a file of n sets and makes its window the active one, so that the focus
    // moves as it does for a user.
    void startWithSets(int n, int points = 3) {
        write("sets.dat", dataWithSets(n, points));
        start(path("sets.dat"));
        activate();
    }

    void activate() {
        window().activateWindow();
        QApplication::setActiveWindow(&window());
        QVERIFY(QTest::qWaitForWindowActive(&window()));
    }

    // Opens another file of n sets as a new graph.
    void openSets(int n, const std::string& name) {
        write(name, dataWithSets(n));
        QVERIFY(desktop().documents().open(path(name)) == n);
    }

    ParameterPanels& panels() { return desktop().panels(); }
    AxisPanel& axis() { return panels().axis(); }
    GraphPanel& graph() { return panels().graph(); }
    QLineEdit* edit(int id) { return axis().edit(id); }
    QComboBox* list(int id) { return axis().list(id); }
    QComboBox* rowList(int row, int column) {
        return graph().row(row).lists[static_cast<std::size_t>(column)];
    }

    void run(int id) { desktop().actions().runCommand(id); }
    // Types text into an edit box in place of what it shows.
    void type(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    // Presses a key with modifiers on the focused widget (or the window), as the user does.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &window();
        QTest::keyClick(target, key, modifiers);
    }
    QWidget* focused() { return QApplication::focusWidget(); }
};

}  // namespace varnex::testing
