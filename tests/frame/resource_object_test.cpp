#include "frame/resource_object.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "frame/object_list.h"
#include "tests/frame/gui_test_support.h"
#include "tests/frame/tool_test_ids.h"

using namespace std::string_literals;

namespace {

// A stored list of one icon named "TOOLICON" and one bitmap numbered 266,
// whose low byte is a line feed.
const std::string kStoredList = "2\n"
                                "1\n0 10 1TOOLICON:-8 TOOLICON"
                                "2\n9 other.dll15 2#266:other.dll+\x0A\x01"s;

// Kind, name, number and module file name.
std::string Description(const ResourceObject* object)
{
    return std::to_string(object->Kind()) + "|" + object->ResourceName().c_str() + "|" +
           std::to_string(object->ResourceNumber()) + "|" + object->ModuleFileName().c_str();
}

}  // namespace

TEST(ResourceObjectTest, LoadsFromTheProgramFileOnceAndAgainAfterFree)
{
    BitmapResource bitmap(IDB_TOOL_SMALL);
    HANDLE first = bitmap.Handle();
    BITMAP info = {};
    ASSERT_TRUE(GetObjectA(first, sizeof info, &info));
    EXPECT_EQ(std::make_pair(16L, 15L), std::make_pair(info.bmWidth, info.bmHeight));
    EXPECT_EQ(first, bitmap.Handle());
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(first));
    bitmap.Free();
    EXPECT_EQ(0u, GetObjectType(first));
    EXPECT_NE(nullptr, bitmap.Handle());

    EXPECT_NE(nullptr, IconResource("TOOLICON").Icon());
    EXPECT_NE(nullptr, IconResource(IDI_TOOL_NUMBERED).Icon());
    EXPECT_NE(nullptr, CursorResource("TOOLCURSOR").Cursor());
}

// Another module is read as data: its images load, its code never runs.
TEST(ResourceObjectTest, ReadsAnotherModuleWithoutRunningIt)
{
    SetEnvironmentVariableA("ORV_RESOURCE_MODULE_RAN", nullptr);
    BitmapResource bitmap("MODULEBITMAP", "resource_module.dll");
    BITMAP info = {};
    ASSERT_TRUE(GetObjectA(bitmap.Handle(), sizeof info, &info));
    EXPECT_EQ(std::make_pair(24L, 20L), std::make_pair(info.bmWidth, info.bmHeight));
    EXPECT_EQ(0u, GetEnvironmentVariableA("ORV_RESOURCE_MODULE_RAN", nullptr, 0));
}

TEST(ResourceObjectTest, MissingModuleOrResourceGivesNullAndNoMessage)
{
    BoxAnswerer answers;
    BitmapResource elsewhere(IDB_TOOL_SMALL, "no_such_module_here.dll");
    EXPECT_EQ(nullptr, elsewhere.Handle());
    EXPECT_EQ(nullptr, BitmapResource("NOSUCHBITMAP").Handle());
    EXPECT_EQ(nullptr, BitmapResource().Handle());
    EXPECT_TRUE(answers.Boxes().empty());
}

TEST(ObjectListTest, StreamFormIsExactAndReadsBack)
{
    ObjectList list;
    EXPECT_EQ(nullptr, list.Element(0));
    ASSERT_EQ(1, list.Append(new IconResource("TOOLICON")));
    ASSERT_EQ(1, list.Append(new BitmapResource(266, "other.dll")));
    EXPECT_EQ(list.Element(1), list.Element(3));  // counted round the list
    std::ostringstream out;
    list.Write(out);
    EXPECT_EQ(kStoredList, out.str());

    ObjectList copy;
    std::istringstream in(out.str());
    ASSERT_TRUE(copy.Read(in));
    ASSERT_EQ(2u, copy.Count());
    EXPECT_EQ("1|TOOLICON|0|", Description(copy.Element(0)));
    EXPECT_EQ("2||266|other.dll", Description(copy.Element(1)));
    EXPECT_NE(nullptr, copy.Element(0)->Handle());
}

TEST(ObjectListTest, DamagedStreamsEndTheReadingAndKeepTheEntriesBefore)
{
    BoxAnswerer answers;
    // Cut inside the second entry: the first entry stays.
    ObjectList cut;
    std::istringstream cut_in(kStoredList.substr(0, kStoredList.size() - 3));
    cut.Read(cut_in);
    EXPECT_TRUE(cut_in.fail());
    EXPECT_EQ(1u, cut.Count());
    // A marker that is neither "-" nor "+", a hostile length, a huge count
    // with nothing behind it, a kind line too long to be a kind.
    for (const char* text : {"1\n2\n0 6 2#101:*\x65\x01", "1\n1\n0 4294967295 x", "4000000000\n",
                             "1\n2222222222222222222222222222222222222222\n"}) {
        ObjectList list;
        std::istringstream in(text);
        list.Read(in);
        EXPECT_TRUE(in.fail()) << text;
        EXPECT_EQ(0u, list.Count()) << text;
    }
    EXPECT_TRUE(answers.Boxes().empty());

    // An unknown kind is shown in the notice box.
    ObjectList list;
    std::istringstream in("3\n2\n0 6 2#101:+\x65\x00"
                          "7\n0 6 7#101:+\x65\x00"
                          "1\n0 6 1#102:+\x66\x00"s);
    list.Read(in);
    EXPECT_TRUE(in.fail());
    ASSERT_EQ(1u, list.Count());
    EXPECT_EQ(101, list.Element(0)->ResourceNumber());
    ASSERT_EQ(1u, answers.Boxes().size());
    EXPECT_EQ("7: Unknown object type!", answers.Boxes()[0].text);
}
