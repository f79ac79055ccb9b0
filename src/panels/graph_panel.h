// The graph panel (page "graph"): one row of controls per data set, scrolled vertically by whole rows.
//
// A row holds the set's number, its title (read-only) and four lists: interpolation, line type,
// marker and shape (columns 0-3). Rows are created and destroyed only at the end, so rows that stay
// keep their widgets. The controls stand in a content widget inside the viewport; scrolling moves the
// content, so a control's place in the content is its unscrolled place.
//
// Scrolling follows a scroll record of the vertical bar: the line and page steps are the row pitch
// P = 3·S + 8 and the range is 0 .. P × max(n − 1, 1). The bar's arrows and the clicks beside its thumb
// move one row and give the focus to the row now at the top, in the column of the focused list.
// Dragging the thumb and turning the wheel over the panel also scroll, snapped to whole rows, with the
// same focus move; the wheel never changes a list's value here. Tab and Shift+Tab into a row out of view,
// and any key reaching a row control scrolled out of view, scroll it into view by whole rows first, so
// keys never act on a control the user cannot see.
#pragma once

#include <QFrame>
#include <QScrollBar>
#include <array>
#include <vector>

#include "panels/panel_geometry.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace varnex {

struct Document;

// The scroll record of the graph panel's vertical bar.
struct ScrollRecord {
    int previous = 0;  // the position before the last move
    int position = 0;
    int minimum = 0;
    int maximum = 0;
    int line = 1;   // step of the arrows
    int page = 10;  // step of the clicks beside the thumb
};

// Scroll codes: the arrows and the clicks above or below the thumb.
enum ScrollCode { kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3 };

// The row and column of a row's list and its selected position (0 without selection).
struct RowChoice {
    bool found = false;
    int row = 0;
    int column = 0;  // 0 interpolation, 1 line type, 2 marker, 3 shape
    int position = 0;
};

class GraphPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int kMaxRows = 255;

    struct Row {
        QLabel* number = nullptr;
        QLineEdit* title = nullptr;
        std::array<QComboBox*, 4> lists{};  // interpolation, line type, marker, shape
    };

    explicit GraphPanel(QWidget* parent = nullptr);

    int rowCount() const { return m_count; }
    // Row j, 1 <= j <= rowCount().
    const Row& row(int j) const { return m_rows[static_cast<std::size_t>(j)]; }
    // Row j's top in unscrolled coordinates; entry j + 1 is written when row j is created and kept
    // when it is destroyed. 1 <= j <= 256.
    int rowTop(int j) const { return m_rowTops[static_cast<std::size_t>(j)]; }
    PanelMetrics metrics() const { return m_metrics; }

    // The client area (without the scroll bar) and the scrolled content that holds the rows.
    QWidget* viewport() const { return m_viewport; }
    QWidget* content() const { return m_content; }
    QScrollBar* scrollBar() const { return m_bar; }

    // The rebuild of the rows, in its steps (ParameterPanels::setRows runs them with the focus
    // bookkeeping between them):
    // Takes the metrics, moves the content to its unscrolled place and gives the bar the steps, the
    // range for n rows and the position 0; the record keeps its position.
    void beginRebuild(int n);
    // Destroys rows n + 1 .. rowCount() in increasing order, each first its number label, then its
    // title box, then its four lists.
    void destroyRowsAfter(int n);
    // Creates rows rowCount() + 1 .. n at their row positions, empty, with the lists filled.
    void createRowsUpTo(int n);
    // With rows: puts the bar and the content back at the recorded position (kept within the range).
    void endRebuild();
    // Sets the recorded position without moving anything.
    void setRecordedPosition(int position) { m_record.position = position; }

    // Shows sets 1..rowCount() of doc: title, and the four choices as list positions (the line type
    // mod 5, the shape mod 4; a value outside a list leaves it without selection).
    void fill(const Document& doc);
    // Takes the four lists' positions of every row into its set; the title is never read back.
    void read(Document& doc) const;

    // The row list w is, or nothing found.
    RowChoice focusedRow(const QWidget* w) const;
    // The row of any control of a row (number, title or list); 0 for other widgets.
    int rowOf(const QWidget* w) const;
    // Gives the focus to row k's control in the column of the focused row list (column 0 when the focus
    // is on no row list). Nothing when k is not a row.
    void focusRow(int k);

    // w lies wholly inside the viewport (right and bottom edges counting as outside). Widgets outside
    // the content count as fully visible.
    bool fullyVisible(const QWidget* w) const;
    // Scrolls by whole rows until the row control w stands fully in view; nothing when it does already
    // or w is no row control.
    void keepInView(const QWidget* w);

    // Reads the bar into the record: the position becomes the previous one, then the bar's position
    // and range are taken.
    const ScrollRecord& scrollState();
    // The record as the last read or step left it.
    const ScrollRecord& scrollRecord() const { return m_record; }
    // Moves the record and the bar one line or page up or down; false (nothing moves) when the step
    // would leave the range or the code is unknown.
    bool scrollStep(int code);
    // Moves the content by dy pixels (negative: up).
    void scrollContentBy(int dy);
    // A vertical-scroll request with code: a step that moved focuses the row now at the top and
    // scrolls the content with it.
    void verticalScroll(int code);

protected:
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void barAction(int action);
    // Scrolls to the nearest whole row of position, with the focus move of verticalScroll.
    void scrollToNearestRow(int position);
    // Scrolls by whole rows, leaving the focus where it is, until the row control w stands in the
    // viewport: a row above comes to the top, a row below is reached by the fewest rows. Nothing for a
    // widget of no row.
    void scrollRowIntoView(const QWidget* w);
    void resizeContent();
    void placeChildren();

    QWidget* m_viewport = nullptr;
    QWidget* m_content = nullptr;
    QScrollBar* m_bar = nullptr;
    PanelMetrics m_metrics;
    ScrollRecord m_record;
    std::vector<Row> m_rows;  // slot 0 unused
    std::array<int, kMaxRows + 2> m_rowTops{};
    int m_count = 0;
};

// The focused control, with the focus inside an open list's pop-up counted as on the list itself.
QWidget* focusedControl();

}  // namespace varnex
