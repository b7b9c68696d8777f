// An import adds all its items or none, whatever call fails or wherever it
// is killed; its exit status says which, and a retry is never blocked.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/file_faults.h"
#include "db/volume_check.h"
#include "tool_test_support.h"

namespace {

const int kItems = 40;

std::vector<std::string> volume_texts(const std::string& volume)
{
    QuoteDatabaseV2 db{zstring(volume.c_str())};
    return item_texts(db);
}

}  // namespace

using ImportFault = ToolTest;

TEST_F(ImportFault, EveryCallFailedOrKilledAddsAllOrNothing)
{
    const std::string input = folder.file("input.txt");
    std::string text;
    std::vector<std::string> imported;
    for (int i = 0; i < kItems; ++i) {
        imported.push_back("item " + std::to_string(i));
        text += imported.back() + "\n%\n";
    }
    write_bytes(input, text);
    for (bool existing : {false, true}) {
        for (FileFaults::Mode mode : {FileFaults::kFailOnce, FileFaults::kDeadFrom}) {
            for (uint64_t n = 1;; ++n) {
                SCOPED_TRACE(std::string(existing ? "into a volume" : "new volume") +
                             (mode == FileFaults::kFailOnce ? ", failing" : ", killed at") +
                             " call " + std::to_string(n));
                for (const std::string& name : folder.listing()) {
                    if (name != "input.txt")
                        std::remove(folder.file(name).c_str());
                }
                std::vector<std::string> before;
                if (existing) {
                    make_volume({"a", "b"});
                    before = {"a", "b"};
                }
                FileFaults::Arm(n, mode);
                const ToolRun run = run_tool({"import", volume, input});
                const uint64_t calls = FileFaults::Calls();
                FileFaults::Disarm();
                if (calls < n) {
                    EXPECT_EQ(0, run.status) << run.err;
                    EXPECT_GT(n, 5u) << "hardly any calls";
                    break;
                }
                std::vector<std::string> after = before;
                after.insert(after.end(), imported.begin(), imported.end());
                const std::vector<std::string> texts =
                    existing || file_exists(volume) ? volume_texts(volume) : before;
                const bool added = texts == after;
                EXPECT_TRUE(added || texts == before);
                if (mode == FileFaults::kFailOnce) {
                    EXPECT_EQ(added, run.status == 0) << run.err;
                    if (!added)
                        EXPECT_TRUE(has(run.err, "none of the items was added")) << run.err;
                }
                // The retry is never blocked, and adds exactly once more.
                const ToolRun retry = run_tool({"import", volume, input});
                EXPECT_EQ(0, retry.status) << retry.err;
                std::vector<std::string> twice = added ? after : before;
                twice.insert(twice.end(), imported.begin(), imported.end());
                EXPECT_EQ(twice, volume_texts(volume));
                VolumeCheck check;
                EXPECT_EQ(1, check.run(zstring(volume.c_str()), zstring(index_file.c_str())));
            }
        }
    }
}
