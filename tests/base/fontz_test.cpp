#include "base/fontz.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Every field distinct, so that a swapped pair shows.
const LOGFONTA kKnown = {-17, 9, 0, -900, 700, 1, 0, 1, 1, 3, 2, 5, 34, "Tahoma"};
const std::string kKnownForm = "-17\n9\n0\n-900\n700\n1\n0\n1\n1\n3\n2\n5\n34\nTahoma\n";

HGDIOBJ FontIn(HDC dc) { return GetCurrentObject(dc, OBJ_FONT); }

std::string Written(const Fontz& font)
{
    std::ostringstream out;
    font.write(out);
    return out.fail() ? "<failed>" : out.str();
}

class FontzTest : public testing::Test {
protected:
    ~FontzTest() override { DeleteDC(m_dc), DeleteDC(m_other); }
    HDC m_dc = CreateCompatibleDC(nullptr), m_other = CreateCompatibleDC(nullptr);
    HGDIOBJ m_original = FontIn(m_dc);
};

}  // namespace

// Live GDI objects as the system counts them; where it does not (Wine
// answers 0), the highest handle-table slot (a handle's low word) that a
// thousand fresh brushes take: freed slots are taken again first, so the
// mark climbs only when objects are left behind.
unsigned GdiObjectMark()
{
    if (DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return reported;
    std::vector<HBRUSH> brushes(1000);
    unsigned top = 0;
    for (HBRUSH& brush : brushes) {
        brush = CreateSolidBrush(RGB(1, 2, 3));
        top = std::max(top, unsigned(reinterpret_cast<uintptr_t>(brush) & 0xFFFF));
    }
    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    return top;
}

TEST_F(FontzTest, OneSelectionAtATimeAndTheContextPutBack)
{
    Fontz font(&kKnown);
    const HFONT first = font;
    EXPECT_EQ(0, font.Remove(m_dc));
    ASSERT_EQ(1, font.Assert(m_dc));
    EXPECT_EQ(0, font.Assert(m_dc) + font.Assert(m_other) + font.Remove(m_other));
    EXPECT_EQ(m_original, FontIn(m_other));
    ASSERT_EQ(1, font.Remove(m_dc));  // the handle goes, the description stays
    EXPECT_EQ(m_original, FontIn(m_dc));
    EXPECT_EQ(0u, GetObjectType(first));
    ASSERT_EQ(1, font.Assert(m_dc));  // then another font is selected behind its back
    const HFONT mine = font;
    HFONT intruder = CreateFontA(30, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    SelectObject(m_dc, intruder);
    EXPECT_EQ(0, font.Remove(m_dc));
    EXPECT_EQ(0u, GetObjectType(mine));
    EXPECT_EQ(kKnownForm, Written(font));
    EXPECT_TRUE(DeleteObject(intruder));
}

TEST_F(FontzTest, ChangesWhileSelectedReplaceTheFontInTheContext)
{
    EXPECT_EQ(kKnownForm, Written(Fontz("Tahoma", -17, 9, 0, -900, 700, 34, 1, 0, 1, 1, 3, 2, 5)));
    Fontz font(-17, 9, 0, -900, 700, 1, 0, 1, 1, 3, 2, 5, 34, "Tahoma");
    ASSERT_EQ(1, font.Assert(m_dc));
    const HFONT first = font;
    ASSERT_EQ(1, font.Height(-30));
    ASSERT_EQ(1, font.Width(4));
    EXPECT_EQ(static_cast<HFONT>(font), FontIn(m_dc));
    EXPECT_EQ(0u, GetObjectType(first));
    EXPECT_EQ("-30\n4\n0\n-900\n700\n1\n0\n1\n1\n3\n2\n5\n34\nTahoma\n", Written(font));
    ASSERT_EQ(1, font.Remove(m_dc));
    HFONT shared = CreateFontIndirectA(&kKnown);
    {
        Fontz borrowed(shared);
        borrowed.CanDelete(0);
        ASSERT_EQ(1, borrowed.Assert(m_dc));
        ASSERT_EQ(1, borrowed.Height(-40));
        EXPECT_NE(shared, static_cast<HFONT>(borrowed));
    }
    EXPECT_EQ(m_original, FontIn(m_dc));
    EXPECT_TRUE(DeleteObject(shared));  // a borrowed handle outlives the object
    Fontz unsized;  // height 0: measured, and a handle handed out stays valid
    const HFONT handle = unsized;
    EXPECT_GT(unsized.Height(), 0);
    EXPECT_EQ(handle, static_cast<HFONT>(unsized));
}

TEST_F(FontzTest, StreamFormIsFourteenLinesAndDamageChangesNothing)
{
    LOGFONTA edges = {-2147483647 - 1, 2147483647, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 255, ""};
    const std::string form = "-2147483648\n2147483647\n0\n0\n0\n0\n0\n0\n255\n0\n0\n0\n255\n!\n";
    const std::string numbers = "1\n0\n0\n0\n400\n0\n0\n0\n1\n0\n0\n0\n0\n";
    EXPECT_EQ(form, Written(Fontz(&edges)));  // then CRLF with none at the end; "!" names nothing; 31-byte cut
    std::istringstream in(form + "-17\r\n9\r\n0\r\n-900\r\n700\r\n1\r\n0\r\n1\r\n1\r\n3\r\n2\r\n5\r\n34\r\nTahoma");
    std::istringstream names(numbers + "!Arial\n" + numbers + std::string(31, 'a') + "bcd\n");
    Fontz back(&kKnown);
    for (const std::string& expected : {form, kKnownForm}) {
        EXPECT_TRUE(back.read(in));
        EXPECT_EQ(expected, Written(back));
    }
    for (const std::string& expected : {numbers + "!\n", numbers + std::string(31, 'a') + "\n"}) {
        EXPECT_TRUE(back.read(names));
        EXPECT_EQ(expected, Written(back));
    }
    for (const char* face : {"Bad\nFace", "Bad\rFace", "!Bang"}) {
        lstrcpyA(edges.lfFaceName, face);
        EXPECT_EQ("<failed>", Written(Fontz(&edges))) << face;
    }
    // Number lines read as atoi reads them, each value cut to its field's size.
    std::istringstream odd(" -17\n+9\n0 \n-900x\n700\n300\n\nz\n4294967297\n3\n2\n5\n34\nTahoma\n");
    EXPECT_TRUE(back.read(odd));
    EXPECT_EQ("-17\n9\n0\n-900\n700\n44\n0\n0\n1\n3\n2\n5\n34\nTahoma\n", Written(back));
    const std::string numbers_only = kKnownForm.substr(0, kKnownForm.find("Tahoma"));
    const std::string damaged[] = {"", "-17\n9\n", numbers_only,
                                   numbers_only + std::string(20000, 'F') + "\n"};
    Fontz font(&kKnown);
    ASSERT_EQ(1, font.Assert(m_dc));
    const HFONT handle = font;
    for (const std::string& text : damaged) {
        std::istringstream damage(text);
        EXPECT_FALSE(font.read(damage)) << text.substr(0, 60);
        EXPECT_EQ(handle, FontIn(m_dc));
        EXPECT_EQ(kKnownForm, Written(font));
    }
}

TEST_F(FontzTest, NoGdiObjectLeaks)
{
    LOGFONTA zero = kKnown;
    zero.lfHeight = zero.lfWidth = 0;
    auto churn = [&] {
        Fontz font(&kKnown);
        for (int i = 0; i < 50; ++i) {
            Fontz measured(&zero);
            measured.Assert(m_dc);
            measured.Remove(m_dc);  // description only: measured with a font of its own
            measured.Height();
            measured.CanDelete(0);  // says nothing of a handle made later
            measured.Assert(m_dc);
            measured.Remove(m_dc);
            font.Assert(m_dc);
            font.Height(-10 - i % 5);
            Fontz copy(font);
            copy.Assert(m_other);
            copy = font;
            font.Remove(nullptr);
            std::istringstream in(kKnownForm);
            copy.read(in);
        }
        font.Assert(m_dc);  // destroyed while selected
    };
    churn();  // the first calls load what the process keeps
    const unsigned before = GdiObjectMark();
    churn();
    EXPECT_EQ(before, GdiObjectMark());
    EXPECT_EQ(m_original, FontIn(m_dc));
}
