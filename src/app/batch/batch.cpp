#include "app/batch/batch.h"

#include "app/batch/document_json.h"
#include "app/config/batch_message_boxes.h"
#include "app/config/configuration.h"
#include "document/data_pool.h"
#include "document/loader.h"
#include "document/view_list.h"
#include "util/text.h"

namespace varnex {
namespace {

constexpr const char* kUsage = "usage: varnexw32 --info [--points] FILE";

bool isOption(const std::string& word) { return word.size() > 2 && word.compare(0, 2, "--") == 0; }

int usage(std::ostream& err) {
    err << kUsage << '\n';
    return 2;
}

// What a batch command works on: the configuration, the View list and the pool, set up as the
// desktop sets them up at start-up.
struct BatchSession {
    BatchSession(const std::string& programPath, std::ostream& err)
        : messages(err), config(readConfiguration(programPath, messages)), pool(messages) {
        applyConfigurationDefaults(config, views.first());
        messages.setStarted();
    }

    // Opens file as a new graph; false (with the message already printed) when it holds no data.
    bool open(const std::string& file) {
        return openNewDocument(views, file, pool, messages) > 0 && !messages.fatalSeen();
    }

    BatchMessageBoxes messages;
    Configuration config;
    ViewList views;
    DataPool pool;
};

int info(const std::vector<std::string>& args, const std::string& programPath, std::ostream& out,
         std::ostream& err) {
    bool points = false;
    std::size_t i = 1;
    if (i < args.size() && args[i] == "--points") {
        points = true;
        ++i;
    }
    if (i + 1 != args.size()) return usage(err);
    BatchSession session(programPath, err);
    if (!session.open(args[i])) return 1;
    out << documentJson(session.views, points);
    out.flush();
    return 0;
}

}  // namespace

std::string commandLineFileName(const std::vector<std::string>& args) {
    std::string joined;
    for (const auto& word : args) {
        if (!joined.empty()) joined += ' ';
        joined += word;
    }
    return unquote(joined);
}

std::optional<int> runBatch(const std::vector<std::string>& args, const std::string& programPath,
                            std::ostream& out, std::ostream& err) {
    if (args.empty() || !isOption(args[0])) return std::nullopt;
    if (args[0] == "--info") return info(args, programPath, out, err);
    return usage(err);
}

}  // namespace varnex
