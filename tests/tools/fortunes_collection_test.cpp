// The real peer: every file of the Debian fortunes collection imports into
// a volume with as many items as strfile counts, and exports back byte for
// byte. Native only: strfile is a Linux program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tool_test_support.h"

namespace fs = std::filesystem;

#ifndef _WIN32
namespace {

const char kFortunes[] = "/usr/share/games/fortunes";

uint64_t big_endian(const std::string& bytes, size_t at, size_t size)
{
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// The entry count strfile writes into the .dat header: version, numstr,
// longlen, shortlen and flags as big-endian numbers, then the delimiter
// byte. Debian's strfile writes 32-bit numbers (numstr at offset 4); older
// builds wrote 64-bit ones (numstr at offset 8). -1 when neither layout fits.
int64_t strfile_count(const std::string& file, const std::string& dat)
{
    const std::string command = "strfile -s '" + file + "' '" + dat + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return -1;
    const std::string header = file_bytes(dat);
    if (header.size() >= 24 && big_endian(header, 0, 4) == 2 && header[20] == '%')
        return static_cast<int64_t>(big_endian(header, 4, 4));
    if (header.size() >= 48 && big_endian(header, 0, 8) == 2 && header[40] == '%')
        return static_cast<int64_t>(big_endian(header, 8, 8));
    return -1;
}

// The file without its empty entries: a leading "%" line, or a "%" line
// right after another.
std::string without_empty_entries(std::string text)
{
    while (text.compare(0, 2, "%\n") == 0)
        text.erase(0, 2);
    for (size_t at = text.find("\n%\n%\n"); at != std::string::npos; at = text.find("\n%\n%\n", at))
        text.erase(at + 1, 2);
    return text;
}

bool ends_with_delimiter(const std::string& text)
{
    return text == "%\n" || (text.size() >= 3 && text.compare(text.size() - 3, 3, "\n%\n") == 0);
}

std::vector<std::string> data_files()
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(kFortunes)) {
        const std::string extension = entry.path().extension().string();
        // The .u8 names are symlinks to the same files; .dat files are strfile's.
        if (entry.is_symlink() || !entry.is_regular_file() || extension == ".dat" ||
            extension == ".u8")
            continue;
        names.push_back(entry.path().filename().string());
    }
    return names;
}

}  // namespace
#endif

TEST(FortunesCollection, EveryFileImportsAsStrfileCountsAndExportsBack)
{
#ifdef _WIN32
    GTEST_SKIP() << "strfile and the fortunes collection are Linux files; run natively";
#else
    if (!fs::is_directory(kFortunes))
        GTEST_SKIP() << kFortunes << " is missing (apt-get install fortunes-min fortunes)";
    if (std::system("command -v strfile >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "strfile is missing (apt-get install fortune-mod)";
    TempFolder folder;
    const std::vector<std::string> names = data_files();
    ASSERT_FALSE(names.empty());
    // The three files of the collection with empty entries: tao and
    // paradoxum start with "%" lines, knghtbrd has two "%" lines in a row.
    const std::set<std::string> with_empty_entries = {"tao", "paradoxum", "knghtbrd"};
    for (const std::string& name : names) {
        const std::string path = std::string(kFortunes) + "/" + name;
        const std::string volume = folder.file(name + ".STD");
        const int64_t count = strfile_count(path, folder.file(name + ".dat"));
        ASSERT_GE(count, 0) << name << ": strfile failed or wrote an unknown header";
        const ToolRun import = run_tool({"import", volume, path});
        ASSERT_EQ(0, import.status) << name << ": " << import.err;
        EXPECT_EQ(std::to_string(count) + "\n", run_tool({"count", volume}).out) << name;

        const std::string input = file_bytes(path);
        const std::string expected = without_empty_entries(input);
        EXPECT_EQ(with_empty_entries.count(name) != 0, expected != input) << name;
        std::vector<std::string> args = {"export", volume};
        if (!ends_with_delimiter(input))
            args.push_back("--no-final-delimiter");
        const ToolRun exported = run_tool(args);
        EXPECT_EQ(0, exported.status) << name;
        EXPECT_TRUE(expected == exported.out) << name << ": export differs from the file";
    }
#endif
}
