// A write that did not reach the disk never reports success, and a failed
// operation leaves every item where the user can still find it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/mount.h>
#endif

#include "volume_test_support.h"

namespace fs = std::filesystem;

namespace {

const std::string kLong(300, 'q');
const char kFiller[] = "filler.bin";

// A small file system for writes that meet a full disk: natively a tmpfs
// mounted here (needs root), under Wine the one named in ORV_SMALL_FS. A
// fresh folder on it is current while it exists.
class SmallDisk {
public:
    SmallDisk()
    {
        std::error_code error;
        const std::string tag = std::to_string(std::random_device()());
#ifdef _WIN32
        const char* given = std::getenv("ORV_SMALL_FS");
        const fs::path base = given ? given : "";
#else
        const fs::path base = fs::temp_directory_path() / ("orvalis-small-disk-" + tag);
        fs::create_directory(base, error);
        if (mount("tmpfs", base.c_str(), "tmpfs", 0, "size=2m") != 0) {
            fs::remove(base, error);
            return;
        }
        m_mount = base.string();
#endif
        const fs::path folder = base / ("orvalis-db-" + tag);
        if (!base.empty() && fs::create_directory(folder, error)) {
            m_folder = folder.string();
            fs::current_path(folder);
        }
    }
    ~SmallDisk()
    {
        std::error_code ignored;
        fs::current_path(m_previous, ignored);
        if (!m_folder.empty())
            fs::remove_all(m_folder, ignored);
#ifndef _WIN32
        if (!m_mount.empty() && umount2(m_mount.c_str(), MNT_DETACH) == 0)
            fs::remove(m_mount, ignored);
#endif
    }
    SmallDisk(const SmallDisk&) = delete;

    bool ready() const { return !m_folder.empty(); }
    // Grows a filler file until about bytes are left free.
    bool leave_free(uint64_t bytes)
    {
        std::error_code error;
        const uint64_t free = fs::space(m_folder, error).available;
        std::ofstream filler(kFiller, std::ios::binary | std::ios::app);
        const std::string chunk(4096, 'f');
        for (uint64_t left = free > bytes ? free - bytes : 0; left > 0 && filler;) {
            const uint64_t n = std::min<uint64_t>(left, chunk.size());
            filler.write(chunk.data(), static_cast<std::streamsize>(n));
            left -= n;
        }
        return !error;
    }
    static void remove_filler() { fs::remove(kFiller); }

private:
    const std::string m_previous = fs::current_path().string();
    std::string m_mount, m_folder;
};

// Appends until the disk refuses; a refusal must leave the count as it was.
void append_until_full(QuoteDatabaseV2& db, std::vector<std::string>& expected)
{
    for (int i = 0; i < 200; ++i) {
        const std::string text = kLong + std::to_string(i);
        const uint32_t before = db.count();
        if (!db.append_item(make_quote(i, "full", text))) {
            EXPECT_EQ(before, db.count()) << "a refused append adds no entry";
            return;
        }
        expected.push_back(text);
    }
    ADD_FAILURE() << "the disk never filled up";
}

class FullDisk : public testing::Test {
protected:
    void SetUp() override
    {
        if (!disk.ready())
            GTEST_SKIP() << "no small file system (not root, or no ORV_SMALL_FS)";
    }
    SmallDisk disk;
};

}  // namespace

TEST_F(FullDisk, RefusesAppendsEditsAndDeletesCleanly)
{
    QuoteDatabaseV2 db;
    append_quotes(db, 5);
    std::vector<std::string> expected = quote_texts(0, 4);
    for (uint64_t room : {3000, 0}) {
        ASSERT_TRUE(disk.leave_free(room));
        append_until_full(db, expected);
    }
    EXPECT_EQ(expected, item_texts(db));

    // What still fits in the last block of the data file may be written;
    // whatever reports success reads back, whatever fails changed nothing.
    const uint32_t edited = db.replace_item(1, make_quote(1, "cat", kLong + kLong + "edited"));
    QuoteEntry third = stored_entry(db, 2);
    const uint32_t deleted = db.delete_item(third);
    if (edited)
        expected[1] = kLong + kLong + "edited";
    if (deleted)
        expected[2] = kTombstoneText;
    else
        EXPECT_STREQ("quote 2", third.text().c_str()) << "the entry keeps showing the item";
    EXPECT_EQ(expected, item_texts(db));
    EXPECT_NE(QuoteVolume::kWriteFailed, db.failure()) << "a full disk is reported as one";
}

TEST_F(FullDisk, PackSwapsInOnlyAVerifiedCopy)
{
    QuoteDatabaseV2 db;
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(1u, db.append_item(make_quote(i, "cat", kLong + std::to_string(i))));
    delete_item(db, 0);
    std::vector<std::string> live = item_texts(db);
    live.erase(live.begin());
    const std::string before_data = file_bytes("Volume01.STD");
    const std::string before_index = file_bytes("Volume01.idx");

    // Room for about a third of the copy.
    ASSERT_TRUE(disk.leave_free(before_data.size() / 3));
    EXPECT_EQ(0u, db.pack());
    EXPECT_EQ(before_data, file_bytes("Volume01.STD"));
    EXPECT_EQ(before_index, file_bytes("Volume01.idx"));
    EXPECT_FALSE(file_exists("Volume01.STD.pak.STD")) << "the failed copy is removed";

    disk.remove_filler();
    ASSERT_EQ(1u, db.pack());
    EXPECT_EQ(live, item_texts(db));
    EXPECT_EQ(before_data, file_bytes("Volume01.STD.bak.STD"));

    // A second pack on a full disk must not replace that backup.
    delete_item(db, 0);
    const std::string packed_data = file_bytes("Volume01.STD");
    ASSERT_TRUE(disk.leave_free(packed_data.size() / 3));
    EXPECT_EQ(0u, db.pack());
    EXPECT_EQ(before_data, file_bytes("Volume01.STD.bak.STD"));
    EXPECT_EQ(packed_data, file_bytes("Volume01.STD"));
    live[0] = kTombstoneText;
    EXPECT_EQ(live, item_texts(db));
}

TEST(WriteFailure, ADatabaseWithoutAVolumeRefusesEveryWrite)
{
    ScratchFolder folder;
    fs::create_directory("Volume01.STD");  // neither readable nor creatable
    QuoteDatabaseV2 db;
    EXPECT_FALSE(db.bound());
    QuoteEntry entry = make_quote(1, "cat", "text");
    entry.set_position(0);
    uint32_t offset = 0;
    for (uint32_t done : {db.append_item(entry), db.append_record(entry, offset),
                          db.replace_item(0, entry), db.delete_item(entry), db.erase_entry(0),
                          db.create(), db.pack(), db.copy_to(zstring("copy.STD")),
                          db.read_item(0, entry)})
        EXPECT_EQ(0u, done);
    EXPECT_EQ(0xFFFFFFFFu, db.count());
    EXPECT_EQ(std::vector<std::string>{"Volume01.STD"}, folder.listing()) << "nothing made";
    ASSERT_EQ(1u, db.set_file_name(zstring("Other.STD")));
    EXPECT_EQ(1u, db.append_item(entry));
}
