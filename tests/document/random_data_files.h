// Random data files of every shape the reader knows, and a comparison of what two reads gave, for the
// property tests of reading in pieces and of reading what was appended.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "document/model.h"

namespace varnex::testing {

// A data file: title lines and paragraphs, comments ("#errorbar" among them), numeric blocks of one to
// six columns (numbers of every form, text tokens, tabs, a long row now and then), error-bar blocks,
// a closing block of directives; LF or CR LF line ends, sometimes a byte-order mark, Shift-JIS or UTF-8
// characters in the text (shiftJis chooses which). It may end without a line end.
inline std::string randomDataFile(std::mt19937& random, bool shiftJis) {
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const std::string eol = pick(3) == 0 ? "\r\n" : "\n";
    const std::string word = shiftJis ? "\x83\x65\x83\x58\x83\x67" : "t\xC3\xA9st";  // テスト / tést
    std::string text;
    if (pick(5) == 0) text += "\xEF\xBB\xBF";
    const auto number = [&]() -> std::string {
        switch (pick(8)) {
            case 0: return std::to_string(pick(2000) - 1000);
            case 1: return std::to_string(pick(100000)) + "." + std::to_string(pick(1000));
            case 2: return "-" + std::to_string(pick(100)) + "e" + std::to_string(pick(40) - 20);
            case 3: return "." + std::to_string(pick(1000));
            case 4: return "+" + std::to_string(pick(50)) + ".5E+2";
            case 5: return pick(2) ? "abc" : "1.2.3";
            case 6: return "123456789012345678901234";
            default: return std::to_string(pick(10));
        }
    };
    const int blocks = 1 + pick(6);
    for (int b = 0; b < blocks; ++b) {
        // Text before the block.
        for (int t = pick(4); t > 0; --t) {
            switch (pick(6)) {
                case 0: text += eol; break;
                case 1: text += "   " + eol; break;
                case 2: text += "# comment " + word + eol; break;
                case 3: text += "  " + word + " title " + std::to_string(b) + eol; break;
                case 4: text += std::string(pick(2) ? 300 : 20, 'w') + word + eol; break;
                default: text += "Title " + word + eol; break;
            }
        }
        if (pick(3) == 0) text += "#errorbar" + eol;
        const int columns = 1 + pick(6);
        const int rows = 1 + pick(12);
        for (int r = 0; r < rows; ++r) {
            if (pick(10) == 0) text += "#" + word + eol;
            std::string line = pick(8) == 0 ? " " : "";
            const int here = pick(5) == 0 ? 1 + pick(columns + 1) : columns;
            for (int c = 0; c < here; ++c) {
                if (c > 0) line += pick(6) == 0 ? "\t" : " ";
                line += c == 0 ? std::to_string(r + pick(3)) : number();
            }
            if (pick(15) == 0) line += std::string(280, ' ') + "7";  // a long row
            if (pick(6) == 0) line += "  ";
            text += line + eol;
        }
    }
    switch (pick(4)) {
        case 0:
            text += "end" + eol + "%x=1 10 log" + eol + "%y=-5 5" + eol + "%nh=1 2 0 4" + eol + "%nk=1 1" + eol +
                    "%%%%%%" + eol;
            break;
        case 1: text += word + " closing" + eol; break;
        default: break;
    }
    if (pick(4) == 0 && !text.empty()) text.resize(text.size() - 1 - static_cast<std::size_t>(pick(3)));
    return text;
}

// Whether two groups of sets read alike: points, counts, titles, names, positions and flags; the
// arrays are compared by their values, not as references.
inline void expectSameSets(std::span<const DataSet> got, std::span<const DataSet> want, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        const DataSet& a = got[i];
        const DataSet& b = want[i];
        const std::string where = what + ", set " + std::to_string(i + 1);
        ASSERT_EQ(static_cast<bool>(a.storage), static_cast<bool>(b.storage)) << where;
        EXPECT_EQ(a.count, b.count) << where;
        EXPECT_EQ(a.datapos, b.datapos) << where;
        EXPECT_EQ(a.titlepos, b.titlepos) << where;
        EXPECT_EQ(a.params, b.params) << where;
        EXPECT_EQ(a.errorbar, b.errorbar) << where;
        EXPECT_EQ(a.ascending, b.ascending) << where;
        if (!a.storage || !b.storage) continue;
        EXPECT_EQ(a.title(), b.title()) << where;
        EXPECT_EQ(a.name(), b.name()) << where;
        EXPECT_EQ(a.xs().subspan(1).size(), static_cast<std::size_t>(a.count)) << where;
        EXPECT_TRUE(std::ranges::equal(a.xs().subspan(1), b.xs().subspan(1))) << where;
        EXPECT_TRUE(std::ranges::equal(a.ys().subspan(1), b.ys().subspan(1))) << where;
        // The extents the reader kept are those of going over the points.
        Extents walked{a.x(1), a.x(1), a.y(1), a.y(1)};
        for (int j = 2; j <= a.count; ++j) {
            walked = {std::min(walked.xmin, a.x(j)), std::max(walked.xmax, a.x(j)), std::min(walked.ymin, a.y(j)),
                      std::max(walked.ymax, a.y(j))};
        }
        EXPECT_EQ(extents(got.subspan(i, 1)), walked) << where;
        EXPECT_EQ(extents(want.subspan(i, 1)), walked) << where;
    }
}

}  // namespace varnex::testing
