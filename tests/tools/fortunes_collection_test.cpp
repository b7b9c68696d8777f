// The real peer: every file of the Debian fortunes collection imports into
// a volume with as many items as strfile counts, and exports back byte for
// byte. Native only: strfile is a Linux program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tool_test_support.h"

namespace fs = std::filesystem;

#ifndef _WIN32
namespace {

const char kFortunes[] = "/usr/share/games/fortunes";

// The entry count in strfile's .dat header: version (2), count, longlen,
// shortlen, flags as big-endian 32-bit (or, from older builds, 64-bit)
// numbers, then the delimiter. -1 when neither layout fits.
int64_t strfile_count(const std::string& file, const std::string& dat)
{
    const std::string command = "strfile -s '" + file + "' '" + dat + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return -1;
    const std::string header = file_bytes(dat);
    for (size_t width : {4, 8}) {
        uint64_t version = 0, count = 0;
        for (size_t i = 0; i < width && header.size() >= 6 * width; ++i) {
            version = version << 8 | static_cast<unsigned char>(header[i]);
            count = count << 8 | static_cast<unsigned char>(header[width + i]);
        }
        if (version == 2 && header[5 * width] == '%')
            return static_cast<int64_t>(count);
    }
    return -1;
}

// The file without its empty entries: a leading "%" line (as in tao and
// paradoxum), or a "%" line right after another (as in knghtbrd).
std::string without_empty_entries(std::string text)
{
    while (text.compare(0, 2, "%\n") == 0)
        text.erase(0, 2);
    for (size_t at = text.find("\n%\n%\n"); at != std::string::npos; at = text.find("\n%\n%\n", at))
        text.erase(at + 1, 2);
    return text;
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
    ScratchFolder folder;
    int files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(kFortunes)) {
        // The .u8 names are symlinks to the same files; .dat files are strfile's.
        const std::string name = entry.path().filename().string();
        if (entry.is_symlink() || !entry.is_regular_file() || entry.path().extension() == ".dat")
            continue;
        ++files;
        const std::string volume = folder.file(name + ".STD");
        const int64_t count = strfile_count(entry.path().string(), folder.file(name + ".dat"));
        ASSERT_GE(count, 0) << name << ": strfile failed or wrote an unknown header";
        const ToolRun import = run_tool({"import", volume, entry.path().string()});
        ASSERT_EQ(0, import.status) << name << ": " << import.err;
        EXPECT_EQ(std::to_string(count) + "\n", run_tool({"count", volume}).out) << name;

        const std::string input = file_bytes(entry.path().string());
        const std::string tail = "\n" + input.substr(input.size() < 3 ? 0 : input.size() - 3);
        std::vector<std::string> args = {"export", volume, "--no-final-delimiter"};
        if (tail.size() >= 3 && tail.compare(tail.size() - 3, 3, "\n%\n") == 0)
            args.pop_back();
        const ToolRun exported = run_tool(args);
        EXPECT_TRUE(without_empty_entries(input) == exported.out) << name << ": export differs";
    }
    EXPECT_GT(files, 0);
#endif
}
