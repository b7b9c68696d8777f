// An import adds all its items or none, whatever call fails or wherever it
// is killed; its exit status says which, and a retry is never blocked.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/file_faults.h"
#include "db/volume_check.h"
#include "db/volume_lock.h"
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

TEST_F(ImportFault, ABusyOrDamagedVolumeIsRefusedWithItsReason)
{
    make_volume({"a", "b", "c"});
    const std::string input = folder.file("input.txt");
    write_bytes(input, "new\n%\n");
    {
        VolumeLock::SetWait(50);
        VolumeLock writer;
        ASSERT_EQ(VolumeLock::kLocked, writer.Acquire(zstring(volume.c_str()), VolumeLock::kWrite));
        for (const char* verb : {"import", "pack", "export", "check"}) {
            const ToolRun run = verb == std::string("import") ? run_tool({verb, volume, input})
                                                              : run_tool({verb, volume});
            EXPECT_NE(0, run.status) << verb;
            EXPECT_TRUE(has(run.err, "volume busy: another program is writing it")) << run.err;
        }
        VolumeLock::SetWait(5000);
    }
    // An entry pointing past the data: pack changes nothing and says what to do.
    write_bytes(index_file, file_bytes(index_file) + entry_bytes(0x7FFFFFF0));
    const std::string index = file_bytes(index_file);
    const ToolRun pack = run_tool({"pack", volume});
    EXPECT_EQ(1, pack.status);
    EXPECT_TRUE(has(pack.err, "run orvvol recover")) << pack.err;
    EXPECT_EQ(index, file_bytes(index_file));
    EXPECT_FALSE(file_exists(volume + ".bak.STD"));
}
