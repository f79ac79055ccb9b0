// The parts of the main window that the widgets below it name: the program's title, the pages of the
// tab control and the parts of the status bar, and PageHost, through which a widget asks for the pages
// without knowing the main window.
#pragma once

class QWidget;

namespace varnex {

inline constexpr const char* kProgramTitle = "VarnexWin32 3.26c";

// Pages of the tab control; tab i shows page i.
enum Page { kAxisPage = 0, kGraphPage = 1, kDataPage = 2, kPageCount = 3 };

// Parts of the status bar.
enum StatusPart { kMessagePart = 0, kCursorPart = 1, kCaretPart = 2 };

// The tab control's pages as the main window keeps them.
class PageHost {
public:
    // Page index (kAxisPage ... kDataPage).
    virtual QWidget& page(int index) = 0;
    // The visible page: the page shown, or the remembered index while all pages are hidden.
    virtual int currentPage() const = 0;

protected:
    ~PageHost() = default;
};

}  // namespace varnex
