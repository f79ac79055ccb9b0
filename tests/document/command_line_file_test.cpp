#include "document/command_line_file.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace varnex {
namespace {

using testing::TempFolder;

TEST(FileToOpenTest, ConfiguredExtensionsAndParameterFilesOpenTheirDataFile) {
    const TempFolder folder;
    folder.write("run.txt", "1 2\n");
    folder.write("both.dat", "1 2\n");
    folder.write("both.txt", "1 2\n");
    const std::vector<std::string> extensions{"dat", "txt"};
    const std::string configured = " (ext= in varnexw32.ini: .dat, .txt)";
    const std::string notData = "not a data file: its extension is not a configured data-file extension" + configured;
    const std::string orphan =
        "a parameter file without its data file: no file of that name with a configured data-file extension lies "
        "beside it" + configured;
    struct Case {
        std::string name;
        std::optional<std::string> path;
        std::string reason;
    };
    const Case cases[] = {
        {"", std::nullopt, ""},
        {"\"\"", std::nullopt, ""},
        {"a.dat", "a.dat", ""},  // accepted by its name; whether it exists is the load's business
        {"A.DAT", "A.DAT", ""},
        {"\"my file.Txt\"", "my file.Txt", ""},
        {folder.file("run.P"), folder.file("run.txt"), ""},
        {folder.file("run.p"), folder.file("run.txt"), ""},
        {folder.file("both.P"), folder.file("both.dat"), ""},  // the first configured extension wins
        {folder.file("none.P"), std::nullopt, orphan},
        {"graph.png", std::nullopt, notData},
        {"data", std::nullopt, notData},
        {"a.dat.bak", std::nullopt, notData},
        {"dir.dat/x.csv", std::nullopt, notData},
    };
    for (const Case& c : cases) {
        const FileToOpen result = fileToOpen(c.name, extensions);
        EXPECT_EQ(result.path, c.path) << c.name;
        EXPECT_EQ(result.reason, c.reason) << c.name;
    }
    EXPECT_EQ(fileToOpen("x.dat", {}).reason,
              "not a data file: its extension is not a configured data-file extension (ext= in varnexw32.ini: none)");
}

}  // namespace
}  // namespace varnex
