#include "app/batch/batch.h"



namespace varnex {
namespace {

constexpr const char* kUsage = "usage: varnexw32 --info [--points] FILE";

bool isOption(const std::string& word) { return word.size() > 2 && word.compare(0, 2, "--") == 0; }

}  // namespace

std::string commandLineFileName(const std::vector<std::string>& args) {
    std::string joined;
    for (const auto& word : args) {
        if (!joined.empty()) joined += ' ';
        joined += word;
    }
    return joined;
}

std::optional<int> runBatch(const std::vector<std::string>& args, const std::string& programPath,
                            std::ostream& out, std::ostream& err) {
    (void)programPath;
    (void)out;
    if (args.empty() || !isOption(args[0])) return std::nullopt;
    err << kUsage << '\n';
    return 2;
}

}  // namespace varnex
