#include "frame/resource_object.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "frame/object_list.h"
#include "tests/frame/gui_test_support.h"
#include "tests/frame/test_ids.h"

using namespace std::string_literals;

namespace {

std::pair<long, long> SizeOf(HANDLE bitmap)
{
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

}  // namespace

TEST(ResourceObjectTest, LoadsOnceAgainAfterFreeAndAsDataFromAnotherModuleOrGivesNullQuietly)
{
    BoxAnswerer answers;
    BitmapResource bitmap(IDB_TOOL_SMALL);
    HANDLE first = bitmap.Handle();
    EXPECT_EQ(std::make_pair(16L, 15L), SizeOf(first));
    EXPECT_EQ(first, bitmap.Handle());
    bitmap.Free();
    EXPECT_EQ(0u, GetObjectType(first));
    EXPECT_EQ(std::make_pair(16L, 15L), SizeOf(bitmap.Handle()));

    EXPECT_EQ(nullptr, BitmapResource(IDB_TOOL_SMALL, "no_such_module_here.dll").Handle());
    EXPECT_TRUE(answers.Boxes().empty());

    // Another module is read as data: its images load, its code never runs.
    SetEnvironmentVariableA("ORV_RESOURCE_MODULE_RAN", nullptr);
    BitmapResource module_bitmap("MODULEBITMAP", "resource_module.dll");
    EXPECT_EQ(std::make_pair(24L, 20L), SizeOf(module_bitmap.Handle()));
    EXPECT_EQ(0u, GetEnvironmentVariableA("ORV_RESOURCE_MODULE_RAN", nullptr, 0));
}

TEST(ObjectListTest, StreamFormIsExactAndDamageEndsTheReadingKeepingTheEntriesBefore)
{
    BoxAnswerer answers;
    ObjectList list;
    ASSERT_EQ(1, list.Append(new IconResource("TOOLICON")));
    ASSERT_EQ(1, list.Append(new BitmapResource(266, "other.dll")));
    std::ostringstream out;
    list.Write(out);
    // An icon named "TOOLICON", a bitmap numbered 266 (whose low byte is a line feed).
    const std::string stored =
        "2\n1\n0 10 1TOOLICON:-8 TOOLICON2\n9 other.dll15 2#266:other.dll+\n\x01";
    EXPECT_EQ(stored, out.str());
    ObjectList copy;
    std::istringstream in(stored);
    ASSERT_TRUE(copy.Read(in));
    ASSERT_EQ(2u, copy.Count());
    EXPECT_NE(nullptr, copy.Element(0)->Handle());
    EXPECT_EQ(266, copy.Element(1)->ResourceNumber());
    EXPECT_STREQ("other.dll", copy.Element(1)->ModuleFileName().c_str());

    // Cut inside the second entry (the first stays), a marker that is neither "-" nor "+", a
    // hostile length, a huge count with nothing behind it, a kind line too long to be a kind.
    const std::string cut = stored.substr(0, stored.size() - 3);
    for (const std::string& text : {cut, "1\n2\n0 6 2#101:*\x65\x01"s, "1\n1\n0 4294967295 x"s,
                                    "4000000000\n"s, "1\n" + std::string(40, '2') + "\n"}) {
        ObjectList damaged;
        std::istringstream damaged_in(text);
        damaged.Read(damaged_in);
        EXPECT_TRUE(damaged_in.fail()) << text;
        EXPECT_EQ(text == cut ? 1u : 0u, damaged.Count()) << text;
    }
    EXPECT_TRUE(answers.Boxes().empty());
}
