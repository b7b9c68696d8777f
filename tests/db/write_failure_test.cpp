// A write that did not reach the disk never reports success, and a failed
// operation leaves every item where the user can still find it.
#include <gtest/gtest.h>

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

std::string unique_name(const char* stem)
{
    static std::random_device random;
    return std::string(stem) + std::to_string(random());
}

// A small file system of the test's own, for writes that meet a full disk.
// Natively it is a tmpfs mounted here (which needs root); under Wine it is
// the one the test command mounts and names in ORV_SMALL_FS. While it
// exists a fresh folder on it is the current folder.
class SmallDisk {
public:
    SmallDisk()
    {
        std::error_code error;
        fs::path base;
#ifdef _WIN32
        const char* given = std::getenv("ORV_SMALL_FS");
        if (!given || !*given) {
            unavailable = "no small file system: the test command names one in ORV_SMALL_FS";
            return;
        }
        base = given;
#else
        base = fs::temp_directory_path() / unique_name("orvalis-small-disk-");
        fs::create_directory(base, error);
        if (mount("tmpfs", base.c_str(), "tmpfs", 0, "size=2m") != 0) {
            fs::remove(base, error);
            unavailable = "cannot mount a small tmpfs here (not root?)";
            return;
        }
        m_mount = base.string();
#endif
        const fs::path folder = base / unique_name("orvalis-db-");
        if (!fs::create_directory(folder, error)) {
            unavailable = "cannot make a folder on the small file system " + base.string();
            return;
        }
        m_folder = folder.string();
        fs::current_path(folder);
    }
    ~SmallDisk()
    {
        std::error_code ignored;
        fs::current_path(m_previous, ignored);
        if (!m_folder.empty())
            fs::remove_all(m_folder, ignored);
#ifndef _WIN32
        if (!m_mount.empty()) {
            umount2(m_mount.c_str(), MNT_DETACH);
            fs::remove(m_mount, ignored);
        }
#endif
    }
    SmallDisk(const SmallDisk&) = delete;

    bool ready() const { return !m_folder.empty(); }
    // Fills the disk with a filler file until about bytes are left free.
    bool leave_free(uint64_t bytes)
    {
        std::error_code error;
        const fs::space_info space = fs::space(m_folder, error);
        if (error)
            return false;
        std::ofstream filler(kFiller, std::ios::binary | std::ios::app);
        const std::vector<char> chunk(4096, 'f');
        for (uint64_t left = space.available > bytes ? space.available - bytes : 0; left > 0;) {
            const size_t n = left < chunk.size() ? static_cast<size_t>(left) : chunk.size();
            if (!filler.write(chunk.data(), static_cast<std::streamsize>(n)))
                break;
            left -= n;
        }
        return true;
    }
    void remove_filler() { std::error_code ignored; fs::remove(kFiller, ignored); }

    std::string unavailable;  // why there is none

private:
    const std::string m_previous = fs::current_path().string();
    std::string m_mount;   // mounted here, unmounted on destruction
    std::string m_folder;  // the test's folder on the disk
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

}  // namespace

TEST(WriteFailure, AFullDiskRefusesAppendsEditsAndDeletesCleanly)
{
    SmallDisk disk;
    if (!disk.ready())
        GTEST_SKIP() << disk.unavailable;
    QuoteDatabaseV2 db;
    append_quotes(db, 5);
    std::vector<std::string> expected = quote_texts(0, 4);
    ASSERT_TRUE(disk.leave_free(3000));
    append_until_full(db, expected);
    ASSERT_TRUE(disk.leave_free(0));
    append_until_full(db, expected);
    EXPECT_EQ(expected, item_texts(db));

    const uint32_t edited = db.replace_item(1, make_quote(1, "cat", kLong + kLong + "edited"));
    QuoteEntry third = stored_entry(db, 2);
    const uint32_t deleted = db.delete_item(third);
    if (edited)
        expected[1] = kLong + kLong + "edited";
    if (!deleted) {
        EXPECT_STREQ("quote 2", third.text().c_str()) << "the entry keeps showing the item";
        EXPECT_EQ(expected, item_texts(db));
    }
    EXPECT_EQ(0u, edited * deleted) << "a full disk took two more records";
}

TEST(WriteFailure, PackSwapsInOnlyAVerifiedCopy)
{
    SmallDisk disk;
    if (!disk.ready())
        GTEST_SKIP() << disk.unavailable;
    QuoteDatabaseV2 db;
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(1u, db.append_item(make_quote(i, "cat", kLong + std::to_string(i))));
    const std::vector<std::string> all = item_texts(db);
    delete_item(db, 0);
    std::vector<std::string> live(all.begin() + 1, all.end());
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

    // A second pack on a nearly full disk must not replace that backup with
    // a damaged copy.
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
    const std::vector<uint32_t> done = {
        db.append_item(entry), db.append_record(entry, offset), db.replace_item(0, entry),
        db.delete_item(entry), db.erase_entry(0), db.create(), db.pack(),
        db.copy_to(zstring("copy.STD")), db.read_item(0, entry)};
    EXPECT_EQ(std::vector<uint32_t>(done.size(), 0u), done);
    EXPECT_EQ(0xFFFFFFFFu, db.count());
    EXPECT_EQ(std::vector<std::string>{"Volume01.STD"}, folder.listing()) << "nothing made";

    ASSERT_EQ(1u, db.set_file_name(zstring("Other.STD")));
    EXPECT_TRUE(db.bound());
    EXPECT_EQ(1u, db.append_item(entry));
}
