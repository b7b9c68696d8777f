#include "app/version_info.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

VersionInfo Version(const char* edition, int major, int minor)
{
    VersionInfo version;
    version.Fill(edition, major, minor);
    return version;
}

std::string Text(const VersionInfo& version)
{
    return version.Text().c_str();
}

}  // namespace

TEST(VersionInfo, WritesThreeLengthPrefixedTextsAndReadsExactlyThoseBack)
{
    std::ostringstream out;
    Version("Lite Version", 3, 2).Write(out);
    EXPECT_EQ("12 Lite Version1 31 2", out.str());
    std::ostringstream negative;
    Version("", -1, 10).Write(negative);
    EXPECT_EQ("0 2 -12 10", negative.str());

    // The font record follows on the next line of the state file.
    std::istringstream in("12 Lite Version1 31 2\n4294967295\n");
    VersionInfo version;
    version.Read(in);
    ASSERT_TRUE(in.good());
    EXPECT_EQ("Lite Version (3.2)", Text(version));
    EXPECT_EQ(21, in.tellg());
    std::istringstream odd("3 a b1 x3 12z");  // a text that is no number counts as 0
    version.Read(odd);
    EXPECT_EQ("a b (0.12)", Text(version));

    // A truncated or damaged record reads as the empty name and 0.0.
    for (const char* bytes : {"", "12 Lite Ver", "12 Lite Version", "12 Lite Version1 3",
                              "12 Lite Version1 31 ", "12 Lite Version1 31", "x 1 31 2",
                              "99999999999 Lite"}) {
        VersionInfo damaged = Version("Lite Version", 3, 2);
        std::istringstream bad(bytes);
        damaged.Read(bad);
        EXPECT_TRUE(bad.fail()) << bytes;
        EXPECT_EQ(" (0.0)", Text(damaged)) << bytes;
    }
}

TEST(VersionInfo, ComparesNumbersOnly)
{
    const VersionInfo running = Version("Lite Version", 3, 2);
    EXPECT_TRUE(running.Equal(Version("Other", 3, 2)));
    const struct {
        int major, minor, newer, older;
    } cases[] = {{3, 3, 1, 0}, {4, 0, 1, 0}, {2, 9, 0, 1}, {3, 1, 0, 1}, {0, 0, 0, 1}, {3, 2, 0, 0}};
    for (const auto& c : cases) {
        const VersionInfo saved = Version("", c.major, c.minor);
        EXPECT_EQ(c.newer, saved.Newer(running)) << c.major << "." << c.minor;
        EXPECT_EQ(c.older, saved.Older(running)) << c.major << "." << c.minor;
    }
}
