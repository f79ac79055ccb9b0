#include "shell/commands.h"

#include <array>
#include <string_view>

#include "util/message_boxes.h"

namespace varnex {
namespace {

struct Entry {
    int first;
    int last;
    std::string_view text;
};

// Identifiers in the order they are looked up; the ranges do not overlap.
constexpr std::array<Entry, 55> kTable{{
    {1010, 1010, "open data file (text file with extension *.txt,*.dat)"},
    {1025, 1025, "reload datafile"},
    {7501, 7501, "append graph"},
    {1008, 1008, "reload data file automatically if it is updated"},
    {1113, 1113, "ｸﾞﾗﾌの設定を.pﾌｧｲﾙに保存"},
    {9000, 9000, "ﾃﾞｰﾀﾌｧｲﾙを名前を付けて保存(拡張子*.dat)"},
    {9001, 9100, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞから挿入したﾃﾞｰﾀを名前を付けて保存(拡張子*.dat)"},
    {9101, 9299, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞから挿入したﾃﾞｰﾀを子ﾌｧｲﾙ(親ﾌｧｲﾙ名.*.@)として保存"},
    {114, 114, "ﾃﾞｰﾀｼｰﾄで編集したﾃﾞｰﾀﾌｧｲﾙの保存"},
    {1115, 1115, "export graph to an image file (PNG, SVG or PDF)"},
    {1111, 1111, "ｸﾞﾗﾌの印刷"},
    {1001, 1001, "exit Varnex for Windows"},
    {111, 111, "undo edited strings"},
    {113, 113, "cut selected strings to clipboard."},
    {110, 110, "copy selected strings to clipboard"},
    {112, 112, "paste strings from clipboard."},
    {201, 201, "find strings in data sheet"},
    {1026, 1026, "edit varnexw32.ini (setting file for Varnex for Windows)"},
    {1222, 1222, "draw graph"},
    {1031, 1031, "change parameters all graph together"},
    {1062, 1062, "undo graph (changes in graph parameters)"},
    {1050, 1050, "move cursor to the box setting x range"},
    {108, 108, "set region of x-axis to range of all data"},
    {1054, 1054, "set region of x-axis to range of the graphs shown"},
    {1051, 1051, "move cursor to the box setting y range"},
    {109, 109, "set region of y-axis to range of all data"},
    {1053, 1053, "set region of y-axis to range of the graphs shown"},
    {117, 117, "set region of graph to range of all data"},
    {1055, 1055, "set region of graph to range of graphs shown"},
    {1112, 1112, "ｸﾞﾗﾌをﾒﾀﾌｧｲﾙ形式(Windows Picture)の画像としてｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ"},
    {107, 107, "選択中のｸﾞﾗﾌのﾃﾞｰﾀをﾀﾌﾞ区切りでｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ"},
    {1018, 1018, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞからｸﾞﾗﾌ・ﾃﾞｰﾀを追加貼り付け"},
    {1019, 1019, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞからｸﾞﾗﾌ・ﾃﾞｰﾀを新規に貼り付け"},
    {1028, 1028, "next tab sheet"},
    {1052, 1052, "move focus to one of homes"},
    {1071, 1071, "move focus to item above"},
    {1070, 1070, "move focus to item below"},
    {1076, 1076, "move focus to the left item"},
    {1075, 1075, "move focus to the right item"},
    {6000, 6000, "add to views current graph setting"},
    {6999, 6999, "remove current view"},
    {1009, 1009, "keep the newest point at the right edge when the data file grows"},
    {6001, 6998, "change view"},
    {1011, 1011, "ﾍﾙﾌﾟの表示"},
    {1012, 1012, "ﾊﾞｰｼﾞｮﾝとﾒﾓﾘ使用状況の表示"},
    {2000, 2099, "ﾃﾞｰﾀｼｰﾄにﾌｧｲﾙを読み込む"},
    {8000, 8099, "外部ｴﾃﾞｨﾀでﾃﾞｰﾀﾌｧｲﾙを編集"},
    {7000, 7099, "release data file appended"},
    {1500, 1500, ""},
    {1501, 1501, "set left end of x-axis here"},
    {1502, 1502, "set right end of x-axis here"},
    {1503, 1503, "set bottom end of y-axis here"},
    {1504, 1504, "set top end of y-axis here"},
    {1505, 1505, "set left end of x-axis and bottom end of y-axis here"},
    {1506, 1506, "set right end of x-axis and top end of y-axis here"},
}};

constexpr std::string_view kRangeCopyText = "ﾏｳｽｶｰｿﾙ位置の座標値をｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ";
constexpr std::string_view kToolText = "ﾕｰｻﾞ指定のﾂｰﾙを実行";

}  // namespace

std::optional<std::string> commandStatusText(int id, int lastToolId, bool pasteMarkers) {
    if (id == 115) {
        return formatMessage("ｸﾘｯﾌﾟﾎﾞｰﾄﾞから貼り付るｸﾞﾗﾌのﾃﾞﾌｫﾙﾄ設定を「%s」に変更", pasteMarkers ? "折れ線" : "ﾏｰｶ");
    }
    for (const Entry& e : kTable) {
        if (id >= e.first && id <= e.last) return std::string(e.text);
    }
    if (id >= 2500 && id <= 2502) return std::string(kRangeCopyText);
    if (lastToolId >= command::kFirstTool && id >= command::kFirstTool && id <= lastToolId) {
        return std::string(kToolText);
    }
    return std::nullopt;
}

}  // namespace varnex
