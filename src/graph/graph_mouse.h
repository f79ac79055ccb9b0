// The mouse on the graph window: the read-out of the data values under the pointer (status parts 1 and
// 0), the range pop-up on the right button, and the commands that need nothing but the cursor value and
// the Document: the copy commands 2500-2502 and 107.
//
// The mouse knows neither the main window nor the command path: it reads the shown Document through the
// function given, and says what the status bar should show and which pop-up item was chosen through its
// signals. The range and position commands of the pop-up change the Document; the command path runs
// them with the cursor value kept here. Nothing happens while the current Document holds no data set:
// the status bar keeps its text and no pop-up opens.
#pragma once

#include <QObject>
#include <QPointF>
#include <functional>

#include "graph/range_popup.h"
#include "render/mapping.h"

class QMenu;

namespace varnex {

struct Document;
class GraphWindow;

class GraphMouse : public QObject {
    Q_OBJECT
public:
    // Follows window's mouse; document gives the shown Document. window must outlive the mouse.
    GraphMouse(GraphWindow& window, std::function<const Document&()> document, QObject* parent = nullptr);

    // A mouse move at position (graph-window coordinates): inside the frame status part 1 shows
    // "x=%-12g y=%-12g" and part 0 the hint, and the cursor value is kept; outside both are cleared.
    void mouseMoved(QPointF position);
    // A right-button press: inside the frame, keeps the cursor value and opens the range pop-up there.
    void rightButtonPressed(QPointF position);

    // The cursor value pair: the data values of the last read-out or press inside the frame.
    const CursorValue& cursor() const { return m_cursor; }
    RangePopup& popup() { return m_popup; }

    // Runs a copy command of the cursor value (2500-2502); false, doing nothing, for any other id.
    bool runCommand(int id);

    // Command 107: puts the points of data set `set` of the current Document on the clipboard as text.
    // False (clipboard unchanged) when the Document has no such set.
    bool copySetData(int set);

signals:
    // Status-bar part (a StatusPart) should show text.
    void statusText(int part, const QString& text);
    // An item of the range pop-up was chosen: command id, for the command path.
    void commandChosen(int id);
    // A menu of the range pop-up is about to show: its items' states are to be set.
    void popupAboutToShow(QMenu* menu);

private:
    void showHelpText(int id);

    GraphWindow& m_window;
    std::function<const Document&()> m_document;
    RangePopup m_popup;
    CursorValue m_cursor;
};

}  // namespace varnex
