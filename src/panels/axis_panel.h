// The axis panel (page "axis"): the graph title, both axes (size, type, title, font, range) and the
// print width, pen widths and marker size, as fixed controls created once at start-up.
//
// The controls are named after their ids ("c108" is the x-maximum box) and stand where
// axisPanelLayout puts them for the client width at creation; they are never moved afterwards. Tab
// and Shift+Tab cycle through the tab-stop controls in creation order without leaving the panel.
#pragma once

#include <QFrame>
#include <map>
#include <vector>

#include "panels/panel_geometry.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace varnex {

struct Document;

class AxisPanel : public QFrame {
    Q_OBJECT
public:
    explicit AxisPanel(QWidget* parent = nullptr);

    // Creates the controls for the client area's current width. Runs once; later calls do nothing.
    void createControls();

    // The area inside the panel's sunken edge, which holds the controls.
    QWidget* client() const { return m_client; }
    // The control with id, or null.
    QWidget* control(int id) const;
    QLineEdit* edit(int id) const;
    QComboBox* list(int id) const;
    QLabel* label(int id) const;

    // Shows doc's axis settings (and the data extents in the "max"/"min" labels).
    void fill(const Document& doc);
    // Takes the controls' values into doc: the titles, fonts, types and sizes (x, then y), then the
    // ranges, the print width, the pen widths and the marker size; the tick widths follow the frame
    // width. A list without selection leaves its field alone.
    void read(Document& doc) const;

protected:
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_client = nullptr;
    std::map<int, QWidget*> m_controls;
    std::vector<QWidget*> m_tabOrder;
};

}  // namespace varnex
