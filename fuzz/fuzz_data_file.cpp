// libFuzzer target: the data-file reader and the directives on arbitrary bytes, through the memory
// source. Every pass must stay within its limits whatever the input; the sanitizers report the rest.
// A read in pieces (cut where the input's second byte says) and a read that goes on from the read of
// the input's first half must give the sets of the one whole read.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "document/data_file_reader.h"
#include "document/data_pool.h"
#include "document/directives.h"
#include "document/line_reader.h"
#include "util/message_boxes.h"

namespace {

// Message boxes that show nothing: a fatal pool error just makes the reader return early.
class SilentMessageBoxes : public varnex::MessageBoxes {
public:
    void inform(std::string_view, std::string_view) override {}
    int ask(std::string_view, std::string_view) override { return 0; }
    varnex::Answer askWithCancel(std::string_view, std::string_view) override { return varnex::Answer::No; }
    void fatal(std::string_view) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    SilentMessageBoxes messages;
    varnex::DataPool pool(messages);
    auto doc = std::make_unique<varnex::Document>();

    // The first byte chooses the code page and how many slots are already in use.
    if (!text.empty()) {
        varnex::setSystemCodePage((text[0] & 1) ? varnex::CodePage::ShiftJis : varnex::CodePage::Utf8);
    }
    const int used = text.empty() ? 0 : static_cast<unsigned char>(text[0]) % 8 == 0 ? 250 : 0;

    varnex::MemorySource source(text);
    varnex::TitleText vtitle;
    const int n = varnex::readDataFile(source, "fuzz.dat", doc->setRange(used + 1, varnex::kMaxSets - used), pool,
                                       &vtitle);
    if (n < 0 || n > varnex::kMaxSets - used) __builtin_trap();
    for (const varnex::DataSet& set : doc->setRange(used + 1, n)) {
        if (!set.storage || set.count < 1 || set.xs().size() != static_cast<std::size_t>(set.count) + 1) __builtin_trap();
    }
    varnex::readDirectives(source, *doc, doc->setRange(1, varnex::kMaxSets));

    const auto sameSets = [&](const varnex::Document& other, int m) {
        if (m != n) return false;
        for (int i = used + 1; i <= used + n; ++i) {
            const varnex::DataSet& a = doc->sets[static_cast<std::size_t>(i)];
            const varnex::DataSet& b = other.sets[static_cast<std::size_t>(i)];
            if (a.count != b.count || a.errorbar != b.errorbar || a.ascending != b.ascending || a.datapos != b.datapos ||
                a.titlepos != b.titlepos || a.title() != b.title() || a.storage->x != b.storage->x ||
                a.storage->y != b.storage->y) {
                return false;
            }
        }
        return true;
    };
    if (n > 0 && text.size() > 1) {
        varnex::ReadPlan plan;
        for (std::size_t at = static_cast<unsigned char>(text[1]) % 7 + 1; at < text.size(); at = at * 2 + 3) {
            plan.splits.push_back(static_cast<std::int64_t>(at));
        }
        auto pieces = std::make_unique<varnex::Document>();
        varnex::DataPool piecesPool(messages);
        varnex::MemorySource again(text);
        varnex::TitleText title;
        const int m = varnex::readDataFile(again, "fuzz.dat", pieces->setRange(used + 1, varnex::kMaxSets - used),
                                           piecesPool, &title, plan, nullptr);
        if (!sameSets(*pieces, m) || title != vtitle) __builtin_trap();

        auto grown = std::make_unique<varnex::Document>();
        varnex::DataPool grownPool(messages);
        varnex::FileReadState state;
        varnex::MemorySource half(text.substr(0, text.size() / 2));
        const int k = varnex::readDataFile(half, "fuzz.dat", grown->setRange(used + 1, varnex::kMaxSets - used),
                                           grownPool, &title, varnex::ReadPlan{}, &state);
        if (k > 0) {
            varnex::MemorySource whole(text);
            const int g = varnex::readDataFile(whole, "fuzz.dat", grown->setRange(used + 1, varnex::kMaxSets - used),
                                               grownPool, &title, varnex::ReadPlan{}, nullptr, &state);
            if (!sameSets(*grown, g) || title != vtitle) __builtin_trap();
        }
    }

    varnex::Numbers numbers;
    varnex::parseNumbers(text, numbers);
    return 0;
}
