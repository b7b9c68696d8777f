#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "tool_test_support.h"

using VolumeTool = ToolTest;

TEST_F(VolumeTool, ImportThenExportGivesTheInputBack)
{
    const std::string input = folder.file("input.txt");
    // "=": the input comes back as it was.
    const struct { std::string in; std::vector<std::string> options; std::string out; } cases[] = {
        {"one\n\ntwo\n\n%\n\n%\ncr\rtext\n%%\n %\n%\nlast\n%\n", {}, "="},
        {"one\r\ntwo\r\n%\r\n\r\n%\r\n", {"--crlf"}, "="},
        {"one\r\ntwo\r\n%\r\n\r\n%\r\n", {}, "one\ntwo\n%\n\n%\n"},
        {"a\nb\r\n%\r\n", {"--no-final-delimiter"}, "="},
        {"a\r\n%\r\nb\r\n", {"--crlf", "--no-final-delimiter"}, "="},
        {"%\na\n%\n%\nb", {}, "a\n%\nb\n%\n"},
        {"a\r\nb\n%\nc\r\n%", {"--crlf"}, "a\r\nb\r\n%\r\nc\r\n%\r\n"},
        {"%\n%\n", {}, ""},
    };
    for (const auto& c : cases) {
        write_bytes(input, c.in);
        std::remove(volume.c_str());
        std::remove(index_file.c_str());
        EXPECT_EQ(0, run_tool({"import", volume, input}).status);
        std::vector<std::string> args = {"export", volume};
        args.insert(args.end(), c.options.begin(), c.options.end());
        EXPECT_EQ(c.out == "=" ? c.in : c.out, run_tool(args).out) << c.in;
    }
}

TEST_F(VolumeTool, ImportAppendsEveryFileInOrder)
{
    write_bytes(folder.file("1.txt"), "a\nb\n%\n");
    write_bytes(folder.file("2.txt"), "%\r\nc\r\nd\r\n%\r\ne\r\n");
    ToolRun run = run_tool({"import", volume, folder.file("1.txt"), folder.file("2.txt"),
                            "--category", "Life"});
    EXPECT_TRUE(has(run.out, "(items 0 to 2)")) << run.out << run.err;
    QuoteDatabaseV2 db{zstring(volume.c_str())};
    EXPECT_EQ((std::vector<std::string>{"a\r\nb", "c\r\nd", "e"}), item_texts(db));
    EXPECT_STREQ("Life", stored_entry(db, 2).classification().c_str());
}

TEST_F(VolumeTool, BadImportsChangeNothing)
{
    const std::string good = folder.file("good.txt");
    write_bytes(good, "a\n%\n");
    write_bytes(folder.file("zero.txt"), std::string("a\n%\nb\0c\n", 8));
    ToolRun run = run_tool({"import", volume, good, folder.file("zero.txt")});
    EXPECT_EQ(1, run.status);
    EXPECT_TRUE(has(run.err, "line 3")) << run.err;
    EXPECT_EQ((std::vector<std::string>{"good.txt", "zero.txt"}), folder.listing());

    make_volume({"kept"});
    const std::string data = file_bytes(volume);
    const std::string index = file_bytes(index_file);
    EXPECT_EQ(2, run_tool({"import", volume, good, "--category", "\aDELETED 49"}).status);
    EXPECT_EQ(2, run_tool({"import", volume}).status);
    // One file of the pair missing: refused, and the other untouched.
    for (const std::string& gone : {index_file, volume}) {
        write_bytes(volume, data);
        write_bytes(index_file, index);
        std::remove(gone.c_str());
        EXPECT_EQ(1, run_tool({"import", volume, good}).status) << gone;
        EXPECT_FALSE(file_exists(gone));
        EXPECT_EQ(gone == volume ? index : data, file_bytes(gone == volume ? index_file : volume));
    }
    EXPECT_EQ(1, run_tool({"import", folder.file("bad|name.STD"), good}).status);
    write_bytes(volume, "PK\x03\x04 not a volume");
    EXPECT_TRUE(has(run_tool({"import", volume, good}).err, "no header"));
    EXPECT_EQ("PK\x03\x04 not a volume", file_bytes(volume));
    EXPECT_EQ((std::vector<std::string>{"good.txt", "v.STD", "v.idx", "zero.txt"}),
              folder.listing());
}

TEST_F(VolumeTool, ReadingCommandsNeverCreateFiles)
{
    for (const char* verb : {"count", "random", "export", "check"})
        EXPECT_EQ(1, run_tool({verb, volume}).status) << verb;
    EXPECT_TRUE(folder.listing().empty());
    make_volume({"a"});
    std::remove(index_file.c_str());
    for (const char* verb : {"count", "random", "export"})
        EXPECT_EQ(1, run_tool({verb, volume}).status) << verb;
    EXPECT_EQ((std::vector<std::string>{"v.STD"}), folder.listing());
}

TEST_F(VolumeTool, ShowAndExportPassOverDeadEntries)
{
    make_volume({"zero\r\nlines", "one", "two", "three"});
    QuoteDatabaseV2 db{zstring(volume.c_str())};
    delete_item(db, 1);
    ASSERT_EQ(1u, db.erase_entry(2));
    write_bytes(index_file, file_bytes(index_file) + entry_bytes(50));
    EXPECT_EQ("5\n", run_tool({"count", volume}).out);
    EXPECT_EQ("zero\r\nlines\r\n", run_tool({"show", volume, "0", "--crlf"}).out);
    const char* faults[][2] = {{"1", "deleted"}, {"2", "erased"}, {"4", "offset 50"}, {"5", "no item 5"}};
    for (const auto& f : faults)
        EXPECT_TRUE(has(run_tool({"show", volume, f[0]}).err, f[1])) << f[0];
    for (const char* bad : {"-1", "x", "4294967296", ""})
        EXPECT_EQ(2, run_tool({"show", volume, bad}).status) << bad;

    const ToolRun run = run_tool({"export", volume});
    EXPECT_EQ("zero\nlines\n%\nthree\n%\n", run.out);
    EXPECT_TRUE(has(run.err, "1 unreadable")) << run.err;
    const std::string data = file_bytes(volume);
    for (const std::string& own : {volume, index_file})
        EXPECT_EQ(1, run_tool({"export", volume, own}).status) << own;
    EXPECT_EQ(data, file_bytes(volume));
}

TEST_F(VolumeTool, RandomPicksOnlyLiveItemsAndReachesEveryOne)
{
    std::vector<std::string> texts(200, "dead");
    texts[7] = "seven";
    texts[199] = "last";
    make_volume(texts);
    QuoteDatabaseV2 db{zstring(volume.c_str())};
    for (uint32_t n = 0; n < 200; ++n)
        ASSERT_TRUE(texts[n] != "dead" || db.erase_entry(n)) << n;
    std::set<std::string> seen;
    for (int i = 0; i < 40; ++i)
        seen.insert(run_tool({"random", volume}).out);
    EXPECT_EQ((std::set<std::string>{"seven\n", "last\n"}), seen);
    ASSERT_EQ(1u, db.erase_entry(7) * db.erase_entry(199));
    EXPECT_EQ(1, run_tool({"random", volume}).status);
}

TEST_F(VolumeTool, PackKeepsLiveItemsAndABackup)
{
    make_volume({"a", "b", "c"});
    QuoteDatabaseV2 db{zstring(volume.c_str())};
    delete_item(db, 1);
    EXPECT_EQ(0, run_tool({"pack", volume}).status);
    EXPECT_EQ("a\n%\nc\n%\n", run_tool({"export", volume}).out);
    EXPECT_EQ("3\n", run_tool({"count", volume + ".bak.STD"}).out);
    std::remove(index_file.c_str());
    const std::string data = file_bytes(volume);
    EXPECT_EQ(1, run_tool({"pack", volume}).status);
    EXPECT_EQ(data, file_bytes(volume));
}

TEST_F(VolumeTool, HelpAndBadCommandLines)
{
    EXPECT_EQ(0, run_tool({"--help"}).status);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"count"}, {"count", "a", "b"}, {"frobnicate", "v.STD"},
          {"export", "v.STD", "--crlf=yes"}, {"import", "v.STD", "x", "--category"}})
        EXPECT_EQ(2, run_tool(args).status) << (args.empty() ? "" : args[0]);
}
