#include "frame/tool_button.h"

#include <windowsx.h>

#include <new>

#include "frame/procedure_guard.h"
#include "frame/program_instance.h"
#include "frame/tool_window.h"

namespace {

// The button object's pointer opens the window's extra bytes; two more
// bytes are kept spare.
const int kObjectSlot = 0;
const int kWindowBytes = sizeof(LONG_PTR) + 2;
const DWORD kButtonExStyle = WS_EX_NOPARENTNOTIFY;
const DWORD kButtonStyle = WS_CHILD | WS_VISIBLE;
const COLORREF kShadow = RGB(0x80, 0x80, 0x80);
const COLORREF kLight = RGB(0xFF, 0xFF, 0xFF);
// The mouse messages that the press loop drops, movement excepted:
// 0x0200 to 0x0209.
const UINT kFirstMouseMessage = WM_MOUSEFIRST;
const UINT kLastMouseMessage = WM_MBUTTONDBLCLK;

ToolButton* g_hovered = nullptr;

BOOL CALLBACK ReleaseGroupMember(HWND window, LPARAM pressed)
{
    // Only button windows keep a button object in their extra bytes.
    const WNDPROC procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrA(window, GCLP_WNDPROC));
    if (procedure != &ToolButton::WindowProcedure)
        return TRUE;
    const ToolButton* self = reinterpret_cast<const ToolButton*>(pressed);
    ToolButton* other = ToolButton::FromHandle(window);
    if (other && other != self && other->Descriptor().group == self->Descriptor().group &&
        other->State() == self->State())
        other->SetState(kToolButtonUp);
    return TRUE;
}

// Left and top edges in one colour, right and bottom in the other, on the
// rectangle one pixel short of the right and bottom sides.
void DrawFrame(HDC dc, const RECT& client, int down)
{
    const int right = client.right - 1;
    const int bottom = client.bottom - 1;
    HPEN top_left = CreatePen(PS_SOLID, 1, down ? kShadow : kLight);
    HPEN bottom_right = CreatePen(PS_SOLID, 1, down ? kLight : kShadow);
    SelectObject(dc, top_left);
    MoveToEx(dc, client.left, bottom, nullptr);
    LineTo(dc, client.left, client.top);
    LineTo(dc, right, client.top);
    SelectObject(dc, bottom_right);
    LineTo(dc, right, bottom);
    LineTo(dc, client.left, bottom);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteObject(top_left);
    DeleteObject(bottom_right);
}

void Blit(HDC dc, HBITMAP bitmap, int offset)
{
    BITMAP size = {};
    if (!GetObjectA(bitmap, sizeof size, &size))
        return;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory)
        return;
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(dc, offset, offset, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

}  // namespace

const char ToolButton::kClassName[] = "ToolWndButtonWndClass";

ToolButton::ToolButton(ToolWindow& tool, const ToolButtonDescriptor& descriptor)
    : m_tool(tool), m_descriptor(descriptor), m_busy(0), m_orphaned(0)
{
    if (descriptor.tip)
        m_tip = descriptor.tip;
    m_descriptor.tip = descriptor.tip ? m_tip.c_str() : nullptr;
}

ToolButton::~ToolButton()
{
    if (g_hovered == this)
        g_hovered = nullptr;
    HWND window = m_descriptor.window;
    if (window && IsWindow(window)) {
        // Cut the tie first, so that destroying the window does not delete
        // this object a second time.
        Detach();
        DestroyWindow(window);
    }
}

ToolButton* ToolButton::Make(ToolWindow& tool, const ToolButtonDescriptor& descriptor, const RECT& place)
{
    RegisterButtonClass(descriptor.cursor);
    ToolButton* button = nullptr;
    try {
        button = new ToolButton(tool, descriptor);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    button->m_busy = 1;
    HWND window = CreateWindowExA(kButtonExStyle, kClassName, "", kButtonStyle, place.left,
                                  place.top, place.right - place.left, place.bottom - place.top,
                                  tool.Handle(), nullptr, ProgramInstance(), button);
    button->m_busy = 0;
    if (!window || button->m_orphaned) {
        button->Detach();
        delete button;
        return nullptr;
    }
    button->m_descriptor.window = window;
    return button;
}

int ToolButton::RegisterButtonClass(HCURSOR cursor)
{
    WNDCLASSA window_class = {};
    if (GetClassInfoA(ProgramInstance(), kClassName, &window_class))
        return 1;
    window_class.style = 0;
    window_class.lpfnWndProc = &ToolButton::WindowProcedure;
    window_class.cbClsExtra = 0;
    window_class.cbWndExtra = kWindowBytes;
    window_class.hInstance = ProgramInstance();
    window_class.hIcon = nullptr;
    window_class.hCursor = cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    window_class.lpszMenuName = nullptr;
    window_class.lpszClassName = kClassName;
    return RegisterClassA(&window_class) ? 1 : 0;
}

ToolButton* ToolButton::FromHandle(HWND window)
{
    return reinterpret_cast<ToolButton*>(GetWindowLongPtrA(window, kObjectSlot));
}

ToolButton* ToolButton::Hovered()
{
    return g_hovered;
}

void ToolButton::Detach()
{
    if (m_descriptor.window)
        SetWindowLongPtrA(m_descriptor.window, kObjectSlot, 0);
    m_descriptor.window = nullptr;
}

// ---------------------------------------------------------------------------
// The window procedure

LRESULT CALLBACK ToolButton::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam)
{
    Guarded<int>(0, [&] {
        if (message == WM_CREATE) {
            const CREATESTRUCTA* creation = reinterpret_cast<const CREATESTRUCTA*>(lparam);
            ToolButton* button = static_cast<ToolButton*>(creation->lpCreateParams);
            SetWindowLongPtrA(window, kObjectSlot, reinterpret_cast<LONG_PTR>(button));
            if (button)
                button->m_descriptor.window = window;
        } else if (ToolButton* button = FromHandle(window)) {
            button->OnMessage(message, lparam);
        }
        return 1;
    });
    return DefWindowProcA(window, message, wparam, lparam);
}

void ToolButton::OnMessage(UINT message, LPARAM lparam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        Hover();
        break;
    case WM_LBUTTONDOWN:
        Click(lparam);
        break;
    case WM_LBUTTONUP:
        if (m_descriptor.style == kToolActsOnRelease && ReleaseHook(lparam))
            Command(lparam);
        break;
    case WM_PAINT:
        ValidateRect(m_descriptor.window, nullptr);
        Redraw();
        break;
    case WM_DESTROY:
        Detach();
        if (m_busy)
            m_orphaned = 1;
        else
            delete this;
        break;
    }
}

void ToolButton::Hover()
{
    if (g_hovered == this)
        return;
    g_hovered = this;
    // A button without a tip puts the plain caption back rather than leave
    // another button's tip showing.
    SetWindowTextA(m_tool.Handle(), m_descriptor.tip ? m_descriptor.tip : ToolWindow::kCaption);
}

void ToolButton::Click(LPARAM where)
{
    ++m_busy;
    if (Press() && m_descriptor.window)
        Command(where);
    if (m_descriptor.window && m_descriptor.style == kToolStaysDown)
        ReleaseGroup();
    --m_busy;
    if (!m_busy && m_orphaned)
        delete this;  // the window went while the click was handled
}

void ToolButton::ReleaseGroup()
{
    if (!m_descriptor.group || !m_tool.Handle())
        return;
    EnumChildWindows(m_tool.Handle(), &ReleaseGroupMember, reinterpret_cast<LPARAM>(this));
}

// ---------------------------------------------------------------------------
// Clicks

int ToolButton::Press()
{
    if (m_descriptor.state == kToolButtonDown && (m_descriptor.style & kToolStaysDown))
        return 0;
    const int former = m_descriptor.state;
    SetState(kToolButtonDown);
    SetCapture(m_descriptor.window);
    MSG up = {};
    const int inside = TrackPress(former, up);
    if (GetCapture() == m_descriptor.window)
        ReleaseCapture();
    if (!inside) {
        if (m_descriptor.state != former)
            SetState(former);
        return 0;
    }
    int state = m_descriptor.state;
    if (m_descriptor.style & kToolStaysDown)
        state = kToolButtonDown;
    else if (m_descriptor.style & kToolPopsUp)
        state = kToolButtonUp;
    else if (m_descriptor.style & kToolToggles)
        state = former == kToolButtonUp ? kToolButtonDown : kToolButtonUp;
    SetState(state);
    TranslateMessage(&up);
    DispatchMessageA(&up);
    return 1;
}

int ToolButton::TrackPress(int former, MSG& up)
{
    int inside = 1;
    for (;;) {
        const BOOL got = GetMessageA(&up, nullptr, 0, 0);
        if (got == 0)
            PostQuitMessage(static_cast<int>(up.wParam));  // for the outer loop
        if (got <= 0 || !m_descriptor.window)
            return 0;
        if (up.message == WM_LBUTTONUP)
            return inside && PointerInside(up);
        if (up.message == WM_MOUSEMOVE) {
            const int now = PointerInside(up);
            if (now != inside)
                SetState(now ? kToolButtonDown : former);
            inside = now;
        } else if (up.message < kFirstMouseMessage || up.message > kLastMouseMessage) {
            TranslateMessage(&up);
            DispatchMessageA(&up);
            // Destroyed meanwhile, or the mouse taken by another window (a
            // modal one, opened by a timer): the press is over.
            if (!m_descriptor.window || GetCapture() != m_descriptor.window)
                return 0;
        }
    }
}

// Whether the message's pointer position lies over this button.
int ToolButton::PointerInside(const MSG& message) const
{
    POINT point = {GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    if (message.hwnd != m_descriptor.window)
        MapWindowPoints(message.hwnd, m_descriptor.window, &point, 1);
    RECT client = {};
    GetClientRect(m_descriptor.window, &client);
    return PtInRect(&client, point) ? 1 : 0;
}

int ToolButton::ReleaseHook(LPARAM)
{
    return 0;
}

void ToolButton::Command(LPARAM where)
{
    SendMessageA(GetParent(m_tool.Handle()), WM_COMMAND, m_descriptor.command, where);
}

// ---------------------------------------------------------------------------
// Drawing

void ToolButton::SetState(int state)
{
    m_descriptor.state = state;
    Redraw();
}

void ToolButton::SetLook(unsigned bitmap, const char* tip)
{
    m_descriptor.up_bitmap = bitmap;
    m_descriptor.down_bitmap = bitmap;
    m_tip = tip ? tip : "";
    m_descriptor.tip = tip ? m_tip.c_str() : nullptr;
    Redraw();
}

void ToolButton::Redraw()
{
    if (!m_descriptor.window)
        return;
    HDC dc = GetDC(m_descriptor.window);
    if (!dc)
        return;
    RECT client = {};
    GetClientRect(m_descriptor.window, &client);
    Draw(dc, client);
    ReleaseDC(m_descriptor.window, dc);
}

HBITMAP ToolButton::CurrentBitmap()
{
    HBITMAP down = m_tool.BitmapAt(m_descriptor.down_bitmap);
    if (m_descriptor.state == kToolButtonDown && down)
        return down;
    return m_tool.BitmapAt(m_descriptor.up_bitmap);
}

void ToolButton::Draw(HDC dc, const RECT& client)
{
    const int flat = (m_descriptor.style & kToolFlat) != 0;
    const int down = m_descriptor.state == kToolButtonDown;
    if (m_descriptor.tip)
        SetWindowTextA(m_tool.Handle(), ToolWindow::kCaption);
    if (HBITMAP bitmap = CurrentBitmap())
        Blit(dc, bitmap, flat ? 0 : (down ? 1 : -1));
    if (!flat)
        DrawFrame(dc, client, down);
}
