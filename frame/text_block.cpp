#include "frame/text_block.h"

#include <cstring>
#include <istream>
#include <memory>
#include <new>
#include <ostream>

#include "frame/main_window_claim.h"

namespace {

const char kFace[] = "Arial";
const LONG kWeight = FW_NORMAL;       // 400
const BYTE kCharSet = DEFAULT_CHARSET;  // 1

// DrawTextExA may put an ellipsis into the text it is given: the modified
// text is at most three bytes longer, plus its terminating zero.
const unsigned kDrawRoom = 4;
const unsigned kMeasureRoom = 44;

LOGFONTA MakeDescription()
{
    LOGFONTA description = {};
    description.lfWeight = kWeight;
    description.lfCharSet = kCharSet;
    std::strncpy(description.lfFaceName, kFace, LF_FACESIZE - 1);
    return description;
}

// Made on first use, so that a text block built during static start-up
// still finds it.
const LOGFONTA* DefaultDescription()
{
    static const LOGFONTA description = MakeDescription();
    return &description;
}

// Selects the font with its colours for one call; the context is put back
// only when the selection took.
class Selection {
public:
    Selection(DisplayFont& font, HDC dc) : m_font(font), m_dc(dc), m_selected(font.Assert(dc)) {}
    ~Selection()
    {
        if (m_selected)
            m_font.Remove(m_dc);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    DisplayFont& m_font;
    HDC m_dc;
    int m_selected;
};

}  // namespace

TextBlock::TextBlock() : TextBlock("") {}

TextBlock::TextBlock(const char* text)
    : m_text(text), m_font(DefaultDescription()), m_flags(0), m_tab_length(0), m_left_margin(0),
      m_right_margin(0)
{
}

TextBlock::~TextBlock() = default;

void TextBlock::SetMargins(int left, int right)
{
    m_left_margin = left;
    m_right_margin = right;
}

void TextBlock::FillParams(DRAWTEXTPARAMS& params)
{
    params.cbSize = sizeof(DRAWTEXTPARAMS);
    params.iTabLength = m_tab_length;
    params.iLeftMargin = m_left_margin;
    params.iRightMargin = m_right_margin;
    params.uiLengthDrawn = 0;
}

int TextBlock::Spare()
{
    return 0;
}

// ---------------------------------------------------------------------------
// Measuring and drawing

int TextBlock::MeasureInOwner(HDC dc, SIZE& size)
{
    RECT client = {};
    GetClientRect(MessageBoxOwner(), &client);
    return Measure(dc, size, client);
}

int TextBlock::Draw(HDC dc, const RECT& rect)
{
    Selection selection(m_font, dc);
    RECT area = rect;
    DrawCopy(dc, area, m_flags, kDrawRoom);
    return 0;
}

int TextBlock::Measure(HDC dc, SIZE& size, const RECT& rect)
{
    Selection selection(m_font, dc);
    RECT area = rect;
    const int height = DrawCopy(dc, area, m_flags | DT_CALCRECT, kMeasureRoom);
    const LONG area_height = area.bottom - area.top;
    size.cx = area.right - area.left;
    size.cy = area_height > height ? area_height : height;
    return height != 0 ? 1 : 0;
}

int TextBlock::DrawCopy(HDC dc, RECT& rect, UINT flags, unsigned room)
{
    const unsigned length = m_text.length();
    std::unique_ptr<char[]> scratch(new (std::nothrow) char[length + room]());
    if (!scratch)
        return 0;
    std::memcpy(scratch.get(), m_text.c_str(), length);
    DRAWTEXTPARAMS params = {};
    FillParams(params);
    return DrawTextExA(dc, scratch.get(), int(length), &rect, flags, &params);
}

// ---------------------------------------------------------------------------
// Stream form

std::ostream& TextBlock::write(std::ostream& os) const
{
    m_text.write_stream(os);
    os << '\n';
    return m_font.write(os);
}

std::istream& TextBlock::read(std::istream& is)
{
    zstring text;
    text.read_stream(is);
    if (!is || is.get() != '\n') {
        is.setstate(std::ios::failbit);
        return is;
    }
    DisplayFont font(m_font);
    font.read(is);
    if (!is)
        return is;
    m_text = text;
    m_font = font;
    return is;
}
