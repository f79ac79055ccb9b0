#include "document/read_progress.h"

#include <gtest/gtest.h>

#include <string>

#include "document/data_file_reader.h"
#include "document/data_pool.h"
#include "support/recording_message_boxes.h"

namespace varnex {
namespace {

TEST(ReadProgressTest, ShareOfTheRead) {
    const struct {
        std::int64_t bytes, size;
        double share;
    } cases[] = {{0, 100, 0}, {100, 100, 0.5}, {150, 100, 0.75}, {200, 100, 0.99}, {900, 100, 0.99},
                 {50, 0, 0},  {-5, 100, 0},    {10, -1, 0}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(readShare(c.bytes, c.size), c.share) << c.bytes << " " << c.size;
}

std::string numbers(int rows) {
    std::string text = "Counted\n\nset\n";
    for (int i = 0; i < rows; ++i) text += std::to_string(i) + " " + std::to_string(i * 3) + "\n";
    return text;
}

// Counting changes nothing read, goes through every byte at least once, and a stop ends the read early.
TEST(ReadProgressTest, CountsWithoutChangingTheRead) {
    testing::RecordingMessageBoxes messages;
    DataPool pool{messages};
    const std::string text = numbers(5000);
    Document plain;
    MemorySource direct(text);
    const int n = readDataFile(direct, "f", plain.setRange(1, 255), pool, &plain.vtitle);
    ASSERT_EQ(n, 1);

    for (int pieces : {1, 3}) {
        ReadProgress progress;
        MemorySource inner(text);
        CountingSource counted(inner, progress);
        Document doc;
        FileReadState state;
        ReadPlan plan;
        plan.splits = pieces == 1 ? std::vector<std::int64_t>{} : std::vector<std::int64_t>{1000, 30000};
        ASSERT_EQ(readDataFile(counted, "f", doc.setRange(1, 255), pool, &doc.vtitle, plan, &state), 1);
        EXPECT_EQ(doc.sets[1].count, plain.sets[1].count);
        EXPECT_EQ(doc.sets[1].y(5000), plain.sets[1].y(5000));
        EXPECT_GE(progress.bytes.load(), static_cast<std::int64_t>(text.size())) << pieces;
    }

    ReadProgress stopped;
    stopped.stop = true;
    MemorySource inner(text);
    CountingSource counted(inner, stopped);
    Document doc;
    EXPECT_EQ(readDataFile(counted, "f", doc.setRange(1, 255), pool, &doc.vtitle), 0);
    EXPECT_EQ(stopped.bytes.load(), 0);
}

}  // namespace
}  // namespace varnex
