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

    // The font record follows on the next line of the state file.
    std::istringstream in("12 Lite Version1 31 2\n4294967295\n");
    VersionInfo version;
    version.Read(in);
    ASSERT_TRUE(in.good());
    EXPECT_EQ("Lite Version (3.2)", Text(version));
    EXPECT_EQ(21, in.tellg());

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
