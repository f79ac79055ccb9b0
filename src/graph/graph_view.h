// The screen picture, the clipboard picture and printing of the graph.
//
// The graph is recorded once into a picture whenever the Document or its settings change (redraw);
// the graph window replays that picture on every paint, and copy and print replay the same picture.
// show, copy and print do nothing while the Document has no data set or no picture was recorded.
#pragma once

#include <QClipboard>
#include <QPrinter>
#include <QWidget>
#include <memory>

#include "render/curves.h"
#include "render/output/picture.h"

namespace varnex {

struct Document;
class GraphWindow;
class MessageBoxes;

inline constexpr const char* kPrintDocumentName = "Varnex for Windows";

class GraphView {
public:
    // window and messages must outlive the view.
    GraphView(GraphWindow& window, MessageBoxes& messages) : m_window(window), m_messages(messages) {}

    // Clears the graph window; with data, records a new picture of doc (which replaces the previous
    // one) and shows it. Without data the window stays white and the previous picture is kept.
    void redraw(Document& doc);
    // The graph window turns white (a failed load).
    void clear();
    // Drops the picture and the splines' work space (shutdown).
    void release();

    // The picture recorded last; null before the first redraw with data.
    const Picture* picture() const { return m_picture.get(); }

    // Puts the picture on the clipboard, doc.printw cm square. False (clipboard unchanged) without
    // data or without a picture, and, with a message, when printw is not a width an output accepts
    // (render/output/qt/export.h: any from 0.001 to 500 cm).
    bool copyPicture(const Document& doc, QClipboard& clipboard) const;

    // Lets the user choose a printer and prints the picture; nothing when the dialog is cancelled.
    // A printw that no output accepts is refused with a message before the dialog.
    void print(const Document& doc, QWidget* owner) const;
    // Prints the picture on printer as one page (document name "Varnex for Windows"): doc.printw cm
    // square, doc.printox cm right of and doc.printoy cm below the top left corner of the printable
    // area. False without data or picture, when printing cannot start, and (with a message) with a
    // printw that no output accepts.
    bool printTo(const Document& doc, QPrinter& printer) const;

private:
    bool canOutput(const Document& doc) const;
    // Shows the message that refuses doc.printw when it is not a width an output accepts.
    bool widthAccepted(const Document& doc) const;

    GraphWindow& m_window;
    MessageBoxes& m_messages;
    std::shared_ptr<const Picture> m_picture;
    CurveWorkSpace m_curveWork;  // kept from one drawing to the next
};

}  // namespace varnex
