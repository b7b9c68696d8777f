// The framework's one window procedure: it finds the object bound to the
// window, unpacks the message into the object's event records and calls
// the object's handler.

#include "frame/base_window.h"

#include <windowsx.h>

#include <memory>
#include <new>

#include "base/drop_info.h"
#include "frame/notice_window.h"
#include "frame/procedure_guard.h"
#include "frame/program_instance.h"

namespace {

// The framework's scroll code for each of the platform's SB_* codes, from
// SB_LINEUP (0) to SB_ENDSCROLL (8).
const int kScrollCodes[] = {
    kScrollLineUp,     kScrollLineDown, kScrollPageUp, kScrollPageDown, kScrollThumbPosition,
    kScrollThumbTrack, kScrollTop,      kScrollBottom, kScrollEnd,
};

int FrameworkScrollCode(WORD platform_code)
{
    if (platform_code >= sizeof kScrollCodes / sizeof kScrollCodes[0])
        return kScrollOther;
    return kScrollCodes[platform_code];
}

int SizeState(WPARAM type)
{
    switch (type) {
    case SIZE_MINIMIZED:
        return kSizeMinimized;
    case SIZE_MAXIMIZED:
        return kSizeMaximized;
    case SIZE_RESTORED:
        return kSizeRestored;
    default:
        return kSizeOther;
    }
}

// Copies the raw message into any event record.
void Fill(WindowEvent& record, const WindowEvent& event)
{
    record.window = event.window;
    record.message = event.message;
    record.wparam = event.wparam;
    record.lparam = event.lparam;
}

LRESULT Default(const WindowEvent& event)
{
    return DefWindowProcA(event.window, event.message, event.wparam, event.lparam);
}

}  // namespace

BaseWindow* BaseWindow::FromHandle(HWND window)
{
    return reinterpret_cast<BaseWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK BaseWindow::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam)
{
    return Guarded<LRESULT>(0, [&]() -> LRESULT {
        if (message == WM_CREATE)
            return BindOnCreate(window, lparam);
        BaseWindow* self = FromHandle(window);
        if (!self)
            return DefWindowProcA(window, message, wparam, lparam);
        return self->Dispatch(window, message, wparam, lparam);
    });
}

BaseWindow::Dispatching::Dispatching(BaseWindow& window, UINT message)
    : window(window), outer(window.m_dispatching), message(message), deleted(0)
{
    window.m_dispatching = this;
}

BaseWindow::Dispatching::~Dispatching()
{
    if (!deleted)
        window.m_dispatching = outer;
}

// The object arrives as the creation parameter; -1 makes the creation fail.
LRESULT BaseWindow::BindOnCreate(HWND window, LPARAM lparam)
{
    const CREATESTRUCTA* creation = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    BaseWindow* self = creation ? static_cast<BaseWindow*>(creation->lpCreateParams) : nullptr;
    if (!self) {
        ModelessNotice(NoticeWindow::kAdd, "Cannot Create!  No `this`!");
        return -1;
    }
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    // Handlers may run before CreateWindowExA returns the handle.
    self->m_descriptor.window = window;
    // OnCreated waits for the loop, so it sees a finished window.
    PostMessageA(window, kCreatedMessage, 0, 0);
    return 0;
}

LRESULT BaseWindow::Dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    const Dispatching dispatch(*this, message);
    WindowEvent event;
    event.window = window;
    event.message = message;
    event.wparam = wparam;
    event.lparam = lparam;
    switch (message) {
    case kCreatedMessage:
        HandleCreated(event, dispatch);
        break;
    case WM_PAINT:
        // Validate at once and draw later, outside BeginPaint/EndPaint.
        BeginPaint(window, &m_paint_struct);
        EndPaint(window, &m_paint_struct);
        PostMessageA(window, kPaintMessage, 0, 0);
        break;
    case kPaintMessage:
        HandlePaint(event, dispatch);
        return 1;
    case WM_DESTROY:
        return HandleDestroy(event, dispatch);
    case WM_MOVE:
        HandleMove(event);
        break;
    case WM_SIZE:
        HandleSize(event);
        break;
    case WM_SETFOCUS:
        Call(&BaseWindow::OnFocus, event);
        break;
    case WM_KILLFOCUS:
        Call(&BaseWindow::OnFocusLost, event);
        break;
    case WM_DRAWITEM:
        Call(&BaseWindow::OnDrawItem, event);
        break;
    case WM_WINDOWPOSCHANGING:
        HandlePositionChanging(event);
        break;
    case WM_NCHITTEST:
        return HandleHitTest(event);
    case WM_KEYDOWN:
    case WM_KEYUP:
        HandleKey(event);
        break;
    case WM_COMMAND:
        if (Call(&BaseWindow::OnCommand, event))
            return 0;
        break;
    case WM_SYSCOMMAND:
        // Without a system menu the window has no Close to offer.
        if ((wparam & kSystemCommandMask) == SC_CLOSE &&
            !(GetWindowLongPtrA(window, GWL_STYLE) & WS_SYSMENU))
            return 0;
        break;
    case WM_TIMER:
        HandleTimer(event);
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        return HandleScroll(event, dispatch);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        HandleMouse(event);
        return 0;
    case WM_DROPFILES:
        return HandleDroppedFiles(event);
    case WM_NOTIFY:
        HandleToolTip(event);
        break;
    case WM_COPYDATA:
        return lparam && OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lparam)) ? TRUE : FALSE;
    default:
        if (message >= WM_USER)
            return HandleUserRange(event);
        break;
    }
    return Default(event);
}

// ---------------------------------------------------------------------------
// Unpacking, one kind of message each

template <class Result>
Result BaseWindow::Call(Result (BaseWindow::*handler)(WindowEvent&), const WindowEvent& event)
{
    WindowEvent copy = event;  // handlers may change their record
    return (this->*handler)(copy);
}

void BaseWindow::HandleCreated(const WindowEvent& event, const Dispatching& dispatch)
{
    SavePlacement();
    Call(&BaseWindow::OnCreated, event);
    if (dispatch.deleted)
        return;
    // One scroll call before any real scrolling, with an empty record.
    m_scroll = ScrollRecord();
    m_scroll.code = kScrollLineUp;
    m_scroll.orientation = kScrollInitial;
    OnScroll(m_scroll);
}

// The device context covers the whole window and is released afterwards.
void BaseWindow::HandlePaint(const WindowEvent& event, const Dispatching& dispatch)
{
    m_paint = PaintRecord();
    Fill(m_paint, event);
    HDC dc = GetDC(event.window);
    m_paint.dc = dc;
    m_paint.has_dc = dc != nullptr;
    OnPaint(m_paint);
    if (dc)
        ReleaseDC(event.window, dc);
    if (dispatch.deleted)
        return;
    m_paint.dc = nullptr;
    m_paint.has_dc = 0;
}

void BaseWindow::HandleMove(const WindowEvent& event)
{
    SavePlacement();
    MoveEvent move;
    Fill(move, event);
    move.x = GET_X_LPARAM(event.lparam);
    move.y = GET_Y_LPARAM(event.lparam);
    OnMoved(move);
}

void BaseWindow::HandleSize(const WindowEvent& event)
{
    SavePlacement();
    SizeEvent size;
    Fill(size, event);
    size.state = SizeState(event.wparam);
    if (event.wparam == SIZE_MINIMIZED)
        OnMinimized(size);
    else if (event.wparam == SIZE_MAXIMIZED)
        OnMaximized(size);
    else
        OnSized(size);
}

void BaseWindow::HandlePositionChanging(const WindowEvent& event)
{
    PositionEvent position;
    Fill(position, event);
    if (const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(event.lparam)) {
        position.position_window = pos->hwnd;
        position.insert_after = pos->hwndInsertAfter;
        position.x = pos->x;
        position.y = pos->y;
        position.width = pos->cx;
        position.height = pos->cy;
        position.flags = pos->flags;
    }
    OnPositionChanging(position);
}

// Shift and Control set the modifier state while held; only the navigation
// keys reach OnKeyDown, every release reaches OnKeyUp.
void BaseWindow::HandleKey(const WindowEvent& event)
{
    Fill(m_key, event);
    m_key.key = static_cast<UINT>(event.wparam);
    const bool modifier = event.wparam == VK_SHIFT || event.wparam == VK_CONTROL;
    if (event.message == WM_KEYUP) {
        if (modifier)
            m_key.modifiers = kModifierNone;
        OnKeyUp(m_key);
        return;
    }
    if (modifier)
        m_key.modifiers = event.wparam == VK_SHIFT ? kModifierShift : kModifierControl;
    // Page Up, Page Down, End, Home and the four arrows.
    if (event.wparam >= VK_PRIOR && event.wparam <= VK_DOWN)
        OnKeyDown(m_key);
}

void BaseWindow::HandleTimer(const WindowEvent& event)
{
    TimerEvent timer;
    Fill(timer, event);
    timer.id = event.wparam;
    OnTimer(timer);
}

// The class stays registered, with its brush, while any object holds it:
// other windows of the class may still be painting with that brush.
LRESULT BaseWindow::HandleDestroy(const WindowEvent& event, const Dispatching& dispatch)
{
    SavePlacement();
    const int main = m_main;
    WindowEvent destroyed = event;
    OnDestroyed(destroyed);
    if (main)
        PostQuitMessage(static_cast<int>(event.wparam));
    if (dispatch.deleted)
        return 0;
    m_tool_bar.Release();
    m_descriptor.window = nullptr;
    return 0;
}

LRESULT BaseWindow::HandleHitTest(const WindowEvent& event)
{
    const LRESULT result = Default(event);
    if (result == HTCLIENT || result < 0)
        return result;
    HitTestEvent hit;
    Fill(hit, event);
    hit.result = result;
    hit.x = GET_X_LPARAM(event.lparam);
    hit.y = GET_Y_LPARAM(event.lparam);
    OnHitTest(hit);
    return result;
}

LRESULT BaseWindow::HandleScroll(const WindowEvent& event, const Dispatching& dispatch)
{
    Fill(m_scroll, event);
    m_scroll.platform_code = LOWORD(event.wparam);
    m_scroll.thumb = HIWORD(event.wparam);
    m_scroll.bar = reinterpret_cast<HWND>(event.lparam);
    m_scroll.code = FrameworkScrollCode(m_scroll.platform_code);
    m_scroll.orientation = event.message == WM_VSCROLL ? kVertical : kHorizontal;
    if (m_scroll.code == kScrollOther)
        return Default(event);
    OnScroll(m_scroll);
    if (dispatch.deleted)
        return Default(event);
    if (m_scroll.code >= kScrollTop && m_scroll.code <= kScrollThumbPosition)
        RedrawWindow(event.window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    else
        UpdateWindow(event.window);
    return Default(event);
}

void BaseWindow::HandleMouse(const WindowEvent& event)
{
    const UINT key_flags = static_cast<UINT>(event.wparam);
    const int x = GET_X_LPARAM(event.lparam);
    const int y = GET_Y_LPARAM(event.lparam);
    if (event.message == WM_MOUSEMOVE) {
        Fill(m_mouse_move, event);
        m_mouse_move.key_flags = key_flags;
        m_mouse_move.x = x;
        m_mouse_move.y = y;
        OnMouseMove(m_mouse_move);
        return;
    }
    Fill(m_button, event);
    switch (event.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        m_button.action = kButtonPress;
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        m_button.action = kButtonRelease;
        break;
    default:
        m_button.action = kButtonDoubleClick;
        break;
    }
    const bool left = event.message >= WM_LBUTTONDOWN && event.message <= WM_LBUTTONDBLCLK;
    m_button.button = left ? kLeftButton : kRightButton;
    m_button.key_flags = key_flags;
    m_button.x = x;
    m_button.y = y;
    OnMouseButton(m_button);
}

LRESULT BaseWindow::HandleDroppedFiles(const WindowEvent& event)
{
    HDROP drop = reinterpret_cast<HDROP>(event.wparam);
    POINT point = {0, 0};
    if (!DragQueryPoint(drop, &point)) {
        // Dropped on the frame or caption: refused, and the drop finished
        // so that the shell's memory is not lost.
        MessageBeep(MB_ICONHAND);
        DragFinish(drop);
        return 0;
    }
    std::unique_ptr<DropInfo> files;
    try {
        files.reset(new DropInfo(drop));
    } catch (const std::bad_alloc&) {
        DragFinish(drop);
        return 0;
    }
    if (OnFilesDropped(files.get()))
        files.release();  // the handler keeps it
    return 0;
}

void BaseWindow::HandleToolTip(const WindowEvent& event)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(event.lparam);
    if (!header || header->code != TTN_NEEDTEXTA)
        return;
    if (!m_tool_bar.TipsEnabled() || !m_tool_bar.ButtonCount())
        return;
    const ToolBarButton* button = m_tool_bar.FindButton(static_cast<int>(header->idFrom));
    if (!button)
        return;
    // Cut to the platform's 80-byte buffer, ending with a zero.
    NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(event.lparam);
    lstrcpynA(info->szText, button->tip.c_str(), sizeof info->szText);
}

LRESULT BaseWindow::HandleUserRange(const WindowEvent& event)
{
    const UINT query = InstanceQueryMessage();
    if (query && event.message == query) {
        InstanceQueryEvent question;
        Fill(question, event);
        OnInstanceQuery(question);
        return question.reply == 1 ? kInstanceLetsStart : kInstanceTakesFocus;
    }
    WindowEvent user = event;
    if (event.message == kPrivateMessage) {
        OnPrivateMessage(user);
        return Default(event);
    }
    return OnUserMessage(user);
}
