// orvvol's commands on small volumes: import and export byte for byte,
// show, random, count, pack, and what bad input and bad command lines give.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "db/quote_database.h"
#include "tool_test_support.h"

namespace {

// Imports one file of the given bytes into a new volume and exports it again.
std::string round_trip(const TempFolder& folder, const std::string& bytes,
                       const std::vector<std::string>& export_options)
{
    const std::string volume = folder.file("round.STD");
    const std::string input = folder.file("input.txt");
    write_bytes(input, bytes);
    std::remove(volume.c_str());
    std::remove(index_of(volume).c_str());
    EXPECT_EQ(0, run_tool({"import", volume, input}).status);
    std::vector<std::string> args = {"export", volume};
    args.insert(args.end(), export_options.begin(), export_options.end());
    const ToolRun run = run_tool(args);
    EXPECT_EQ(0, run.status) << run.err;
    return run.out;
}

}  // namespace

TEST(VolumeTool, ImportThenExportGivesTheInputBack)
{
    TempFolder folder;
    // LF: blank lines inside and at the end of an entry, an entry of one
    // blank line, a CR that is text, "%" not alone on its line.
    const std::string lf = "one\n\ntwo\n\n%\n\n%\ncr\rtext\n%%\n %\n%\nlast\n%\n";
    EXPECT_EQ(lf, round_trip(folder, lf, {}));
    const std::string crlf = "one\r\ntwo\r\n%\r\n\r\n%\r\nthree\r\n%\r\n";
    EXPECT_EQ(crlf, round_trip(folder, crlf, {"--crlf"}));
    EXPECT_EQ("one\ntwo\n%\n\n%\nthree\n%\n", round_trip(folder, crlf, {}));
    // Files that end with an entry instead of a "%" line; in an LF file a
    // CR is text, so "%\r" is no delimiter line.
    EXPECT_EQ("a\n%\nb\n", round_trip(folder, "a\n%\nb\n", {"--no-final-delimiter"}));
    EXPECT_EQ("a\nb\r\n%\r\n", round_trip(folder, "a\nb\r\n%\r\n", {"--no-final-delimiter"}));
    EXPECT_EQ("a\r\n%\r\nb\r\n",
              round_trip(folder, "a\r\n%\r\nb\r\n", {"--crlf", "--no-final-delimiter"}));
    // Forms that are read but not written back as they were.
    EXPECT_EQ("a\n%\nb\n%\n", round_trip(folder, "a\n%\nb", {}));
    EXPECT_EQ("a\n%\nb\n%\n", round_trip(folder, "%\na\n%\n%\nb\n%\n", {}));
    EXPECT_EQ("a\n%\n", round_trip(folder, "a\n%", {}));
    // A CR LF file's bare LF still ends a line, and a "%" line with either
    // end separates.
    EXPECT_EQ("a\r\nb\r\n%\r\nc\r\n%\r\n", round_trip(folder, "a\r\nb\n%\nc\r\n%", {"--crlf"}));
    EXPECT_EQ("", round_trip(folder, "%\n%\n", {}));
    EXPECT_EQ("", round_trip(folder, "", {}));
}

TEST(VolumeTool, ImportAppendsEveryFileInOrderInOneRun)
{
    TempFolder folder;
    const std::string volume = folder.file("v.STD");
    write_bytes(folder.file("1.txt"), "a\nb\n%\n");
    write_bytes(folder.file("2.txt"), "%\r\nc\r\nd\r\n%\r\ne\r\n");
    ToolRun run = run_tool({"import", volume, folder.file("1.txt"), folder.file("2.txt"),
                            "--category", "Life"});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("imported 3 items from 2 files"));
    EXPECT_NE(std::string::npos, run.out.find("(items 0 to 2); 1 empty entries skipped"));
    run = run_tool({"import", volume, folder.file("1.txt")});
    EXPECT_NE(std::string::npos, run.out.find("(items 3 to 3)")) << run.out;
    QuoteDatabaseV2 db{zstring(volume.c_str())};
    EXPECT_EQ((std::vector<std::string>{"a\r\nb", "c\r\nd", "e", "a\r\nb"}), item_texts(db));
    EXPECT_STREQ("Life", stored_entry(db, 2).classification().c_str());
    EXPECT_STREQ("<NONE>", stored_entry(db, 3).classification().c_str());
    // One appender run: records follow the header back to back.
    EXPECT_EQ(entry_bytes(49), file_bytes(index_of(volume)).substr(0, 4));
}

TEST(VolumeTool, BadImportsChangeNothing)
{
    TempFolder folder;
    const std::string volume = folder.file("v.STD");
    const std::string good = folder.file("good.txt");
    write_bytes(good, "a\n%\n");
    // A missing input or one with a zero byte: not even the volume is made.
    ToolRun run = run_tool({"import", volume, good, folder.file("missing.txt")});
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("orvvol: " + folder.file("missing.txt") + ": no such file\n", run.err);
    write_bytes(folder.file("zero.txt"), std::string("a\n%\nb\0c\n", 8));
    run = run_tool({"import", volume, folder.file("zero.txt")});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("zero.txt: line 3 holds a zero byte"));
    EXPECT_EQ((std::vector<std::string>{"good.txt", "zero.txt"}), folder.listing());

    make_volume(volume, {"kept"});
    const std::string data = file_bytes(volume);
    const std::string index = file_bytes(index_of(volume));
    EXPECT_EQ(2, run_tool({"import", volume, good, "--category", "\aDELETED 49"}).status);
    EXPECT_EQ(2, run_tool({"import", volume}).status);
    EXPECT_EQ(1, run_tool({"import", volume, folder.file("zero.txt")}).status);
    EXPECT_EQ(data, file_bytes(volume));
    EXPECT_EQ(index, file_bytes(index_of(volume)));

    // Records without their index, or an index without its data file, would
    // be hidden or thrown away by a fresh volume.
    std::remove(index_of(volume).c_str());
    run = run_tool({"import", volume, good});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("holds records but has no index")) << run.err;
    EXPECT_FALSE(file_exists(index_of(volume)));
    write_bytes(index_of(volume), index);
    std::remove(volume.c_str());
    EXPECT_EQ(1, run_tool({"import", volume, good}).status);
    EXPECT_FALSE(file_exists(volume));
    EXPECT_EQ(index, file_bytes(index_of(volume)));

    // A name no volume can have.
    run = run_tool({"import", folder.file("bad|name.STD"), good});
    EXPECT_EQ("orvvol: " + folder.file("bad|name.STD") + ": not a name a volume can have\n",
              run.err);
    EXPECT_FALSE(file_exists(folder.file("bad|name.STD")));

    // A foreign file under the volume's name.
    write_bytes(volume, "PK\x03\x04 not a volume");
    run = run_tool({"import", volume, good});
    EXPECT_EQ("orvvol: " + volume + ": not a quote volume (no header)\n", run.err);
    EXPECT_EQ("PK\x03\x04 not a volume", file_bytes(volume));
}

TEST(VolumeTool, ReadingCommandsNeverCreateOrChangeFiles)
{
    TempFolder folder;
    const std::string volume = folder.file("v.STD");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"count", volume}, {"show", volume, "0"}, {"random", volume},
          {"export", volume}, {"check", volume}}) {
        const ToolRun run = run_tool(args);
        EXPECT_EQ(1, run.status) << args[0];
        EXPECT_EQ("orvvol: " + volume + ": no such file\n", run.err) << args[0];
    }
    EXPECT_TRUE(folder.listing().empty());

    make_volume(volume, {"a"});
    const std::string index = file_bytes(index_of(volume));
    std::remove(index_of(volume).c_str());
    for (const char* verb : {"count", "random", "export"}) {
        const ToolRun run = run_tool({verb, volume});
        EXPECT_EQ(1, run.status) << verb;
        EXPECT_NE(std::string::npos, run.err.find(".idx: no index file")) << verb;
    }
    EXPECT_FALSE(file_exists(index_of(volume)));

    write_bytes(index_of(volume), index);
    const std::string foreign = std::string("\xFE" "kOXr\xFF" "21 QuoteDatabaseV2<T, B>9 keldovane") +
                                std::string("\0\0\0\0\0\0\0\x40", 8);
    write_bytes(volume, foreign);
    ToolRun run = run_tool({"count", volume});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("not a quote volume (brand \"keldovane\""));
    EXPECT_EQ(foreign, file_bytes(volume));
    EXPECT_EQ(index, file_bytes(index_of(volume)));
    EXPECT_EQ((std::vector<std::string>{"v.STD", "v.idx"}), folder.listing());
}

TEST(VolumeTool, CountShowAndExportPassOverDeadEntries)
{
    TempFolder folder;
    const std::string volume = folder.file("v.STD");
    make_volume(volume, {"zero\r\nlines", "one", "two", "three"});
    {
        QuoteDatabaseV2 db{zstring(volume.c_str())};
        delete_item(db, 1);
        ASSERT_EQ(1u, db.erase_entry(2));
    }
    // Entry 4 points into the middle of a record.
    write_bytes(index_of(volume), file_bytes(index_of(volume)) + entry_bytes(50));
    EXPECT_EQ("5\n", run_tool({"count", volume}).out);
    EXPECT_EQ("zero\nlines\n", run_tool({"show", volume, "0"}).out);
    EXPECT_EQ("zero\r\nlines\r\n", run_tool({"show", volume, "0", "--crlf"}).out);
    EXPECT_EQ("three\n", run_tool({"show", volume, "3"}).out);
    EXPECT_EQ("orvvol: " + volume + ": item 1 is deleted\n", run_tool({"show", volume, "1"}).err);
    EXPECT_EQ("orvvol: " + volume + ": item 2 is erased\n", run_tool({"show", volume, "2"}).err);
    EXPECT_EQ("orvvol: " + volume + ": item 4 cannot be read (no whole record at offset 50)\n",
              run_tool({"show", volume, "4"}).err);
    ToolRun run = run_tool({"show", volume, "5"});
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("orvvol: " + volume + ": no item 5 (it has 5, numbered from 0)\n", run.err);
    for (const char* bad : {"-1", "x", "4294967296", ""})
        EXPECT_EQ(2, run_tool({"show", volume, bad}).status) << bad;

    run = run_tool({"export", volume});
    EXPECT_EQ("zero\nlines\n%\nthree\n%\n", run.out);
    EXPECT_EQ("orvvol: " + volume + ": 1 unreadable entries left out (orvvol check lists them)\n",
              run.err);
    const std::string out = folder.file("out.txt");
    run = run_tool({"export", volume, out, "--no-final-delimiter"});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("zero\nlines\n%\nthree\n", file_bytes(out));
    // Never over the volume's own files.
    const std::string data = file_bytes(volume);
    EXPECT_EQ(1, run_tool({"export", volume, volume}).status);
    EXPECT_EQ(1, run_tool({"export", volume, index_of(volume)}).status);
    EXPECT_EQ(data, file_bytes(volume));
}

TEST(VolumeTool, RandomPicksOnlyLiveItemsAndReachesEveryOne)
{
    TempFolder folder;
    const std::string volume = folder.file("v.STD");
    // Mostly dead entries, so that both the random tries and the fallback
    // list of live entries are taken.
    std::vector<std::string> texts(200, "dead");
    texts[7] = "seven";
    texts[150] = "one fifty";
    texts[199] = "last";
    make_volume(volume, texts);
    {
        QuoteDatabaseV2 db{zstring(volume.c_str())};
        for (uint32_t n = 0; n < 200; ++n) {
            if (texts[n] == "dead") {
                ASSERT_EQ(1u, db.erase_entry(n));
            }
        }
    }
    std::set<std::string> seen;
    for (int i = 0; i < 60; ++i) {
        const ToolRun run = run_tool({"random", volume});
        ASSERT_EQ(0, run.status) << run.err;
        seen.insert(run.out);
    }
    EXPECT_EQ((std::set<std::string>{"seven\n", "one fifty\n", "last\n"}), seen);

    {
        QuoteDatabaseV2 db{zstring(volume.c_str())};
        for (uint32_t n : {7u, 150u, 199u})
            ASSERT_EQ(1u, db.erase_entry(n));
    }
    const ToolRun run = run_tool({"random", volume});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("holds no live item"));
}

TEST(VolumeTool, PackKeepsLiveItemsAndNamesTheBackup)
{
    TempFolder folder;
    const std::string volume = folder.file("v.STD");
    make_volume(volume, {"a", "b", "c"});
    {
        QuoteDatabaseV2 db{zstring(volume.c_str())};
        delete_item(db, 1);
    }
    const ToolRun run = run_tool({"pack", volume});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("packed " + volume + ": 3 entries before, 2 items after; the volume as it was is " +
                  volume + ".bak.STD\n",
              run.out);
    EXPECT_EQ("a\n%\nc\n%\n", run_tool({"export", volume}).out);
    EXPECT_EQ("3\n", run_tool({"count", volume + ".bak.STD"}).out);

    // Without its index a pack would keep nothing: refused.
    std::remove(index_of(volume).c_str());
    const std::string data = file_bytes(volume);
    EXPECT_EQ(1, run_tool({"pack", volume}).status);
    EXPECT_EQ(data, file_bytes(volume));
    EXPECT_FALSE(file_exists(index_of(volume)));
}

TEST(VolumeTool, HelpAndBadCommandLines)
{
    ToolRun run = run_tool({"--help"});
    EXPECT_EQ(0, run.status);
    EXPECT_NE(std::string::npos, run.out.find("3 check\nfound problems"));
    EXPECT_EQ(run.out, run_tool({"help"}).out);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"count"}, {"count", "a", "b"},
          {"export", "v.STD", "--crlf=yes"}, {"import", "v.STD", "x", "--category"},
          {"show", "v.STD", "--no-final-delimiter", "1"}}) {
        run = run_tool(args);
        EXPECT_EQ(2, run.status) << (args.empty() ? "" : args[0]);
        EXPECT_NE(std::string::npos, run.err.find("Try 'orvvol --help'."));
    }
    EXPECT_EQ("orvvol: unknown command \"frobnicate\"\nTry 'orvvol --help'.\n",
              run_tool({"frobnicate", "v.STD"}).err);
}
