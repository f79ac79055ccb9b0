#include "graph/clipboard_text.h"

#include "document/model.h"
#include "util/numbers.h"

namespace varnex {
namespace {

constexpr int kDataWidth = 24;
constexpr int kDataDigits = 16;
constexpr std::size_t kDataLineLength = 51;

}  // namespace

std::string cursorValueText(const CursorValue& value, CopiedValue what) {
    switch (what) {
        case CopiedValue::Both: return formatG(value.x) + '\t' + formatG(value.y);
        case CopiedValue::X: return formatG(value.x);
        case CopiedValue::Y: return formatG(value.y);
    }
    return {};
}

std::string setDataText(const DataSet& set) {
    std::string text;
    if (!set.storage || set.count <= 0) return text;
    text.reserve(static_cast<std::size_t>(set.count) * kDataLineLength);
    for (int i = 1; i <= set.count; ++i) {
        text += formatExponent(set.x(i), kDataDigits, kDataWidth);
        text += '\t';
        text += formatExponent(set.y(i), kDataDigits, kDataWidth);
        text += "\r\n";
    }
    return text;
}

}  // namespace varnex
