#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "db/field_record.h"
#include "db/file_header.h"
#include "db/volume_names.h"

namespace {

const unsigned char kHeader[49] = {
    0xFE, 'k', 'O', 'X', 'r', 0xFF, '2', '1', ' ', 'Q', 'u', 'o', 't', 'e', 'D', 'a', 't',
    'a', 'b', 'a', 's', 'e', 'V', '2', '<', 'T', ',', ' ', 'B', '>', '9', ' ', 'K', 'e',
    'l', 'd', 'o', 'v', 'a', 'n', 'e', 0, 0, 0, 0, 0, 0, 0, 0x40};
const std::string kHeaderBytes(reinterpret_cast<const char*>(kHeader), 49);

// "5 1 31 71 04 Life2 Hi" scrambled by hand, (plain + key - 0x33) mod 256:
// '5' 0x35+0x52-0x33 = 0x54, ' ' 0x20+0x2B-0x33 = 0x18, ..., byte 6 ' '
// 0x20+0x02-0x33 = 0xEF, byte 11 '4' takes key[0] again: 0x34+0x52-0x33 = 0x53.
const char kRecord[] = "2 1\x01" "21 "
                       "\x54\x18\x6D\x2A\x05\x72\xEF\x7D\x0C\x5E\x23"
                       "\x53\x18\x88\x73\x38\xA6\x01\x66\x23\xA7";
const std::string kRecordBytes(kRecord, sizeof kRecord - 1);

std::istringstream input(const std::string& bytes)
{
    return std::istringstream(bytes, std::ios::in | std::ios::binary);
}

template <class T>
std::string bytes_of(const T& object)
{
    std::ostringstream out(std::ios::out | std::ios::binary);
    object.write(out);
    return out.str();
}

}  // namespace

TEST(FileHeader, VolumeHeaderBytesAndTheirCheck)
{
    FileHeader header;
    EXPECT_EQ(0, is_volume_header(header));  // nothing read yet
    fill_volume_header(header);
    EXPECT_EQ(kHeaderBytes, bytes_of(header));
    // Brand letter for letter, version exactly 2.0; the signature is free.
    const struct { const char* brand; double version; int accepted; } cases[] = {
        {"Keldovane", 2.0, 1}, {"keldovane", 2.0, 0}, {"Keldovane ", 2.0, 0},
        {"Keldovane", 2.0000001, 0}, {"Keldovane", 1.5, 0}};
    for (const auto& c : cases) {
        FileHeader written;
        written.set_brand(c.brand);
        written.set_version(c.version);
        written.set_signature("OtherClass");
        std::istringstream in = input(bytes_of(written) + "next");
        FileHeader back;
        back.read(in);
        EXPECT_EQ(c.accepted, is_volume_header(back)) << c.brand << " " << c.version;
        EXPECT_EQ(c.version, back.version());
        std::string rest;
        in >> rest;
        EXPECT_EQ("next", rest);
    }
}

TEST(FileHeader, ForeignShortOrTruncatedHeader)
{
    const std::string foreign[] = {"", std::string("\xFEkO", 3), "PK\x03\x04 zip",
                                   std::string("\xFEkOXr\xFE", 6) + kHeaderBytes.substr(6)};
    for (const std::string& data : foreign) {
        std::istringstream in = input("abc" + data);
        in.seekg(3);
        FileHeader header;
        header.read(in);
        EXPECT_EQ(0, header.found());
        EXPECT_TRUE(in.good());
        EXPECT_EQ(3, in.tellg()) << data;  // left where it was
    }
    std::vector<std::string> bad = {kHeaderBytes.substr(0, 6) + "4294967295 Quote"};
    for (size_t cut = 6; cut < 49; ++cut)
        bad.push_back(kHeaderBytes.substr(0, cut));
    for (const std::string& bytes : bad) {
        std::istringstream in = input(bytes);
        FileHeader header;
        fill_volume_header(header);  // earlier values must not pass the check
        header.read(in);
        EXPECT_EQ(1, header.found());
        EXPECT_TRUE(in.fail()) << bytes.size();
        EXPECT_EQ(0, is_volume_header(header)) << bytes.size();
    }
}

TEST(FieldRecord, ScrambledAndPlainBodiesByteForByte)
{
    FieldRecord record;
    for (const char* f : {"3", "7", "0", "Life", "Hi"})
        record.add_field(f);
    EXPECT_EQ("5 1 31 71 04 Life2 Hi", record.plain_body());
    EXPECT_EQ(kRecordBytes, bytes_of(record));
    record.set_marker("10");
    EXPECT_EQ("2 105 1 31 71 04 Life2 Hi", bytes_of(record));

    // Marker byte 1 of 0x30 ("10"), a 1-byte or an empty marker: plain body.
    for (const std::string& bytes : {kRecordBytes, bytes_of(record), std::string("1 1") +
                                     record.plain_body(), std::string("0 ") + record.plain_body()}) {
        std::istringstream in = input(bytes);
        FieldRecord back;
        back.read(in);
        EXPECT_FALSE(in.fail()) << bytes;
        ASSERT_EQ(5u, back.field_count()) << bytes;
        EXPECT_STREQ("Life", back.field(3).c_str());
        EXPECT_STREQ("", back.field(5).c_str());
    }
}

TEST(FieldRecord, TruncatedOrHostileInputFailsTheStream)
{
    std::string short_body = "3 1 31 7";  // promises 3 fields, holds 2
    scramble(short_body);
    std::vector<std::string> bad = {
        "2 1\x01" "4294967295 abc", "2 1\x01" "99999999999 a", "2 1\x01" "xyz",
        "4294967295 2 105 1 3", "2 104294967295 1 31 7", "2 102 1 34294967295 abc",
        std::string("2 1\x01" "8 ", 6) + short_body};
    for (size_t cut = 0; cut < kRecordBytes.size(); ++cut)
        bad.push_back(kRecordBytes.substr(0, cut));
    for (const std::string& bytes : bad) {
        std::istringstream in = input(bytes);
        FieldRecord record;
        record.read(in);
        EXPECT_TRUE(in.fail()) << bytes;
        EXPECT_LE(record.field_count(), 2u) << bytes;
    }
}

TEST(VolumeNames, IndexNameCutsAtTheLastDotAnywhere)
{
    const char* cases[][2] = {{"Volume01.STD", "Volume01.idx"}, {"notes", "notes.idx"},
                              {".std", ".std.idx"}, {"a.", "a.idx"}, {"", ".idx"},
                              {"C:\\dir.v2\\quotes", "C:\\dir.idx"},
                              {"Volume01.STD.bak.STD", "Volume01.STD.bak.idx"}};
    for (const auto& c : cases)
        EXPECT_STREQ(c[1], index_file_name(c[0]).c_str()) << c[0];
    EXPECT_STREQ("Volume01.STD.bak.STD", backup_file_name("Volume01.STD").c_str());
    EXPECT_STREQ("Volume01.STD.pak.STD", pack_file_name("Volume01.STD").c_str());
}
