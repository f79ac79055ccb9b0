// Opens a data file as a new graph, then reloads it several times, and prints one JSON object: the
// time of the open and of the fastest reload, the sets and files loaded, the pool's bytes, and whether
// every set kept its drawing choices and its point count through every reload.
//
//     varnex_reload_bench FILE [REPEATS]
//
// Messages of the loader go to standard error; any message, a failed load or a lost choice is exit 1.
#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "document/data_pool.h"
#include "document/data_file_reader.h"
#include "document/loader.h"
#include "document/view_list.h"
#include "util/message_boxes.h"
#include "util/numbers.h"

namespace {

using namespace varnex;

class PrintingMessageBoxes : public MessageBoxes {
public:
    void inform(std::string_view caption, std::string_view text) override { print(caption, text); }
    void informWithDetail(std::string_view caption, std::string_view text, std::string_view detail) override {
        print(caption, text);
        print(caption, detail);
    }
    int ask(std::string_view caption, std::string_view text) override {
        print(caption, text);
        return 0;
    }
    Answer askWithCancel(std::string_view caption, std::string_view text) override {
        print(caption, text);
        return Answer::Cancel;
    }
    void fatal(std::string_view text) override { print(kFatalCaption, text); }
    bool seen() const { return m_seen; }

private:
    void print(std::string_view caption, std::string_view text) {
        std::cerr << caption << ": " << text << '\n';
        m_seen = true;
    }
    bool m_seen = false;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Snapshot {
    std::vector<GraphParams> params;
    std::vector<int> counts;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot snapshot(const Document& doc) {
    Snapshot s;
    for (const DataSet& set : doc.loadedSets()) {
        s.params.push_back(set.params);
        s.counts.push_back(set.count);
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: varnex_reload_bench FILE [REPEATS]\n";
        return 2;
    }
    const int repeats = argc == 3 ? std::max(1, parseLeadingInt(argv[2])) : 3;
    PrintingMessageBoxes messages;
    DataPool pool(messages);
    ViewList views;
    const LoadContext context{pool, messages};

    const auto openStart = std::chrono::steady_clock::now();
    if (loadIntoViews(views, LoadMode::New, argv[1], context) == 0) return 1;
    const double openSeconds = secondsSince(openStart);
    const Snapshot opened = snapshot(views.current());

    double best = 0;
    bool kept = true;
    for (int r = 0; r < repeats; ++r) {
        const auto start = std::chrono::steady_clock::now();
        if (reloadDocument(views, context) != ReloadResult::Reloaded) return 1;
        const double seconds = secondsSince(start);
        if (r == 0 || seconds < best) best = seconds;
        kept = kept && snapshot(views.current()) == opened;
    }
    // The reader alone on the main file: the data file's share of a load.
    double readBest = 0;
    for (int r = 0; r < repeats; ++r) {
        Document scratch;
        pool.releaseAll();
        const auto start = std::chrono::steady_clock::now();
        if (readDataFile(views.current().files.name(0), scratch.setRange(1, kMaxSets), pool, nullptr) == 0) return 1;
        const double seconds = secondsSince(start);
        if (r == 0 || seconds < readBest) readBest = seconds;
    }
    if (reloadDocument(views, context) != ReloadResult::Reloaded) return 1;

    const Document& doc = views.current();
    std::cout << "{\"open_s\":" << formatG(openSeconds) << ",\"reload_s\":" << formatG(best)
              << ",\"read_s\":" << formatG(readBest)
              << ",\"reloads\":" << repeats << ",\"sets\":" << doc.data
              << ",\"files\":" << doc.files.count() << ",\"pool_bytes\":" << pool.bytesTaken()
              << ",\"choices_kept\":" << (kept ? "true" : "false") << "}\n";
    return kept && !messages.seen() ? 0 : 1;
}
