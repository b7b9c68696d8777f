#include "frame/progress_window.h"

#include <cstdio>

#include "frame/main_window_claim.h"

namespace {

const char kClassName[] = "Progress";
const int kSide = 100;
const COLORREF kRightLeg = RGB(255, 0, 0);
const COLORREF kBottomLeg = RGB(0, 255, 0);
const COLORREF kLeftLeg = RGB(0, 0, 255);
const COLORREF kTopLeg = RGB(128, 128, 128);
const COLORREF kCountColour = RGB(255, 255, 255);
// How long a deleted window's thread gets to close the window and end.
const DWORD kCloseWait = 5000;

// Waits for object, answering the messages other threads send to this one
// meanwhile; 1 when it was signalled in time.
int WaitAnswering(HANDLE object, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= milliseconds)
            return 0;
        const DWORD woken =
            MsgWaitForMultipleObjects(1, &object, FALSE, milliseconds - spent, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0)
            return 1;
        if (woken != WAIT_OBJECT_0 + 1)
            return 0;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

ProgressWindow::ProgressWindow() : m_laps(-1), m_count(0) {}

ProgressWindow::~ProgressWindow()
{
    CloseFromItsThread();
}

// Only the thread that made a window can destroy it; the base destructor,
// failing to, would leave the window and its thread running unbound. The
// thread's loop serves this window alone and ends with it, so the wait is
// for the thread. Its owner may live in this thread, hence the answering
// wait. Past the time limit the base destructor cuts the tie as before.
void ProgressWindow::CloseFromItsThread()
{
    HWND window = Handle();
    const DWORD thread_id = window ? GetWindowThreadProcessId(window, nullptr) : 0;
    if (!thread_id || thread_id == GetCurrentThreadId())
        return;
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, thread_id);
    if (!thread)
        return;
    if (PostMessageA(window, WM_CLOSE, 0, 0))
        WaitAnswering(thread, kCloseWait);
    CloseHandle(thread);
}

void ProgressWindow::Reset()
{
    m_count = 0;
    m_laps = -1;
}

void ProgressWindow::Step(unsigned steps)
{
    m_count += steps;
    if (Handle())
        SendMessageA(Handle(), WM_COMMAND, MAKEWPARAM(kRepaintCommand, 0), LPARAM(steps));
}

zstring ProgressWindow::Text() const
{
    // Unsigned, so that a count past 2^31 still reads as a count.
    char text[16];
    std::snprintf(text, sizeof text, "%04u", static_cast<unsigned>(m_count));
    return zstring(text);
}

// ---------------------------------------------------------------------------
// Creation values

void ProgressWindow::FillCreation(WindowSpec& fields)
{
    // Top-most, no caption: the user can neither move nor close it.
    fields.ex_style = WS_EX_TOPMOST;
    fields.style = WS_POPUP | WS_DLGFRAME;
    fields.parent = MessageBoxOwner();
    fields.menu = nullptr;
}

// Centred on the work area of the full screen.
void ProgressWindow::DefaultRect(WindowRect& rect)
{
    rect.x = GetSystemMetrics(SM_CXFULLSCREEN) / 2 - kSide / 2;
    rect.y = GetSystemMetrics(SM_CYFULLSCREEN) / 2 - kSide / 2;
    rect.width = kSide;
    rect.height = kSide;
}

const char* ProgressWindow::ResourceName()
{
    return kClassName;
}

// ---------------------------------------------------------------------------
// Painting

int ProgressWindow::OnCommand(WindowEvent& event)
{
    if (LOWORD(event.wparam) != kRepaintCommand)
        return 0;
    Repaint();
    return 1;
}

void ProgressWindow::OnPaint(PaintRecord& paint)
{
    RECT client = {};
    if (paint.dc && GetClientRect(paint.window, &client))
        Draw(paint.dc, client);
}

void ProgressWindow::Repaint()
{
    HWND window = Handle();
    RECT client = {};
    if (!window || !GetClientRect(window, &client))
        return;
    HDC dc = GetDC(window);
    if (!dc)
        return;
    Draw(dc, client);
    ReleaseDC(window, dc);
}

void ProgressWindow::Draw(HDC dc, const RECT& client)
{
    const long width = client.right - client.left;
    const long height = client.bottom - client.top;
    // An empty client area has no border to run round.
    if (width <= 0 || height <= 0)
        return;
    const unsigned border = 2 * unsigned(width + height);
    unsigned position = m_count;
    if (position > border)
        position %= border;
    m_laps = int(position / border);
    const BorderPoint point = PointOnBorder(client, position);

    HBRUSH brush = CreateSolidBrush(point.colour);
    if (!brush)
        return;
    HGDIOBJ old_brush = SelectObject(dc, brush);
    Ellipse(dc, client.left, client.top, client.right, client.bottom);
    const int centre_x = (client.left + client.right) / 2;
    const int centre_y = (client.top + client.bottom) / 2;
    MoveToEx(dc, centre_x, centre_y, nullptr);
    LineTo(dc, client.right, client.top);
    MoveToEx(dc, centre_x, centre_y, nullptr);
    LineTo(dc, point.at.x, point.at.y);
    DrawCount(dc, client, point.colour);
    SelectObject(dc, old_brush);
    DeleteObject(brush);
}

// Clockwise from the top-right corner: down the right edge, leftwards along
// the bottom, up the left edge and rightwards along the top. A position of
// exactly one lap is back at the top-right corner, still on the top leg.
ProgressWindow::BorderPoint ProgressWindow::PointOnBorder(const RECT& client, unsigned position)
{
    const long p = long(position);
    const long w = client.right - client.left;
    const long h = client.bottom - client.top;
    if (p < h)
        return {{client.right, client.top + p}, kRightLeg};
    if (p < h + w)
        return {{client.right - (p - h), client.bottom}, kBottomLeg};
    if (p < 2 * h + w)
        return {{client.left, client.bottom - (p - h - w)}, kLeftLeg};
    if (p < 2 * h + 2 * w)
        return {{client.left + (p - 2 * h - w), client.top}, kTopLeg};
    return {{client.right, client.top}, kTopLeg};
}

void ProgressWindow::DrawCount(HDC dc, const RECT& client, COLORREF background)
{
    const zstring text = Text();
    RECT area = client;
    const COLORREF old_back = SetBkColor(dc, background);
    const COLORREF old_text = SetTextColor(dc, kCountColour);
    ::DrawTextA(dc, text.c_str(), -1, &area, DT_CENTER | DT_VCENTER);
    SetTextColor(dc, old_text);
    SetBkColor(dc, old_back);
}
