// The fixed items of the panels' lists. An item's position in its list is the value the Document
// stores; the texts themselves are stored in parameter files (the font names), so they are kept
// exactly, Japanese ones included (UTF-8 here, converted for display).
#pragma once

#include <span>
#include <string_view>

namespace varnex {

enum class ListKind {
    AxisSize,       // "100%", " 90%" … " 10%": position p stands for 100 − 10·p percent
    AxisType,       // "linear", "log"
    Font,           // the seven font faces
    Interpolation,  // " " (none), "line", "spline"
    LineType,       // "line", "...", "---", "-.-", "-..-"
    Marker,         // " " (none), "marker", "erbar", "maker+erbar"
    Shape,          // "circle", "square", "triangle", "diamond"
};

// The items of a list kind, in order, as UTF-8.
std::span<const std::string_view> listItems(ListKind kind);

}  // namespace varnex
