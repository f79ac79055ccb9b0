// Reading a data file in parallel pieces, and reading on where an earlier read stopped, give exactly
// what one read from the start to the end gives.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "document/data_file_reader.h"
#include "document/data_pool.h"
#include "random_data_files.h"
#include "support/recording_message_boxes.h"
#include "util/codepage.h"

namespace varnex {
namespace {

constexpr std::string_view kName = "/data/run.dat";

// The first seed of the property tests; VARNEX_SEED chooses another, to repeat a reported failure.
unsigned baseSeed() {
    const char* seed = std::getenv("VARNEX_SEED");
    return seed ? static_cast<unsigned>(std::strtoul(seed, nullptr, 10)) : 20261207U;
}

class CodePageScope {
public:
    explicit CodePageScope(CodePage codePage) : m_saved(systemCodePage()) { setSystemCodePage(codePage); }
    ~CodePageScope() { setSystemCodePage(m_saved); }

private:
    CodePage m_saved;
};

// One read of text into a Document of its own, with its pool and what it leaves for a later read.
struct Read {
    testing::RecordingMessageBoxes messages;
    DataPool pool{messages};
    Document doc;
    TitleText vtitle;
    FileReadState state;
    int n = 0;

    Read(std::string_view text, int slots, const ReadPlan& plan, const FileReadState* from = nullptr,
         Document* keep = nullptr) {
        if (keep) doc = *keep;
        MemorySource source(text);
        n = readDataFile(source, kName, doc.setRange(1, slots), pool, &vtitle, plan, &state, from);
    }
};

// Random line starts of text, as the splits of 1 to 7 more pieces.
std::vector<std::int64_t> randomSplits(std::mt19937& random, std::string_view text) {
    std::vector<std::int64_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') starts.push_back(static_cast<std::int64_t>(i) + 1);
    }
    std::shuffle(starts.begin(), starts.end(), random);
    starts.resize(std::min<std::size_t>(starts.size(), 1 + random() % 7));
    // Any position will do: the reader moves it on to the next line start.
    if (!starts.empty() && random() % 3 == 0) starts[0] = static_cast<std::int64_t>(random() % text.size());
    std::sort(starts.begin(), starts.end());
    return starts;
}

void expectSameRead(const Read& got, const Read& want, int slots, const std::string& what) {
    ASSERT_EQ(got.n, want.n) << what;
    EXPECT_EQ(got.vtitle, want.vtitle) << what;
    testing::expectSameSets(got.doc.setRange(1, slots), want.doc.setRange(1, slots), what);
    EXPECT_EQ(got.pool.bytesTaken(), want.pool.bytesTaken()) << what;
    EXPECT_EQ(got.pool.blockCount(), want.pool.blockCount()) << what;
}

TEST(ReaderPiecesTest, PiecesGiveTheSetsOfOneRead) {
    const unsigned seed = baseSeed();
    for (unsigned i = 0; i < 400; ++i) {
        std::mt19937 random(seed + i);
        const bool shiftJis = random() % 4 == 0;
        CodePageScope codePage(shiftJis ? CodePage::ShiftJis : CodePage::Utf8);
        const std::string text = testing::randomDataFile(random, shiftJis);
        const int slots = random() % 3 == 0 ? 1 + static_cast<int>(random() % 6) : kMaxSets;
        ReadPlan plan;
        plan.splits = randomSplits(random, text);
        const std::string what = "seed " + std::to_string(seed + i) + " (VARNEX_SEED=" + std::to_string(seed + i) + ")";
        const Read whole(text, slots, ReadPlan{1, {}});
        const Read pieces(text, slots, plan);
        expectSameRead(pieces, whole, slots, what);
        if (::testing::Test::HasFailure()) return;
    }
}

TEST(ReaderPiecesTest, ReadingOnAfterAnAppendGivesTheSetsOfOneRead) {
    const unsigned seed = baseSeed() + 100000;
    for (unsigned i = 0; i < 400; ++i) {
        std::mt19937 random(seed + i);
        const bool shiftJis = random() % 4 == 0;
        CodePageScope codePage(shiftJis ? CodePage::ShiftJis : CodePage::Utf8);
        const std::string text = testing::randomDataFile(random, shiftJis);
        // Cut anywhere: inside a number, a multibyte character, between CR and LF; then once more.
        std::size_t first = random() % (text.size() + 1);
        std::size_t second = first + random() % (text.size() - first + 1);
        const int slots = random() % 3 == 0 ? 1 + static_cast<int>(random() % 6) : kMaxSets;
        const std::string what = "seed " + std::to_string(seed + i) + " (VARNEX_SEED=" + std::to_string(seed + i - 100000) +
                                 "), cut at " + std::to_string(first) + " and " + std::to_string(second);
        Read before(std::string_view(text).substr(0, first), slots, ReadPlan{});
        if (before.n == 0) continue;  // a load that finds no data keeps nothing to go on from
        ReadPlan plan;
        if (random() % 2) plan.splits = randomSplits(random, text);
        Read middle(std::string_view(text).substr(0, second), slots, plan, &before.state, &before.doc);
        const Read wholeMiddle(std::string_view(text).substr(0, second), slots, ReadPlan{1, {}});
        expectSameRead(middle, wholeMiddle, slots, what + " (first append)");
        // Fewer free slots the second time, as when the files before this one gained sets.
        const int fewer = random() % 4 == 0 ? std::max(1, slots - 2) : slots;
        Read after(text, fewer, ReadPlan{}, &middle.state, &middle.doc);
        const Read whole(text, fewer, ReadPlan{1, {}});
        expectSameRead(after, whole, fewer, what + " (second append)");
        if (::testing::Test::HasFailure()) return;
    }
}

}  // namespace
}  // namespace varnex
