// The quote view: the item on show, drawn with the display font 20 pixels in
// from the corner; the window grows to fit the text instead of scrolling.
#include "app/quote_app.h"

#include <algorithm>
#include <string>

namespace {

const int kMargin = 20;
const size_t kLongLine = 80;
// DT_EXPANDTABS | DT_NOPREFIX (0x840), and with DT_WORDBREAK |
// DT_END_ELLIPSIS (0x8850) for text that is to be wrapped.
const UINT kPlainFlags = DT_EXPANDTABS | DT_NOPREFIX;
const UINT kWrapFlags = kPlainFlags | DT_WORDBREAK | DT_END_ELLIPSIS;
const wchar_t kTooLarge[] = L"<<ITEM IS TOO LARGE TO DISPLAY ON THIS SCREEN>>";

// Wrapped when the text has no line breaks of its own or starts with a long
// line; after leading control characters, the same test decides on word
// breaks. Lengths are in characters.
UINT ChooseFlags(const std::wstring& all)
{
    const size_t first_break = all.find(L'\n');
    UINT flags = kPlainFlags;
    if (all.empty() || first_break == std::wstring::npos || first_break >= kLongLine)
        flags = kWrapFlags;
    size_t lead = 0;
    while (lead < all.size() && all[lead] < 32)
        ++lead;
    if (lead > 0) {
        const size_t rest_break = all.find(L'\n', lead);
        if (rest_break == std::wstring::npos || rest_break - lead > kLongLine)
            flags |= DT_WORDBREAK;
    }
    return flags;
}

RECT Shrunk(const RECT& rect, int by)
{
    return RECT{rect.left + by, rect.top + by, rect.right - by, rect.bottom - by};
}

RECT WorkArea()
{
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

}  // namespace

void QuoteApp::OnPaint(PaintRecord&)
{
    // No item loaded: nothing is drawn and the caption stays.
    if (m_current.position() == QuoteEntry::kNotStored)
        return;
    HDC dc = GetDC(Handle());
    if (!dc)
        return;
    m_font.Assert(dc);
    RECT client;
    GetClientRect(Handle(), &client);
    // Drawn as the characters the stored bytes stand for.
    const std::wstring decoded = WideText(m_current.text());
    const wchar_t* text = decoded.c_str();
    UINT flags = ChooseFlags(decoded);
    RECT measured = Shrunk(client, kMargin);
    int height = DrawTextW(dc, text, -1, &measured, flags | DT_CALCRECT);
    // A line wider than any window the work area holds is wrapped: the
    // window then grows to the wrapped text's height, not to one line's.
    const LONG widest = WidestText();
    if (measured.right - measured.left > widest) {
        flags = kWrapFlags;
        measured = RECT{kMargin, kMargin, kMargin + widest, kMargin};
        height = DrawTextW(dc, text, -1, &measured, flags | DT_CALCRECT);
    }
    if (height > GetSystemMetrics(SM_CYSCREEN) && ViewHook(m_current) != 1) {
        text = kTooLarge;
        MessageBeep(MB_ICONHAND);
        measured = Shrunk(client, kMargin);
        DrawTextW(dc, text, -1, &measured, flags | DT_CALCRECT);
    }
    const bool fits = measured.bottom <= client.bottom && measured.right <= client.right;
    if (fits || m_resized_serial == m_view_serial || !GrowToFit(measured)) {
        // What still does not fit after the one resize is wrapped inside the
        // client area.
        RECT area = measured;
        UINT draw_flags = flags;
        if (!fits) {
            area = Shrunk(client, kMargin);
            draw_flags = kWrapFlags;
        }
        DrawTextW(dc, text, -1, &area, draw_flags);
        const std::string caption = "Item Number " + std::to_string(m_current.position());
        SetWindowTextA(Handle(), caption.c_str());
    }
    m_font.Remove(nullptr);
    ReleaseDC(Handle(), dc);
}

// The width of the widest text a window inside the work area shows.
LONG QuoteApp::WidestText()
{
    RECT window, client;
    GetWindowRect(Handle(), &window);
    GetClientRect(Handle(), &client);
    const LONG frame = (window.right - window.left) - (client.right - client.left);
    const RECT area = WorkArea();
    return std::max<LONG>(1, (area.right - area.left) - frame - 2 * kMargin);
}

int QuoteApp::ViewHook(QuoteEntry&)
{
    return 0;
}

// Resizes the window once for the item on show so that the measured text
// fits, keeping the top-left corner but staying inside the work area; 0
// when the window cannot grow at all.
int QuoteApp::GrowToFit(const RECT& measured)
{
    m_resized_serial = m_view_serial;
    RECT window, client;
    GetWindowRect(Handle(), &window);
    GetClientRect(Handle(), &client);
    const int frame_width = (window.right - window.left) - (client.right - client.left);
    const int frame_height = (window.bottom - window.top) - (client.bottom - client.top);
    const RECT area = WorkArea();
    int width = frame_width + measured.right + kMargin;
    int height = frame_height + measured.bottom;
    width = std::min<int>(width, area.right - area.left);
    height = std::min<int>(height, area.bottom - area.top);
    if (width == window.right - window.left && height == window.bottom - window.top)
        return 0;
    const int x = std::max<int>(area.left, std::min<int>(window.left, area.right - width));
    const int y = std::max<int>(area.top, std::min<int>(window.top, area.bottom - height));
    MoveWindow(Handle(), x, y, width, height, TRUE);
    // On a first start the tool window stays beside the growing window.
    RECT tools;
    if (m_first_run && m_tool_bar && GetWindowRect(m_tool_bar->Handle(), &tools)) {
        GetWindowRect(Handle(), &window);
        RECT overlap;
        if (IntersectRect(&overlap, &tools, &window))
            PlaceToolsBeside();
    }
    return 1;
}

// Puts the tool window just right of the main window, or left of it when
// the work area has no room on the right, so that it covers no part of the
// quote.
void QuoteApp::PlaceToolsBeside()
{
    HWND window = m_tool_bar ? m_tool_bar->Handle() : nullptr;
    RECT own, other, area;
    if (!window || !GetWindowRect(window, &own) || !GetWindowRect(Handle(), &other) ||
        !SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        return;
    const int width = own.right - own.left;
    const int gap = 8;
    int x = other.right + gap;
    if (x + width > area.right)
        x = other.left - gap - width;
    if (x < area.left)
        return;
    SetWindowPos(window, nullptr, x, other.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
