// The drawing primitives: pens, brushes, fonts, styled lines, the clipped pen and aligned text, in page
// units, recorded into a Picture.
//
// One Drawing is the drawing context of one recording. Every coordinate given in page units is
// converted to logical units separately (toLogical, truncation). The pen is always solid; line types
// 1..4 are drawn as pieces by the program's own dash generator (cells of 0.7 page units).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "render/mapping.h"
#include "render/output/picture.h"

namespace varnex {

class MessageBoxes;

// Measures the width of a text, in logical units, as the output device would draw it with a font whose
// character cell is `height` logical units high. The desktop measures with the real font; tests use a
// simple stand-in.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual double textWidth(std::string_view text, std::int32_t height, std::string_view face) const = 0;
};

class Drawing {
public:
    // target, measurer and messages must outlive the Drawing.
    Drawing(Picture& target, const TextMeasurer& measurer, MessageBoxes& messages);

    // The frame of the clipped pen (left, right, bottom, top in page units), normally the Document's area.
    void setFrame(const std::array<double, 4>& area) { m_frame = area; }

    // Selecting a pen, brush or font equal to the current one records nothing.
    // Line type taken modulo 5 (drives the dash generator), colour index modulo 7, width in page units
    // (trunc(50 × width) logical units; a negative width gives 0). Negative indexes wrap around.
    void setPen(int lineType, double width, int colour);
    void setBrush(int colour);
    // Character cell trunc(size × 50 × 3.5) logical units high, angle in degrees.
    void setFont(double size, int angle, std::string_view face);

    void moveTo(double px, double py);
    // A styled line from the current point; see the dash generator in drawing.cpp. A solid line
    // leaves the current point and the dash distance alone: only the dash generator reads them, and
    // every polyline starts with a move. (No square root per segment of a dense curve.)
    void lineTo(double px, double py) {
        if (m_lineType == 0) {
            m_picture.line(toLogical(px, py));
        } else {
            dashTo(px, py);
        }
    }
    // Code 10 × vertical + horizontal (11, 12, 13 used): vertical 1 top, 2 bottom; horizontal 1 centred,
    // 2 right-aligned, 3 left-aligned. Rotated centred text is drawn left-aligned, lowered by half its
    // measured width.
    void drawText(std::string_view text, double x, double y, int code);

    // Filled with the brush, outlined with the pen; corners in page units.
    // Rectangles and polygons reaching far beyond the page (a marker a million page units large) are
    // cut to a box around it, wider than the page by the pen's width and at least 1 page unit on
    // every side, so that the output's rasteriser only ever sees figures of about the page's size;
    // the part of the outline that lies on the page is unchanged. A figure wholly outside the box
    // records nothing.
    void ellipse(double x1, double y1, double x2, double y2);
    void rectangle(double x1, double y1, double x2, double y2);
    void polygon(const double* xy, int points);  // xy holds x1, y1, x2, y2, ...

    // The clipped pen: a polyline through clipPoint, cut at the frame. clipReset starts a new polyline;
    // clipPoint returns the number of points fed since the reset. Every segment is drawn where it lies
    // in the frame (edges included), also one whose two ends lie outside; a crossing that cannot be
    // found for a segment with one end inside is reported as "*** error in PageCS" and drawing goes on
    // from the segment's start.
    void clipReset();
    int clipPoint(double px, double py);
    // clipPoint(xs[k], ys[k]) for each k in turn: the same drawing, for a long polyline.
    // REQUIRES: xs.size() == ys.size()
    void clipPoints(std::span<const double> xs, std::span<const double> ys);
    // The polyline goes on at (px, py) without a line from the previous point: for callers that know
    // the stretch since that point lies wholly outside the frame. A point inside the frame starts a new
    // piece there. Returns the number of points fed since the reset, as clipPoint does.
    int clipSkip(double px, double py);

    int lineType() const { return m_lineType; }

private:
    struct PagePoint {
        double x, y;
    };
    void dashTo(double px, double py);
    bool insideFrame(double px, double py) const;
    // Shows "*** error in PageCS" and gives (x0, y0) when the segment meets no frame edge.
    enum class Crossing { Entry, Exit };
    bool edgeMeetings(double x0, double y0, double x1, double y1, PagePoint& first, PagePoint& last) const;
    PagePoint frameCrossing(double x0, double y0, double x1, double y1, Crossing which);
    void drawPassingSegment(double x0, double y0, double x1, double y1);
    void advanceClip(double px, double py, bool inside);
    // The box figures are cut to: left = bottom, right = top, in page units.
    struct FigureBox {
        double lo, hi;
    };
    FigureBox figureBox() const;
    // m_figure cut to the box (Sutherland-Hodgman); points outside on one side are replaced by the
    // points where the outline crosses that side.
    void cutFigure(const FigureBox& box);

    Picture& m_picture;
    const TextMeasurer& m_measurer;
    MessageBoxes& m_messages;
    std::array<double, 4> m_frame{25, 95, 25, 95};

    int m_lineType = 0;
    std::array<std::int32_t, 3> m_pen{};  // line type, width, colour of the pen last recorded
    bool m_penRecorded = false;
    int m_brush = -1;           // colour of the brush last recorded, -1 before the first
    double m_px = 0, m_py = 0;  // current point, page units
    double m_dashDistance = 0;  // path length since the last move
    int m_fontAngle = 0;
    std::int32_t m_fontHeight = 0;
    std::string m_fontFace;
    bool m_fontRecorded = false;

    int m_clipCount = 0;
    bool m_clipInside = false;
    double m_clipPx = 0, m_clipPy = 0;

    std::vector<LogicalPoint> m_polygon;  // reused by every polygon
    std::vector<LogicalPoint> m_run;      // reused by clipPoints
    std::vector<unsigned char> m_plain;   // reused by clipPoints
    std::vector<PagePoint> m_figure, m_cut;  // reused by the polygons cut to the page box
};

}  // namespace varnex
