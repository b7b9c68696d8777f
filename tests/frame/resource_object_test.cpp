#include "frame/resource_object.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "frame/object_list.h"
#include "tests/frame/gui_test_support.h"
#include "tests/frame/tool_test_ids.h"

namespace {

// A bitmap object that counts how often its image is loaded.
class CountingBitmap : public BitmapResource {
public:
    using BitmapResource::BitmapResource;
    HANDLE LoadFrom(HMODULE module) override
    {
        if (!LoadedHandle())
            ++loads;
        return BitmapResource::LoadFrom(module);
    }
    int loads = 0;
};

SIZE BitmapSize(HANDLE bitmap)
{
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

// A stored list of one icon named "TOOLICON" and one bitmap numbered 266,
// whose low byte is a line feed.
const char kStoredList[] =
    "2\n"
    "1\n0 10 1TOOLICON:-8 TOOLICON"
    "2\n9 other.dll15 2#266:other.dll+\x0A\x01";

template <size_t n>
std::string Stored(const char (&text)[n])
{
    return std::string(text, n - 1);  // zero bytes included
}

}  // namespace

TEST(ResourceObjectTest, LoadsFromTheProgramFileOnceAndAgainAfterFree)
{
    CountingBitmap bitmap(IDB_TOOL_SMALL);
    EXPECT_STREQ("2#101:", bitmap.Key().c_str());
    EXPECT_EQ(nullptr, bitmap.Module());
    HANDLE first = bitmap.Handle();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(first));
    EXPECT_EQ(16, BitmapSize(first).cx);
    EXPECT_EQ(15, BitmapSize(first).cy);
    EXPECT_EQ(GetModuleHandleA(nullptr), bitmap.Module());
    EXPECT_EQ(first, bitmap.Handle());
    EXPECT_EQ(1, bitmap.loads);

    bitmap.Free();
    EXPECT_EQ(nullptr, bitmap.LoadedHandle());
    EXPECT_EQ(0u, GetObjectType(first));  // deleted, not just forgotten
    EXPECT_NE(nullptr, bitmap.Handle());
    EXPECT_EQ(2, bitmap.loads);

    IconResource named_icon("TOOLICON");
    IconResource numbered_icon(IDI_TOOL_NUMBERED);
    CursorResource cursor("TOOLCURSOR");
    EXPECT_STREQ("1TOOLICON:", named_icon.Key().c_str());
    EXPECT_STREQ("1#102:", numbered_icon.Key().c_str());
    EXPECT_NE(nullptr, named_icon.Icon());
    EXPECT_NE(nullptr, numbered_icon.Icon());
    EXPECT_NE(nullptr, cursor.Cursor());
}

TEST(ResourceObjectTest, MissingModuleOrResourceGivesNullAndNoMessage)
{
    BoxAnswerer answers;
    BitmapResource elsewhere(IDB_TOOL_SMALL, "no_such_module_here.dll");
    EXPECT_EQ(nullptr, elsewhere.Handle());
    EXPECT_EQ(nullptr, elsewhere.Module());
    EXPECT_STREQ("2#101:no_such_module_here.dll", elsewhere.Key().c_str());

    BitmapResource missing("NOSUCHBITMAP");
    EXPECT_EQ(nullptr, missing.Handle());
    BitmapResource nameless;
    EXPECT_EQ(nullptr, nameless.Handle());
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
    EXPECT_EQ(Stored(kStoredList), out.str());

    ObjectList copy;
    std::istringstream in(out.str());
    ASSERT_TRUE(copy.Read(in));
    ASSERT_EQ(2u, copy.Count());
    const ResourceObject* icon = copy.Element(0);
    const ResourceObject* bitmap = copy.Element(1);
    EXPECT_EQ(ResourceObject::kIcon, icon->Kind());
    EXPECT_STREQ("TOOLICON", icon->ResourceName().c_str());
    EXPECT_EQ(0, icon->ResourceNumber());
    EXPECT_STREQ("", icon->ModuleFileName().c_str());
    EXPECT_EQ(ResourceObject::kBitmap, bitmap->Kind());
    EXPECT_STREQ("", bitmap->ResourceName().c_str());
    EXPECT_EQ(266, bitmap->ResourceNumber());
    EXPECT_STREQ("other.dll", bitmap->ModuleFileName().c_str());

    // A read object loads by its new description.
    EXPECT_NE(nullptr, copy.Element(0)->Handle());

    // An empty list is a count of 0 and nothing else.
    std::ostringstream empty;
    ObjectList().Write(empty);
    EXPECT_EQ("0\n", empty.str());
}

TEST(ObjectListTest, UnknownKindIsNoticedAndKeepsTheEntriesBefore)
{
    const char stored[] = "3\n"
                          "2\n0 6 2#101:+\x65\x00"
                          "7\n0 6 7#101:+\x65\x00"
                          "1\n0 6 1#102:+\x66\x00";
    BoxAnswerer answers;
    ObjectList list;
    std::istringstream in(Stored(stored));
    list.Read(in);
    EXPECT_TRUE(in.fail());
    ASSERT_EQ(1u, list.Count());
    EXPECT_EQ(101, list.Element(0)->ResourceNumber());
    ASSERT_EQ(1u, answers.Boxes().size());
    EXPECT_EQ("NOTICE!", answers.Boxes()[0].caption);
    EXPECT_EQ("7: Unknown object type!", answers.Boxes()[0].text);
}

TEST(ObjectListTest, DamagedStreamsEndTheReadingQuietly)
{
    BoxAnswerer answers;
    const std::string whole = Stored(kStoredList);
    // Cut anywhere inside the second entry: the first entry stays.
    for (size_t cut = whole.find("2\n9"); cut < whole.size(); ++cut) {
        ObjectList list;
        std::istringstream in(whole.substr(0, cut));
        list.Read(in);
        EXPECT_TRUE(in.fail()) << cut;
        EXPECT_EQ(1u, list.Count()) << cut;
    }
    // A marker that is neither "-" nor "+", a hostile length, a huge count
    // with nothing behind it, a kind line too long to be a kind.
    const char* damaged[] = {
        "1\n2\n0 6 2#101:*\x65\x01",
        "1\n1\n0 4294967295 x",
        "4000000000\n",
        "1\n2222222222222222222222222222222222222222\n",
    };
    for (const char* text : damaged) {
        ObjectList list;
        std::istringstream in(text);
        list.Read(in);
        EXPECT_TRUE(in.fail()) << text;
        EXPECT_EQ(0u, list.Count()) << text;
    }
    EXPECT_TRUE(answers.Boxes().empty());
}
