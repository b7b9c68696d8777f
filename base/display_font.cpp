#include "base/display_font.h"

#include <istream>
#include <new>
#include <ostream>
#include <sstream>

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const long long kColorMax = 0xFFFFFFFFLL;

}  // namespace

DisplayFont::DisplayFont()
    : m_brush(nullptr), m_text(kBlack), m_back(kWhite), m_previous_text(kBlack),
      m_previous_back(kWhite)
{
}

DisplayFont::DisplayFont(const LOGFONTA* description)
    : Fontz(description), m_brush(nullptr), m_text(kBlack), m_back(kWhite),
      m_previous_text(kBlack), m_previous_back(kWhite)
{
}

DisplayFont::DisplayFont(const DisplayFont& other)
    : Fontz(other), m_brush(nullptr), m_text(other.m_text), m_back(other.m_back),
      m_previous_text(kBlack), m_previous_back(kWhite)
{
}

DisplayFont& DisplayFont::operator=(const DisplayFont& other)
{
    if (this != &other) {
        Fontz::operator=(other);
        SetColors(other.m_text, other.m_back);
    }
    return *this;
}

// Puts back everything it still holds, whatever was done to the context
// in between; the font itself goes back in ~Fontz.
DisplayFont::~DisplayFont()
{
    if (m_brush) {
        SetTextColor(m_brush->dc, m_previous_text);
        SetBkColor(m_brush->dc, m_previous_back);
        ReleaseBrush();
    }
}

void DisplayFont::SetColors(COLORREF text, COLORREF background)
{
    m_text = text;
    m_back = background;
    if (!m_brush)
        return;
    // Release compares the context's colours with ours, so they must agree.
    SetTextColor(m_brush->dc, m_text);
    SetBkColor(m_brush->dc, m_back);
    ReplaceBrush();
}

int DisplayFont::Assert(HDC dc)
{
    // The font goes first, so that a refusal leaves dc as it was; selected
    // already, the colours to put back belong to that other context.
    if (m_brush || !Fontz::Assert(dc))
        return 0;
    if (!SelectBrush(dc)) {
        Fontz::Remove(dc);
        return 0;
    }
    m_previous_text = SetTextColor(dc, m_text);
    m_previous_back = SetBkColor(dc, m_back);
    return 1;
}

int DisplayFont::Remove(HDC dc)
{
    if (!m_brush)
        return 0;
    // Colours first: a refusal there must leave brush and font selected.
    HDC target = dc ? dc : m_brush->dc;
    if (target != m_brush->dc || !PutColorsBack(target))
        return 0;
    ReleaseBrush();
    return Fontz::Remove(target);
}

// A colour that is not ours means someone drew with their own in between;
// ours go back in so that the next release can finish the job.
int DisplayFont::PutColorsBack(HDC dc)
{
    if (SetTextColor(dc, m_previous_text) != m_text) {
        SetTextColor(dc, m_text);
        return 0;
    }
    if (SetBkColor(dc, m_previous_back) != m_back) {
        SetTextColor(dc, m_text);
        SetBkColor(dc, m_back);
        return 0;
    }
    return 1;
}

int DisplayFont::SelectBrush(HDC dc)
{
    std::unique_ptr<BrushRecord> record(
        new (std::nothrow) BrushRecord{dc, m_back, 0, BS_SOLID, nullptr, nullptr});
    if (!record)
        return 0;
    LOGBRUSH style = {record->style, record->color, ULONG_PTR(record->hatch)};
    record->brush = CreateBrushIndirect(&style);
    record->previous = record->brush ? SelectObject(dc, record->brush) : nullptr;
    if (!record->previous) {
        if (record->brush)
            DeleteObject(record->brush);
        return 0;
    }
    m_brush = std::move(record);
    return 1;
}

// A brush of the new background colour takes the old one's place; the
// context's own brush stays recorded for the release.
int DisplayFont::ReplaceBrush()
{
    LOGBRUSH style = {m_brush->style, m_back, ULONG_PTR(m_brush->hatch)};
    HBRUSH brush = CreateBrushIndirect(&style);
    if (!brush || !SelectObject(m_brush->dc, brush)) {
        if (brush)
            DeleteObject(brush);
        return 0;
    }
    DeleteObject(m_brush->brush);
    m_brush->brush = brush;
    m_brush->color = m_back;
    return 1;
}

void DisplayFont::ReleaseBrush()
{
    if (!m_brush)
        return;
    SelectObject(m_brush->dc, m_brush->previous);
    DeleteObject(m_brush->brush);
    m_brush.reset();
}

std::istream& DisplayFont::read(std::istream& is)
{
    long long text = 0;
    long long back = 0;
    if (!_read_number(is, 0, kColorMax, text) || !_read_number(is, 0, kColorMax, back))
        return is;
    // The colours wait for the font's lines, so a damaged record changes
    // nothing at all.
    Fontz::read(is);
    if (!is.fail())
        SetColors(COLORREF(text), COLORREF(back));
    return is;
}

std::ostream& DisplayFont::write(std::ostream& os) const
{
    // The font's lines are made first so that a font that cannot be
    // written leaves nothing half-written behind.
    std::ostringstream font;
    Fontz::write(font);
    if (font.fail()) {
        os.setstate(std::ios::failbit);
        return os;
    }
    os << static_cast<unsigned long>(m_text) << std::endl;
    os << static_cast<unsigned long>(m_back) << std::endl;
    os << font.str() << std::flush;
    return os;
}
