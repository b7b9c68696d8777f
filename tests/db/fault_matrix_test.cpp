// Every file-changing call of a write is made to fail once, and made the
// point where the process is killed (every call from it on fails without
// touching the disk). Whatever happened, the next ordinary use finds the
// volume either as it was or as the write makes it, sound, and goes on.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/file_faults.h"
#include "db/volume_check.h"
#include "db/volume_names.h"
#include "volume_test_support.h"

namespace {

// In the order of a sorted listing.
const char* const kFiles[] = {"Volume01.STD", "Volume01.STD.bak.STD", "Volume01.STD.bak.idx",
                              "Volume01.idx"};
const int kData = 0, kIndex = 3, kBackup = 1, kBackupIndex = 2;

struct Write {
    const char* name;
    std::function<uint32_t(QuoteDatabaseV2&)> run;
    std::vector<std::string> after;
};

class FaultMatrix : public testing::Test {
protected:
    // 12 items, a backup pair from an earlier pack, item 3 edited and
    // item 5 deleted: the files every case starts from.
    void SetUp() override
    {
        QuoteDatabaseV2 db;
        append_quotes(db, 12);
        ASSERT_EQ(1u, db.pack());
        ASSERT_EQ(1u, db.replace_item(3, make_quote(3, "cat", "edited")));
        delete_item(db, 5);
        for (const char* name : kFiles)
            start.push_back(file_bytes(name));
        as_was = item_texts(db);
    }

    void restore_start() const
    {
        for (size_t i = 0; i < start.size(); ++i)
            write_bytes(kFiles[i], start[i]);
    }

    // Runs the write with call n failing (or dead from n); false once the
    // write made fewer calls than n.
    bool run_case(const Write& write, FileFaults::Mode mode, uint64_t n)
    {
        ScratchFolder case_folder;
        restore_start();
        uint32_t result = 0;
        {
            QuoteDatabaseV2 db;
            FileFaults::Arm(n, mode);
            result = write.run(db);
            const uint64_t calls = FileFaults::Calls();
            FileFaults::Disarm();
            if (calls < n) {
                EXPECT_EQ(1u, result) << write.name << ": with no fault it succeeds";
                return false;
            }
        }
        SCOPED_TRACE(std::string(write.name) + (mode == FileFaults::kFailOnce ? ", failing" : ", killed at") +
                     " call " + std::to_string(n));
        // The next run of the program.
        QuoteDatabaseV2 next;
        const std::vector<std::string> texts = item_texts(next);
        const bool done = texts == write.after;
        EXPECT_TRUE(done || texts == as_was);
        // A pack decided before its failure is finished by the next use; a
        // single write reports success exactly when it was made.
        if (mode == FileFaults::kFailOnce && std::string(write.name) != "pack")
            EXPECT_EQ(result == 1, done);
        if (result == 1)
            EXPECT_TRUE(done);
        VolumeCheck check;
        EXPECT_EQ(1, check.run(zstring(kFiles[kData]), zstring(kFiles[kIndex])));
        // The backup is replaced only by a finished pack.
        const bool packed = std::string(write.name) == "pack" && done;
        EXPECT_EQ(start[packed ? kData : kBackup], file_bytes(kFiles[kBackup]));
        EXPECT_EQ(start[packed ? kIndex : kBackupIndex], file_bytes(kFiles[kBackupIndex]));
        // Ordinary use goes on, and nothing is left behind to block it.
        EXPECT_EQ(1u, next.append_item(make_quote(99, "cat", "next")));
        EXPECT_EQ(1u, next.pack());
        EXPECT_EQ(std::vector<std::string>(kFiles, kFiles + 4), case_folder.listing());
        return true;
    }

    ScratchFolder folder;
    std::vector<std::string> start;
    std::vector<std::string> as_was;
};

std::vector<std::string> live(std::vector<std::string> texts)
{
    texts.erase(texts.begin() + 5);
    return texts;
}

}  // namespace

TEST_F(FaultMatrix, EveryCallOfEveryWriteFailedOrKilled)
{
    std::vector<std::string> appended = as_was;
    appended.push_back("new");
    std::vector<std::string> edited = as_was;
    edited[7] = "edited again";
    std::vector<std::string> deleted = as_was;
    deleted[8] = kTombstoneText;
    const Write writes[] = {
        {"pack", [](QuoteDatabaseV2& db) { return db.pack(); }, live(as_was)},
        {"append", [](QuoteDatabaseV2& db) { return db.append_item(make_quote(1, "cat", "new")); },
         appended},
        {"edit",
         [](QuoteDatabaseV2& db) { return db.replace_item(7, make_quote(7, "cat", "edited again")); },
         edited},
        {"delete",
         [](QuoteDatabaseV2& db) {
             QuoteEntry entry = stored_entry(db, 8);
             return db.delete_item(entry);
         },
         deleted},
    };
    for (const Write& write : writes) {
        for (FileFaults::Mode mode : {FileFaults::kFailOnce, FileFaults::kDeadFrom}) {
            uint64_t n = 1;
            while (run_case(write, mode, n))
                ++n;
            EXPECT_GT(n, 3u) << write.name << " made hardly any calls";
        }
    }
}
