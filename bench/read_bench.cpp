// The data-file reader on a large file: a whole read on one thread and in parallel pieces, and the
// reload of the file after one row is appended to it (on a copy beside it). Prints one JSON object:
// the best wall and processor times of each read, the pieces used, and the processor time of the
// slowest of the appended-row reloads.
//
//     varnex_read_bench FILE [REPEATS]
//
// A read that gives no sets, pieces that read differently from one thread, or a reload that does not
// take the appended row alone is exit 1.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "bench_messages.h"
#include "document/data_file_reader.h"
#include "document/data_pool.h"
#include "document/incremental_load.h"
#include "document/loader.h"
#include "document/view_list.h"
#include "util/numbers.h"

namespace {

using namespace varnex;

// Processor time of this process so far (all threads), in seconds.
double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Timing {
    double wall = 1e9;
    double processor = 1e9;
    int sets = 0;
};

Timing timeRead(const std::string& path, int pieces, int repeats, Document& doc, DataPool& pool) {
    Timing best;
    for (int r = 0; r < repeats; ++r) {
        pool.releaseAll();
        doc = Document();
        const auto start = std::chrono::steady_clock::now();
        const double cpu = processorSeconds();
        FileSource source(path);
        TitleText vtitle;
        ReadPlan plan;
        plan.pieces = pieces;
        best.sets = readDataFile(source, path, doc.setRange(1, kMaxSets), pool, &vtitle, plan, nullptr);
        best.processor = std::min(best.processor, processorSeconds() - cpu);
        best.wall = std::min(best.wall, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: varnex_read_bench FILE [REPEATS]\n";
        return 2;
    }
    const std::string path = std::filesystem::absolute(argv[1]).string();
    const int repeats = argc > 2 ? std::max(1, parseLeadingInt(argv[2])) : 3;
    bench::SilentMessageBoxes messages;
    DataPool pool(messages);

    Document parallel;
    const Timing pieces = timeRead(path, 0, repeats, parallel, pool);
    Document single;
    DataPool singlePool(messages);
    const Timing one = timeRead(path, 1, repeats, single, singlePool);
    if (one.sets == 0 || pieces.sets != one.sets) return 1;
    for (int i = 1; i <= one.sets; ++i) {
        const DataSet& a = parallel.sets[static_cast<std::size_t>(i)];
        const DataSet& b = single.sets[static_cast<std::size_t>(i)];
        if (a.count != b.count || a.storage->x != b.storage->x || a.storage->y != b.storage->y) return 1;
    }
    const std::int32_t rows = single.sets[1].count;
    single = Document();
    parallel = Document();
    pool.releaseAll();
    singlePool.releaseAll();

    // One row appended at a time to a copy, each followed by the reload of a watch notice.
    const std::string copy = path + ".growing";
    std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
    ViewList views;
    if (openNewDocument(views, copy, pool, messages) == 0) return 1;
    double slowest = 0;
    bool readOn = true;
    for (int r = 0; r < 5; ++r) {
        std::ofstream(copy, std::ios::binary | std::ios::app) << "1e9 1 2 3\n";
        const double cpu = processorSeconds();
        readOn = readOn && reloadAppended(views, LoadContext{pool, messages}) == AppendedReload::ReadOn;
        slowest = std::max(slowest, processorSeconds() - cpu);
    }
    const bool grew = views.current().sets[1].count == rows + 5;
    std::filesystem::remove(copy);
    if (!readOn || !grew) return 1;

    const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    std::cout << "{\"megabytes\": " << formatShortest(megabytes) << ", \"sets\": " << one.sets
              << ", \"rows\": " << rows << ", \"one_thread_s\": " << formatShortest(one.wall)
              << ", \"one_thread_cpu_s\": " << formatShortest(one.processor)
              << ", \"pieces_s\": " << formatShortest(pieces.wall)
              << ", \"pieces_cpu_s\": " << formatShortest(pieces.processor)
              << ", \"appended_row_cpu_s\": " << formatShortest(slowest) << "}\n";
    return 0;
}
