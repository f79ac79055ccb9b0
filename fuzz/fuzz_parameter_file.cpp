// Fuzzes the parameter-file reader: the input is the text of a parameter file, read with and without a
// View list, and by the single-step functions. Aborts when a result breaks the reader's guarantees.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "document/line_reader.h"
#include "document/model.h"
#include "document/parameter_reader.h"
#include "document/view_list.h"
#include "document/views.h"
#include "util/message_boxes.h"
#include "util/paths.h"

namespace {

using namespace varnex;

class SilentMessageBoxes final : public MessageBoxes {
public:
    void inform(std::string_view, std::string_view) override {}
    void informWithDetail(std::string_view, std::string_view, std::string_view) override {}
    int ask(std::string_view, std::string_view) override { return 0; }
    Answer askWithCancel(std::string_view, std::string_view) override { return Answer::Cancel; }
    void fatal(std::string_view) override {}
};

constexpr int kLoaded = 4;

void require(bool condition) {
    if (!condition) std::abort();
}

// The loader's work copy: a main file in an existing folder and kLoaded loaded sets.
Document workCopy(const std::string& main) {
    Document doc;
    doc.files.setMain(main);
    doc.data = kLoaded;
    for (int i = 1; i <= kLoaded; ++i) doc.sets[static_cast<std::size_t>(i)].count = 1;
    return doc;
}

void checkDocument(const Document& doc, const std::string& main) {
    require(doc.data >= 0 && doc.data <= kLoaded);
    require(doc.files.count() >= 1 && doc.files.count() <= kMaxFiles && doc.files.name(0) == main);
    require(doc.files.usedBytes() <= kFileListBytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SilentMessageBoxes boxes;
    static const std::string main =
        joinPath(std::filesystem::temp_directory_path().string(), "varnex_fuzz.dat");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    {
        Document doc = workCopy(main);
        MemorySource source(bytes);
        readParameters(source, doc.head(), doc.setRange(1, kLoaded), nullptr, boxes);
        checkDocument(doc, main);
    }
    {
        Document doc = workCopy(main);
        ViewList views;
        views.addView();
        views.addView();
        MemorySource source(bytes);
        readParameters(source, doc.head(), doc.setRange(1, kLoaded), &views, boxes);
        checkDocument(doc, main);
        require(views.viewCount() >= 1 && views.viewCount() <= kMaxViews);
        require(views.indexOfCurrent() >= 1 && views.indexOfCurrent() <= views.viewCount());
        // Only the current view is drawn and holds no more sets than were loaded; the others keep the
        // number of sets they stored, on records without data past the loaded ones.
        require(views.current().data <= kLoaded);
        for (int k = 1; k <= views.viewCount(); ++k) {
            const Document& view = views.viewAt(k);
            require(view.data >= 0 && view.data <= kMaxSets);
            for (int i = kLoaded + 1; i <= view.data; ++i) require(view.sets[static_cast<std::size_t>(i)].count == 0);
        }
        require(views.current().files == doc.files);
    }
    {
        MemorySource source(bytes);
        require(readViewIndex(source) >= 1);
        Document doc = workCopy(main);
        std::vector<DataSet> sets(2);
        for (int n; (n = readViewSection(source, doc.head(), boxes)) != 0;) {
            require(n > 0 && n <= kMaxSets);
            require(readSetLines(source, sets, n) <= n);
        }
        MemorySource again(bytes);
        isReferenced(again, "*.1.@");
    }
    return 0;
}
