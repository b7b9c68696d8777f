#include "alarms/prompt_window.h"

#include "frame/message_box.h"

namespace {

const char kFirstCaption[] = "Notice!";
const char kFirstText[] = "[None]";
const char kCloseHint[] = "\r\n\r\n(Click this notice to close it.)";
// The application icon until told otherwise (IDI_APPLICATION).
const uint32_t kFirstIcon = 32512;

// The work area of the primary screen: the screen less the task bar.
RECT WorkArea()
{
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// Centres length in the span from low to high, cutting length to the span
// when it does not fit; returns the start.
int Centre(int low, int high, int& length)
{
    const int span = high - low;
    if (length > span)
        length = span;
    return low + (span - length) / 2;
}

}  // namespace

PromptWindow::PromptWindow()
    : m_text(kFirstText), m_done(0), m_kind(kPlainPrompt), m_caption(kFirstCaption),
      m_icon_id(kFirstIcon)
{
}

PromptWindow::~PromptWindow() = default;

int PromptWindow::IsDone()
{
    return m_done ? 1 : 0;
}

uint32_t PromptWindow::Show(const TextBlock& text, const char* caption, uint32_t icon_id,
                            uint32_t kind)
{
    m_icon_id = icon_id;
    m_done = 0;
    m_kind = kind;
    m_caption = caption ? caption : "";
    m_text.Text() = text.Text();
    // The notice has no button: it says how it goes away.
    m_text.Text().append(kCloseHint);
    m_text.SetFlags(text.Flags());
    if (kind != kPlainPrompt) {
        ErrorBox("Type not supported", "Prompt");
        return m_done;
    }
    RunModal();
    return m_done;
}

void PromptWindow::FillCreation(WindowSpec& fields)
{
    BaseWindow::FillCreation(fields);
    fields.ex_style |= WS_EX_TOPMOST;  // 0x1C in all
    fields.style |= WS_CAPTION;        // 0x90C80000 in all
}

SIZE PromptWindow::MeasureText(HDC dc)
{
    const RECT room = {0, 0, 3 * (GetSystemMetrics(SM_CXSCREEN) / 5),
                       3 * (GetSystemMetrics(SM_CYSCREEN) / 5)};
    SIZE size = {0, 0};
    if (!m_text.Measure(dc, size, room))
        size = SIZE{0, 0};
    return size;
}

// Sized to the text wrapped within three fifths of the screen, with an
// icon's room beside and above it, then centred in the work area and kept
// wholly inside it: a long message would otherwise start off the screen.
void PromptWindow::OnCreated(WindowEvent& event)
{
    HWND window = event.window;
    SetWindowTextA(window, m_caption.c_str());
    HDC dc = GetDC(window);
    const SIZE text = MeasureText(dc);
    ReleaseDC(window, dc);
    const int icon_width = GetSystemMetrics(SM_CXICON);
    const int icon_height = GetSystemMetrics(SM_CYICON);
    // The window's size comes from a rectangle whose right and bottom are
    // the width and height, grown by the frame as such a rectangle grows.
    RECT frame = {0, 0, text.cx + 2 * icon_width, text.cy + icon_height};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
    if (!AdjustWindowRectEx(&frame, style, FALSE, ex_style))
        AdjustWindowRect(&frame, style, FALSE);
    int width = frame.right;
    int height = frame.bottom + 3 * (GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CYCAPTION));
    const RECT area = WorkArea();
    const int x = Centre(area.left, area.right, width);
    const int y = Centre(area.top, area.bottom, height);
    MoveWindow(window, x, y, width, height, TRUE);
}

void PromptWindow::OnDestroyed(WindowEvent&)
{
    m_done = 1;
}

void PromptWindow::OnMouseButton(ButtonRecord& button)
{
    if (button.action == kButtonPress)
        m_done = 1;
}

void PromptWindow::OnPaint(PaintRecord& paint)
{
    if (!paint.dc)
        return;
    RECT client = {};
    GetClientRect(paint.window, &client);
    const int icon_width = GetSystemMetrics(SM_CXICON);
    const int icon_height = GetSystemMetrics(SM_CYICON);
    Rectangle(paint.dc, icon_width, icon_height / 2, client.right - icon_width / 2,
              client.bottom - icon_height / 2);
    if (HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(m_icon_id)))
        DrawIcon(paint.dc, 2, 2, icon);
    const SIZE text = MeasureText(paint.dc);
    if (text.cx > 0 || text.cy > 0) {
        const RECT area = {icon_width + 2, icon_height + 2, icon_width + 2 + text.cx,
                           icon_height + 2 + text.cy};
        m_text.Draw(paint.dc, area);
    }
}
