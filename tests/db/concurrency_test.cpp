// Writers that meet on one volume take turns through its lock: nothing is
// lost or broken, and a writer that waits too long is told the volume is
// busy, with nothing changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "db/volume_check.h"
#include "db/volume_lock.h"
#include "volume_test_support.h"

namespace {

const int kEach = 60;

// Each writer is a database object of its own, with its own lock handle:
// to the lock it is another program.
void append_texts(const std::string& prefix, int n)
{
    QuoteDatabaseV2 db;
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(1u, db.append_item(make_quote(i, "cat", prefix + std::to_string(i))));
}

void expect_sound()
{
    VolumeCheck check;
    EXPECT_EQ(1, check.run(zstring("Volume01.STD"), zstring("Volume01.idx")));
}

}  // namespace

TEST(Concurrency, TwoWritersAndAPackTakeTurns)
{
    ScratchFolder folder;
    {
        QuoteDatabaseV2 db;
        append_quotes(db, 20);
        delete_item(db, 0);
    }
    std::thread first(append_texts, "first ", kEach);
    std::thread second(append_texts, "second ", kEach);
    std::thread packer([] {
        QuoteDatabaseV2 db;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(1u, db.pack());
    });
    first.join();
    second.join();
    packer.join();

    QuoteDatabaseV2 db;
    std::vector<std::string> texts = item_texts(db);
    std::vector<std::string> expected = quote_texts(1, 19);
    for (int i = 0; i < kEach; ++i) {
        expected.push_back("first " + std::to_string(i));
        expected.push_back("second " + std::to_string(i));
    }
    std::sort(texts.begin(), texts.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, texts);
    expect_sound();
}

TEST(Concurrency, AHeldLockMakesTheVolumeBusyAndChangesNothing)
{
    ScratchFolder folder;
    QuoteDatabaseV2 db;
    append_quotes(db, 3);
    const std::string data = file_bytes("Volume01.STD");
    const std::string index = file_bytes("Volume01.idx");
    VolumeLock::SetWait(50);
    for (VolumeLock::Access held : {VolumeLock::kRead, VolumeLock::kWrite}) {
        QuoteEntry entry = stored_entry(db, 1);
        VolumeLock other;
        ASSERT_EQ(VolumeLock::kLocked, other.Acquire(zstring("Volume01.STD"), held));
        const uint32_t results[] = {db.append_item(make_quote(9, "cat", "busy?")),
                                    db.replace_item(0, make_quote(0, "cat", "busy?")),
                                    db.delete_item(entry), db.pack()};
        for (uint32_t result : results)
            EXPECT_EQ(0u, result);
        EXPECT_EQ(QuoteVolume::kBusy, db.failure());
        EXPECT_STREQ("volume busy: another program is writing it",
                     QuoteVolume::describe(db.failure()));
        // Readers share the lock with readers, and wait for a writer.
        QuoteEntry read;
        EXPECT_EQ(held == VolumeLock::kRead ? 1u : 0u, db.read_item(0, read));
        EXPECT_EQ(data, file_bytes("Volume01.STD"));
        EXPECT_EQ(index, file_bytes("Volume01.idx"));
    }
    VolumeLock::SetWait(5000);
    EXPECT_EQ(1u, db.append_item(make_quote(9, "cat", "free again")));
    EXPECT_EQ(4u, db.count());
}
