// The view commands: add a view, delete the current view, make view k current.
//
// They change the View list only. What the caller does afterwards is returned: after Add the panels
// and the window title are refreshed; when another Document became current (Delete, select) the
// document is reloaded from that view's files (the loader's reload of the current files, which
// rebuilds the data arrays and keeps the view's settings) and the data sheet is refreshed. Views
// reach the parameter file only when the document is saved.
#pragma once

#include "document/view_list.h"

namespace varnex {

// Command identifiers of the View menu: Add, Delete, and kSelectViewBase + k selects view k.
inline constexpr int kAddViewCommand = 6000;
inline constexpr int kSelectViewBase = 6000;
inline constexpr int kDeleteViewCommand = 6999;
// Most views a list holds: view k must have its own command (6001..6998). Add refuses a 999th view
// (its command would be Delete), and a parameter file's later sections are not read.
inline constexpr int kMaxViews = kDeleteViewCommand - kSelectViewBase - 1;

// What the caller has to do after a view command.
enum class ViewUpdate {
    None,     // nothing changed
    Refresh,  // a view was added and is current (same settings): refresh the panels and the title
    Reload,   // another Document is current: reload it from its files, then refresh the data sheet
};

// Appends a copy of the current view and makes it current (Refresh); None at kMaxViews views.
ViewUpdate addView(ViewList& views);
// Deletes the current view (the later views move up; Reload); None when it is the only view.
ViewUpdate deleteView(ViewList& views);
// Makes view k current (Reload); None when k is already current or there is no view k.
ViewUpdate selectView(ViewList& views, int k);

// True for 6000..6999: Add, select view 1..998, Delete.
bool isViewCommand(int commandId);
// Runs the view command commandId; None for an identifier that is not a view command.
ViewUpdate runViewCommand(ViewList& views, int commandId);

}  // namespace varnex
