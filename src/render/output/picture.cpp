#include "render/output/picture.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>

#include "util/json.h"

namespace varnex {

void Picture::push(const Op& op) {
    m_column.active = false;
    m_ops.push_back(op);
}

void Picture::pen(int lineType, std::int32_t width, int colour) { push({Kind::Pen, lineType, width, colour}); }

void Picture::brush(int colour) { push({Kind::Brush, colour}); }

void Picture::font(std::int32_t height, int angleDegrees, std::string_view face) {
    push({Kind::Font, height, angleDegrees, addString(face)});
}

void Picture::move(LogicalPoint p) {
    if (m_positionKnown && p == m_position) return;
    if (!m_ops.empty() && m_ops.back().kind == Kind::Move) {
        m_ops.back().a = p.x;
        m_ops.back().b = p.y;
    } else {
        m_ops.push_back({Kind::Move, p.x, p.y});
    }
    m_column = {true, p.x, m_ops.size() - 1};
    m_position = p;
    m_positionKnown = true;
}

void Picture::addLine(LogicalPoint p) {
    if (m_column.active && p.x == m_column.x) {
        Column& c = m_column;
        if (c.points < std::numeric_limits<int>::max()) ++c.points;
        if (c.points == 1 || p.y < c.lo) {
            c.lo = p.y;
            c.loAt = c.points;
        }
        if (c.points == 1 || p.y > c.hi) {
            c.hi = p.y;
            c.hiAt = c.points;
        }
        c.last = p.y;
        rewriteColumn();
    } else {
        m_ops.push_back({Kind::Line, p.x, p.y});
        m_column = {true, p.x, m_ops.size() - 1};
    }
    m_position = p;
    m_positionKnown = true;
}

// The loop of line() with the state of the current column held in locals while points stay in it
// without making a new extreme; any other point goes through line().
void Picture::lines(std::span<const LogicalPoint> points) {
    std::size_t k = 0;
    while (k < points.size()) {
        if (m_column.active && m_column.points > 0 && m_positionKnown) {
            const Column& c = m_column;
            const std::int32_t later = c.loAt <= c.hiAt ? c.hi : c.lo;
            bool tail = c.last != later;  // a line to the last point follows the later extreme
            LogicalPoint at = m_position;
            std::size_t j = k;
            // A point equal to the current position (the column's last point) passes through as a
            // no-op: it leaves `tail` as it is and rewrites the last line with its own value.
            for (; j < points.size(); ++j) {
                const LogicalPoint p = points[j];
                if (p.x != c.x || p.y < c.lo || p.y > c.hi) break;
                const bool has = p.y != later;
                if (has && tail) {
                    m_ops.back().b = p.y;
                } else if (has) {
                    m_ops.push_back({Kind::Line, c.x, p.y});
                } else if (tail) {
                    m_ops.pop_back();
                }
                tail = has;
                at = p;
            }
            m_column.last = at.y;
            m_position = at;
            k = j;
            if (k == points.size()) break;
        }
        line(points[k]);
        ++k;
    }
}

// The run from the column's first point to its lowest and highest point, in the order they came, and
// on to its last point: the same stretch of the line, with the same ends.
void Picture::rewriteColumn() {
    const Column& c = m_column;
    const bool lowFirst = c.loAt <= c.hiAt;
    std::array<std::int32_t, 3> ys{};
    std::size_t count = 0;
    std::int32_t at = m_ops[c.start].b;
    for (const std::int32_t y : {lowFirst ? c.lo : c.hi, lowFirst ? c.hi : c.lo, c.last}) {
        if (y == at) continue;
        ys[count++] = y;
        at = y;
    }
    m_ops.resize(c.start + 1 + count, Op{Kind::Line});
    for (std::size_t k = 0; k < count; ++k) {
        Op& op = m_ops[c.start + 1 + k];
        op.kind = Kind::Line;
        op.a = c.x;
        op.b = ys[k];
    }
}

void Picture::text(int code, LogicalPoint p, std::string_view text) {
    push({Kind::Text, code, p.x, p.y, addString(text)});
}

void Picture::ellipse(LogicalPoint p1, LogicalPoint p2) { push({Kind::Ellipse, p1.x, p1.y, p2.x, p2.y}); }

void Picture::rect(LogicalPoint p1, LogicalPoint p2) { push({Kind::Rect, p1.x, p1.y, p2.x, p2.y}); }

void Picture::polygon(const std::vector<LogicalPoint>& points) {
    const auto first = static_cast<std::int32_t>(m_points.size());
    m_points.insert(m_points.end(), points.begin(), points.end());
    push({Kind::Polygon, first, static_cast<std::int32_t>(points.size())});
}

std::int32_t Picture::addString(std::string_view text) {
    m_strings.emplace_back(text);
    return static_cast<std::int32_t>(m_strings.size() - 1);
}

std::string Picture::dump(const std::function<std::string(std::string_view)>& toUtf8) const {
    auto quoted = [&](const std::string& text) { return jsonString(toUtf8 ? toUtf8(text) : text); };
    std::string out;
    char buffer[96];
    auto numbers = [&](const char* format, auto... values) {
        std::snprintf(buffer, sizeof buffer, format, values...);
        out += buffer;
    };
    for (const Op& op : m_ops) {
        switch (op.kind) {
            case Kind::Pen: numbers("pen %d %d %d\n", op.a, op.b, op.c); break;
            case Kind::Brush: numbers("brush %d\n", op.a); break;
            case Kind::Font:
                numbers("font %d %d ", op.a, op.b);
                out += quoted(string(op.c));
                out += '\n';
                break;
            case Kind::Move: numbers("move %d %d\n", op.a, op.b); break;
            case Kind::Line: numbers("line %d %d\n", op.a, op.b); break;
            case Kind::Text:
                numbers("text %d %d %d ", op.a, op.b, op.c);
                out += quoted(string(op.d));
                out += '\n';
                break;
            case Kind::Ellipse: numbers("ellipse %d %d %d %d\n", op.a, op.b, op.c, op.d); break;
            case Kind::Rect: numbers("rect %d %d %d %d\n", op.a, op.b, op.c, op.d); break;
            case Kind::Polygon:
                numbers("polygon %d", op.b);
                for (std::int32_t i = 0; i < op.b; ++i) numbers(" %d %d", point(op.a + i).x, point(op.a + i).y);
                out += '\n';
                break;
        }
    }
    return out;
}

}  // namespace varnex
