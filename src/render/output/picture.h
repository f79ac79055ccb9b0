// The recorded picture: the program's own metafile.
//
// A compact list of drawing operations in logical units (the page is 5000 × 5000, y downwards),
// recorded once per drawing by the drawing primitives and replayed onto any output (screen, clipboard,
// printer, SVG, PNG, PDF). It knows nothing of any platform.
//
// Semantics of the operations, for every replay:
//   pen      LINETYPE WIDTH COLOUR  solid pen, WIDTH logical units wide, round caps and joins; the line
//                                   type is only informative (dashes are already drawn as pieces)
//   brush    COLOUR                 solid fill of ellipses, rectangles and polygons
//   font     HEIGHT ANGLE "FACE"    character cell HEIGHT logical units high, rotated ANGLE degrees
//                                   counter-clockwise
//   move X Y / line X Y             current position / straight line from it (the position moves)
//   text     CODE X Y "TEXT"        CODE = 10 × vertical + horizontal: vertical 1 top, 2 bottom of the
//                                   text at Y; horizontal 1 centred, 2 right, 3 left at X
//   ellipse / rect X1 Y1 X2 Y2      filled with the brush, outlined with the pen
//   polygon N X1 Y1 … XN YN         closed, filled and outlined
// Colours are indexes into kColourTable.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnex {

struct Rgb {
    std::uint8_t r, g, b;
};

// Bit 0 of the index gives red, bit 1 green, bit 2 blue.
inline constexpr std::array<Rgb, 8> kColourTable{{{0, 0, 0},
                                                  {255, 0, 0},
                                                  {0, 255, 0},
                                                  {255, 255, 0},
                                                  {0, 0, 255},
                                                  {255, 0, 255},
                                                  {0, 255, 255},
                                                  {255, 255, 255}}};

struct LogicalPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const LogicalPoint&, const LogicalPoint&) = default;
};

class Picture {
public:
    enum class Kind : std::uint8_t { Pen, Brush, Font, Move, Line, Text, Ellipse, Rect, Polygon };

    // One operation. Meaning of a..d by kind:
    //   Pen: a line type, b width, c colour      Brush: a colour
    //   Font: a height, b angle, c string index   Move, Line: a x, b y
    //   Text: a code, b x, c y, d string index    Ellipse, Rect: a x1, b y1, c x2, d y2
    //   Polygon: a index of the first point, b number of points
    struct Op {
        Kind kind;
        std::int32_t a = 0, b = 0, c = 0, d = 0;
    };

    void pen(int lineType, std::int32_t width, int colour);
    void brush(int colour);
    void font(std::int32_t height, int angleDegrees, std::string_view face);
    // A move to the current position, or a line that ends where it starts, is not recorded: it
    // changes nothing drawn. Consecutive moves keep only the last. Consecutive lines that stay on one
    // vertical line x = const cover exactly the stretch between the lowest and the highest of their
    // points, so such a run is kept as its first point, its lowest and highest point (in the order they
    // came) and its last point: a dense curve costs a few operations per logical column however many
    // points it has.
    void move(LogicalPoint p);
    inline void line(LogicalPoint p);
    // line for each point in turn, the same record; quicker for the long runs of a dense curve.
    void lines(std::span<const LogicalPoint> points);
    void text(int code, LogicalPoint p, std::string_view text);
    void ellipse(LogicalPoint p1, LogicalPoint p2);
    void rect(LogicalPoint p1, LogicalPoint p2);
    void polygon(const std::vector<LogicalPoint>& points);

    bool empty() const { return m_ops.empty(); }
    const std::vector<Op>& ops() const { return m_ops; }
    const std::string& string(std::int32_t index) const { return m_strings[static_cast<std::size_t>(index)]; }
    const LogicalPoint& point(std::int32_t index) const { return m_points[static_cast<std::size_t>(index)]; }

    // The text form: one operation a line, as described at the top of this file, texts as JSON
    // strings. toUtf8 converts the stored code-page bytes; without it they are taken as UTF-8.
    std::string dump(const std::function<std::string(std::string_view)>& toUtf8 = {}) const;

private:
    // The run of lines on one vertical line that the last operations form (see line()).
    struct Column {
        bool active = false;
        std::int32_t x = 0;
        std::size_t start = 0;  // index of the op of the run's first point (a move or a line)
        int points = 0;         // points after the first
        std::int32_t lo = 0, hi = 0, last = 0;  // among the points after the first
        int loAt = 0, hiAt = 0;                 // when lo and hi came (1 = the point after the first)
    };

    void push(const Op& op);
    void rewriteColumn();
    void addLine(LogicalPoint p);
    std::int32_t addString(std::string_view text);

    Column m_column;
    std::vector<Op> m_ops;
    std::vector<std::string> m_strings;
    std::vector<LogicalPoint> m_points;
    LogicalPoint m_position{};
    bool m_positionKnown = false;
};

// Inline: a dense curve sends every one of its points here, and most of them change nothing or only
// the last point of the current column.
inline void Picture::line(LogicalPoint p) {
    if (m_positionKnown && p == m_position) return;
    Column& c = m_column;
    if (c.active && p.x == c.x && c.points > 0 && c.lo <= p.y && p.y <= c.hi) {
        // No new extreme: only the run's last point moves. It is recorded after the later of the two
        // extremes unless it lies on that extreme.
        const std::int32_t later = c.loAt <= c.hiAt ? c.hi : c.lo;
        const bool had = c.last != later;
        const bool has = p.y != later;
        if (had && has) {
            m_ops.back().b = p.y;
        } else if (has) {
            m_ops.push_back({Kind::Line, c.x, p.y});
        } else if (had) {
            m_ops.pop_back();
        }
        c.last = p.y;
        m_position = p;
        return;
    }
    addLine(p);
}

}  // namespace varnex
