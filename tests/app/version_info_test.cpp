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

std::string Written(const VersionInfo& version)
{
    std::ostringstream out;
    version.Write(out);
    return out.str();
}

}  // namespace

TEST(VersionInfo, WritesThreeLengthPrefixedTexts)
{
    const std::string running = Written(Version("Lite Version", 3, 2));
    EXPECT_EQ("12 Lite Version1 31 2", running);
    EXPECT_EQ(21u, running.size());
    EXPECT_EQ("0 2 -12 10", Written(Version("", -1, 10)));
}

TEST(VersionInfo, ReadsARecordAndStopsRightAfterIt)
{
    // The font record follows on the next line of the state file.
    std::istringstream in("12 Lite Version1 31 2\n4294967295\n");
    VersionInfo version;
    version.Read(in);
    ASSERT_TRUE(in.good());
    EXPECT_STREQ("Lite Version", version.Edition().c_str());
    EXPECT_EQ(3, version.Major());
    EXPECT_EQ(2, version.Minor());
    EXPECT_EQ(21, in.tellg());

    std::istringstream odd("3 a b1 x3 12z");
    version.Read(odd);
    EXPECT_STREQ("a b", version.Edition().c_str());
    EXPECT_EQ(0, version.Major());
    EXPECT_EQ(12, version.Minor());
}

TEST(VersionInfo, TruncatedOrDamagedRecordReadsAsEmptyZeroZero)
{
    const char* damaged[] = {"", "12 Lite Ver", "12 Lite Version", "12 Lite Version1 3",
                             "12 Lite Version1 31 ", "12 Lite Version1 31", "x 1 31 2",
                             "99999999999 Lite"};
    for (const char* bytes : damaged) {
        SCOPED_TRACE(bytes);
        VersionInfo version = Version("Lite Version", 3, 2);
        std::istringstream in(bytes);
        version.Read(in);
        EXPECT_TRUE(in.fail());
        EXPECT_STREQ("", version.Edition().c_str());
        EXPECT_EQ(0, version.Major());
        EXPECT_EQ(0, version.Minor());
    }
}

TEST(VersionInfo, ComparesNumbersOnlyAndShowsItsText)
{
    const VersionInfo running = Version("Lite Version", 3, 2);
    EXPECT_TRUE(running.Equal(Version("Other", 3, 2)));
    struct Case { int major, minor, newer, older; } cases[] = {
        {3, 3, 1, 0}, {4, 0, 1, 0}, {2, 9, 0, 1}, {3, 1, 0, 1}, {0, 0, 0, 1}, {3, 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor));
        const VersionInfo saved = Version("", c.major, c.minor);
        EXPECT_EQ(c.newer, saved.Newer(running));
        EXPECT_EQ(c.older, saved.Older(running));
    }
    EXPECT_STREQ("Lite Version (3.2)", running.Text().c_str());
    EXPECT_STREQ(" (0.-1)", Version("", 0, -1).Text().c_str());
}
