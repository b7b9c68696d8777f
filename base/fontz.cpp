#include "base/fontz.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <istream>
#include <new>
#include <ostream>

#include "base/zstring.h"

// The stream form, fourteen lines each ended by a line feed:
//   height, width, escapement, orientation, weight    signed decimal
//   italic, underline, strike-out, character set,
//   output precision, clip precision, quality,
//   pitch and family                                  unsigned decimal
//   face name, or "!" for the empty name
// A text-mode file stores each line end as carriage return and line feed;
// a carriage return left before the line feed is accepted on reading.

namespace {

// One line read as the runtime's atoi reads a text: white space, a sign,
// then digits up to the first other byte; no digits read as 0, and digits
// past 32 bits wrap as they do there. The rest of the line, however long,
// is passed over. 0, with the stream failed, when the input has ended.
int read_atoi_line(std::istream& is, uint32_t& value)
{
    typedef std::char_traits<char> traits;
    std::streambuf* sb = is.good() ? is.rdbuf() : nullptr;
    traits::int_type c = sb ? sb->sbumpc() : traits::eof();
    if (traits::eq_int_type(c, traits::eof())) {
        is.setstate(std::ios::eofbit | std::ios::failbit);
        return 0;
    }
    while (c != '\n' && std::isspace(c))
        c = sb->sbumpc();
    const bool negative = c == '-';
    if (c == '-' || c == '+')
        c = sb->sbumpc();
    uint32_t n = 0;
    for (; c >= '0' && c <= '9'; c = sb->sbumpc())
        n = n * 10 + uint32_t(c - '0');
    while (c != '\n' && !traits::eq_int_type(c, traits::eof()))
        c = sb->sbumpc();
    if (traits::eq_int_type(c, traits::eof()))
        is.setstate(std::ios::eofbit);
    value = negative ? 0u - n : n;
    return 1;
}

// Longer number lines cannot be numbers and mean a damaged form.
const unsigned kNumberLineRead = 32;
// Digits stop being taken past this: every field fits in 32 bits, and the
// sum cannot overflow on the way to finding that out.
const long long kDigitsCap = 10000000000LL;

void drop_carriage_return(zstring& line)
{
    const unsigned n = line.length();
    if (n && line[n - 1] == '\r')
        line.remove(n - 1);
}

// A face that would not come back as itself: a line break splits the
// line, and a leading "!" reads back as the empty name.
int face_writable(const char* face)
{
    return face[0] != '!' && !std::strpbrk(face, "\r\n");
}

void copy_face(LOGFONTA& description, const char* face)
{
    std::memset(description.lfFaceName, 0, sizeof description.lfFaceName);
    std::strncpy(description.lfFaceName, face, LF_FACESIZE - 1);
}

// The description of a live handle, face name always terminated.
int describe(HFONT font, LOGFONTA& description)
{
    LOGFONTA read;
    std::memset(&read, 0, sizeof read);
    if (!font || !GetObjectA(font, sizeof read, &read))
        return 0;
    read.lfFaceName[LF_FACESIZE - 1] = 0;
    description = read;
    return 1;
}

}  // namespace

// The saved description keeps the size of the plain pointer it replaces.
static_assert(sizeof(std::unique_ptr<LOGFONTA>) == sizeof(LOGFONTA*), "owned pointer layout");

void Fontz::_init()
{
    m_saved.reset();
    m_font = nullptr;
    m_previous = nullptr;
    m_owns = 1;
    m_dc = nullptr;
}

Fontz::Fontz()
{
    _init();
    m_font = CreateFontA(0, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, nullptr);
}

Fontz::Fontz(HFONT font)
{
    _init();
    m_font = font;
}

Fontz::Fontz(const char* face, int height, int width, int escapement, int orientation,
             int weight, unsigned short pitchAndFamily, unsigned short italic,
             unsigned short underline, unsigned short strikeOut, unsigned short charSet,
             unsigned short outPrecision, unsigned short clipPrecision, unsigned short quality)
{
    _init();
    m_font = CreateFontA(height, width, escapement, orientation, weight, italic, underline,
                         strikeOut, charSet, outPrecision, clipPrecision, quality,
                         pitchAndFamily, face);
}

Fontz::Fontz(int height, int width, int escapement, int orientation, int weight,
             unsigned short italic, unsigned short underline, unsigned short strikeOut,
             unsigned short charSet, unsigned short outPrecision, unsigned short clipPrecision,
             unsigned short quality, unsigned short pitchAndFamily, const char* face)
{
    _init();
    m_font = CreateFontA(height, width, escapement, orientation, weight, italic, underline,
                         strikeOut, charSet, outPrecision, clipPrecision, quality,
                         pitchAndFamily, face);
}

Fontz::Fontz(const LOGFONTA* description)
{
    _init();
    if (description)
        m_font = CreateFontIndirectA(description);
}

Fontz::Fontz(const Fontz& other)
{
    _init();
    LOGFONTA description;
    if (other.GetObj(description))
        m_font = CreateFontIndirectA(&description);
}

Fontz::~Fontz()
{
    RmGDI();
    DropDescription();
}

Fontz& Fontz::operator=(const Fontz& other)
{
    LOGFONTA description;
    if (this != &other && other.GetObj(description))
        CreateHotFont(&description);
    return *this;
}

void Fontz::CanDelete(int owns)
{
    m_owns = owns;
}

void Fontz::ShouldDelete(int owns)
{
    CanDelete(owns);
}

int Fontz::GetObj(LOGFONTA& description) const
{
    if (!m_saved)
        return describe(m_font, description);
    description = *m_saved;
    return 1;
}

int Fontz::GetMetrics(TEXTMETRICA& metrics)
{
    std::memset(&metrics, 0, sizeof metrics);
    if (m_dc)
        return Measure(m_dc, metrics);
    HWND owner = GetDesktopWindow();
    HDC dc = GetDC(owner);
    if (!dc)
        return 0;
    const int measured = Measure(dc, metrics);
    ReleaseDC(owner, dc);
    return measured;
}

// Measures with a selection of its own, so that the object's handle and
// state stay as they are: a caller may have handed the handle out.
int Fontz::Measure(HDC dc, TEXTMETRICA& metrics) const
{
    HFONT font = m_font;
    HFONT made = nullptr;
    LOGFONTA description;
    if (!font && GetObj(description))
        font = made = CreateFontIndirectA(&description);
    if (!font)
        return 0;
    HGDIOBJ previous = SelectObject(dc, font);
    const int measured = previous && GetTextMetricsA(dc, &metrics);
    if (previous)
        SelectObject(dc, previous);
    if (made)
        DeleteObject(made);
    if (!measured)
        std::memset(&metrics, 0, sizeof metrics);
    return measured;
}

int Fontz::Height()
{
    LOGFONTA description;
    if (!GetObj(description))
        return 0;
    if (description.lfHeight)
        return description.lfHeight;
    TEXTMETRICA metrics;
    GetMetrics(metrics);
    return metrics.tmHeight;
}

int Fontz::Width()
{
    LOGFONTA description;
    if (!GetObj(description))
        return 0;
    if (description.lfWidth)
        return description.lfWidth;
    TEXTMETRICA metrics;
    GetMetrics(metrics);
    return metrics.tmAveCharWidth;
}

int Fontz::Height(int height)
{
    LOGFONTA description;
    if (!GetObj(description))
        return 0;
    description.lfHeight = height;
    return CreateHotFont(&description);
}

int Fontz::Width(int width)
{
    LOGFONTA description;
    if (!GetObj(description))
        return 0;
    description.lfWidth = width;
    return CreateHotFont(&description);
}

int Fontz::Assert(HDC dc)
{
    // One context at a time: a second selection would lose the first one's
    // previous font, which only this object can put back.
    if (m_dc || !dc)
        return 0;
    if (!m_font) {
        if (!m_saved)
            return 0;
        HFONT made = CreateFontIndirectA(m_saved.get());
        if (!made)
            return 0;
        // A handle made here is this object's alone, whatever the flag
        // said about the one it was given.
        m_font = made;
        m_owns = 1;
    }
    HGDIOBJ previous = SelectObject(dc, m_font);
    if (!previous)
        return 0;
    DropDescription();
    m_previous = previous;
    m_dc = dc;
    return 1;
}

int Fontz::Remove(HDC dc)
{
    // Selected nowhere, or elsewhere: there is nothing here to take out.
    if (!m_dc || (dc && dc != m_dc))
        return 0;
    return RmGDI();
}

// The description is saved before anything is released, so that a panic
// later on still leaves a font that can be selected again.
int Fontz::RmGDI()
{
    if (!m_font) {
        m_dc = nullptr;
        m_previous = nullptr;
        return 1;
    }
    if (!SaveDescription())
        return _panic_cleanup();
    if (m_dc) {
        HGDIOBJ out = SelectObject(m_dc, m_previous);
        if (out != m_font && out != m_previous)
            return _panic_cleanup();
    }
    m_dc = nullptr;
    m_previous = nullptr;
    // A handle that is not ours stays live, now selected nowhere.
    if (m_owns) {
        DeleteObject(m_font);
        m_font = nullptr;
    }
    return 1;
}

int Fontz::CreateHotFont(const LOGFONTA* description)
{
    // Copied first: description may be the saved one, which RmGDI replaces.
    LOGFONTA wanted = *description;
    HDC dc = m_dc;
    const int released = RmGDI();
    m_font = nullptr;  // a handle that is not ours stays with its owner
    m_owns = 1;
    DropDescription();
    HFONT made = released ? CreateFontIndirectA(&wanted) : nullptr;
    if (!made) {
        m_saved.reset(new (std::nothrow) LOGFONTA(wanted));
        return 0;
    }
    m_font = made;
    if (!dc)
        return 1;
    m_previous = SelectObject(dc, made);
    m_dc = m_previous ? dc : nullptr;
    return m_dc != nullptr;
}

int Fontz::_panic_cleanup()
{
    MessageBeep(MB_ICONHAND);
    if (m_font && m_owns)
        DeleteObject(m_font);
    m_font = nullptr;
    m_dc = nullptr;
    m_previous = nullptr;
    return 0;
}

int Fontz::SaveDescription()
{
    LOGFONTA read;
    if (!describe(m_font, read))
        return 0;
    DropDescription();
    m_saved.reset(new (std::nothrow) LOGFONTA(read));
    return m_saved != nullptr;
}

void Fontz::DropDescription()
{
    m_saved.reset();
}

std::ostream& Fontz::write(std::ostream& os) const
{
    LOGFONTA d;
    if (!GetObj(d) || !face_writable(d.lfFaceName)) {
        os.setstate(std::ios::failbit);
        return os;
    }
    // std::endl flushes each line, so an interrupted write of the state
    // file leaves whole lines only.
    const long numbers[] = {d.lfHeight, d.lfWidth, d.lfEscapement, d.lfOrientation, d.lfWeight};
    for (long n : numbers)
        os << n << std::endl;
    const BYTE bytes[] = {d.lfItalic,        d.lfUnderline,     d.lfStrikeOut,
                          d.lfCharSet,       d.lfOutPrecision,  d.lfClipPrecision,
                          d.lfQuality,       d.lfPitchAndFamily};
    for (BYTE b : bytes)
        os << unsigned(b) << std::endl;
    os << (d.lfFaceName[0] ? d.lfFaceName : "!") << std::endl;
    return os;
}

std::istream& Fontz::read(std::istream& is)
{
    uint32_t n[13];
    for (uint32_t& number : n)
        if (!read_atoi_line(is, number))
            return is;
    zstring face;
    face.readline(is);
    // A line that fills the whole read was cut short: the form is damaged.
    if (is.fail() || face.length() >= face.iomax() - 1) {
        is.setstate(std::ios::failbit);
        return is;
    }
    drop_carriage_return(face);

    LOGFONTA d;
    std::memset(&d, 0, sizeof d);
    d.lfHeight = LONG(n[0]);
    d.lfWidth = LONG(n[1]);
    d.lfEscapement = LONG(n[2]);
    d.lfOrientation = LONG(n[3]);
    d.lfWeight = LONG(n[4]);
    BYTE* bytes[] = {&d.lfItalic,       &d.lfUnderline,    &d.lfStrikeOut,
                     &d.lfCharSet,      &d.lfOutPrecision, &d.lfClipPrecision,
                     &d.lfQuality,      &d.lfPitchAndFamily};
    for (int i = 0; i < 8; ++i)
        *bytes[i] = BYTE(n[5 + i]);
    copy_face(d, face[0u] == '!' ? "" : face.c_str());
    // Only a fully read form touches the font.
    CreateHotFont(&d);
    return is;
}

// Strict where a plain number conversion would be lenient: a word, an
// empty line or a value out of range in this place means the lines have
// slipped or been damaged, and taking it as 0 would build a wrong font.
int Fontz::_read_number(std::istream& is, long long low, long long high, long long& value)
{
    zstring line;
    line.iomax(kNumberLineRead);
    line.readline(is);
    drop_carriage_return(line);
    const char* p = line.c_str();
    const int negative = *p == '-';
    p += negative;
    long long n = 0;
    const char* digits = p;
    for (; *p >= '0' && *p <= '9' && n <= kDigitsCap; ++p)
        n = n * 10 + (*p - '0');
    if (negative)
        n = -n;
    if (is.fail() || *p || p == digits || n < low || n > high) {
        is.setstate(std::ios::failbit);
        return 0;
    }
    value = n;
    return 1;
}
