#include "panels/set_all_choices.h"

#include <array>
#include <string_view>

#include "document/model.h"

namespace varnex {
namespace {

constexpr std::array<const char*, 4> kItemNames{"補間方法", "線種", "ﾃﾞｰﾀ点の表示方法", "点種"};

bool cycles(int column) {
    return column == 1 || column == 3;
}

std::int8_t& choice(GraphParams& p, int column) {
    switch (column) {
        case 0:
            return p.interp;
        case 1:
            return p.linetype;
        case 2:
            return p.marker;
        default:
            return p.shape;
    }
}

}  // namespace

std::string setAllQuestion(int column) {
    const char* name = kItemNames[static_cast<std::size_t>(column)];
    if (cycles(column)) {
        return formatMessage(
            "全てのｸﾞﾗﾌを同じ%sに設定しますか？\n「いいえ」と答えると全て異なる%sに設定します。", name, name);
    }
    return formatMessage("全てのｸﾞﾗﾌの%sを同じに設定します。\nその際、非表示のｸﾞﾗﾌを除きますか？", name);
}

void giveChoiceToAll(Document& doc, int rows, int row, int column, int value, Answer answer) {
    if (answer == Answer::Cancel) return;
    const auto v = static_cast<std::int8_t>(value);
    if (cycles(column)) {
        // A line type matters only for a set drawn with a line, a shape only for one with a marker.
        const int modulus = column == 1 ? 5 : 4;
        int k = 1;
        for (DataSet& set : doc.setRange(1, rows)) {
            if (choice(set.params, column - 1) <= 0) continue;
            if (answer == Answer::Yes) {
                choice(set.params, column) = v;
            } else {
                choice(set.params, column) =
                    static_cast<std::int8_t>(((value + k - row) % modulus + modulus) % modulus);
                ++k;
            }
        }
        return;
    }
    for (DataSet& set : doc.setRange(1, rows)) {
        if (answer == Answer::No || choice(set.params, column) > 0) choice(set.params, column) = v;
    }
}

void normaliseChoices(Document& doc, int rows) {
    for (DataSet& set : doc.setRange(1, rows)) {
        if (set.params.interp > 1 && set.count < 2) set.params.interp = 1;
        if (!set.hasErrorData()) {
            if (set.params.marker == 2) set.params.marker = 0;
            if (set.params.marker == 3) set.params.marker = 1;
        }
    }
}

}  // namespace varnex
