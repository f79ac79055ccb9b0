#include "panels/panel_items.h"

#include <array>

namespace varnex {
namespace {

constexpr std::array<std::string_view, 10> kAxisSizes{"100%", " 90%", " 80%", " 70%", " 60%",
                                                      " 50%", " 40%", " 30%", " 20%", " 10%"};
constexpr std::array<std::string_view, 2> kAxisTypes{"linear", "log"};
constexpr std::array<std::string_view, 7> kFonts{"Times New Roman", "Courier New", "Century",
                                                 "ＭＳ 明朝",       "ＭＳ Ｐ明朝", "ＭＳ ゴシック",
                                                 "ＭＳ Ｐゴシック"};
constexpr std::array<std::string_view, 3> kInterpolations{" ", "line", "spline"};
constexpr std::array<std::string_view, 5> kLineTypes{"line", "...", "---", "-.-", "-..-"};
constexpr std::array<std::string_view, 4> kMarkers{" ", "marker", "erbar", "maker+erbar"};
constexpr std::array<std::string_view, 4> kShapes{"circle", "square", "triangle", "diamond"};

}  // namespace

std::span<const std::string_view> listItems(ListKind kind) {
    switch (kind) {
        case ListKind::AxisSize:
            return kAxisSizes;
        case ListKind::AxisType:
            return kAxisTypes;
        case ListKind::Font:
            return kFonts;
        case ListKind::Interpolation:
            return kInterpolations;
        case ListKind::LineType:
            return kLineTypes;
        case ListKind::Marker:
            return kMarkers;
        case ListKind::Shape:
            return kShapes;
    }
    return {};
}

}  // namespace varnex
