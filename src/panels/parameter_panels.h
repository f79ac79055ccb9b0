// The two parameter panels on the pages "axis" and "graph", and the transfer of settings between them
// and the current Document.
//
// The panels are not bound to the Document while the user types: refresh shows the Document in the
// controls and apply takes the controls' values back. Apply first copies the Document into the undo
// copy; input that leaves the Document invalid (Document::isValid) is rejected as a whole, without a
// message: the Document returns to the undo copy and the controls show it again. Apply reports whether
// the Document changed, so that the caller knows whether to redraw.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace varnex {

struct Document;
class AxisPanel;
class GraphPanel;
class PageHost;
class MessageBoxes;
class PanelFocus;

class ParameterPanels : public QObject {
    Q_OBJECT
public:
    // Puts the panels on the pages "axis" and "graph" of pages and creates the axis panel's controls
    // for the page's current width (the tab layout must have run). undoCopy is the Document that every
    // apply overwrites; updateTitle is run by every refresh. pages and undoCopy must outlive the panels.
    ParameterPanels(PageHost& pages, Document& undoCopy, std::function<void(const Document&)> updateTitle);
    ~ParameterPanels() override;

    AxisPanel& axis() { return *m_axis; }
    GraphPanel& graph() { return *m_graph; }
    PanelFocus& focus() { return *m_focus; }

    // With data: shows doc in both panels and updates the window title. Without data: nothing.
    void refresh(const Document& doc);
    // Takes the panels' values into doc: true when doc changed (and is valid); false when nothing
    // changed, when the input was rejected (doc and the controls are as before) or without data.
    bool apply(Document& doc);
    // After a load: rows for doc.data sets, doc shown in the panels and the panels' values taken back
    // into doc (so that it holds what the controls can show), unless that would make doc invalid; the
    // page layout the drawing derives is derived as well.
    void rebuild(Document& doc);

    // Makes the graph panel hold n rows, reusing the rows that exist. The focus stays on its control
    // while that row remains; a focus on a destroyed row goes to the graph page's home with the view
    // scrolled to the top. The graph page's focus row is scrolled into view, by whole rows, when a load
    // left it out of view (also when the number of rows stays).
    void setRows(int n);

    // Graph "&Set Parameter" (after the apply): asks and gives the focused row list's choice to all
    // sets (set_all_choices.h). Nothing when the focus is not on a row list.
    void setAllChoices(Document& doc, MessageBoxes& messages);

    // A cursor command: the axis panel's tables while it is shown, else the graph panel's rows.
    void navigate(int command);
    // Ctrl+X / Ctrl+Y once the axis page is shown: from the axis's maximum box to its minimum box,
    // from anywhere else to the maximum box.
    void focusRangeBox(bool xAxis);
    // Closes the dropped-down list of the focused list, if open.
    void closeOpenList();

private:
    QWidget* home(int page) const;
    void rebuildRows(int n);

    PageHost& m_pages;
    Document& m_undo;
    std::function<void(const Document&)> m_updateTitle;
    AxisPanel* m_axis = nullptr;
    GraphPanel* m_graph = nullptr;
    std::unique_ptr<PanelFocus> m_focus;
};

}  // namespace varnex
