// libFuzzer target: the data-file reader and the directives on arbitrary bytes, through the memory
// source. Every pass must stay within its limits whatever the input; the sanitizers report the rest.
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
    void informWithDetail(std::string_view, std::string_view, std::string_view) override {}
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

    varnex::Numbers numbers;
    varnex::parseNumbers(text, numbers);
    return 0;
}
