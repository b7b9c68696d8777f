#include "frame/base_window.h"

#include <algorithm>
#include <new>
#include <ostream>

#include "frame/main_window_claim.h"
#include "frame/program_instance.h"
#include "frame/window_thread.h"
#include "frame/window_timer.h"

namespace {

// 0x082B
const UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC | CS_SAVEBITS;
const int kWindowBytes = 4;
// 0x14
const DWORD kDefaultExStyle = WS_EX_NOPARENTNOTIFY | WS_EX_ACCEPTFILES;
// 0x90880000
const DWORD kDefaultStyle = WS_POPUP | WS_VISIBLE | WS_BORDER | WS_SYSMENU;
const char kDefaultResourceName[] = "VeltWnd2";
const WindowRect kDefaultRect = {10, 10, 400, 200};

// Each window takes the next serial number.
unsigned g_next_serial = 0;

int ClassExists(const char* name)
{
    WNDCLASSA existing = {};
    return GetClassInfoA(ProgramInstance(), name, &existing) ? 1 : 0;
}

}  // namespace

BaseWindow::BaseWindow()
    : m_paint_struct(), m_placement_pending(0), m_main(0), m_class_atom(0), m_class_atom_local(0),
      m_serial(g_next_serial++), m_dispatching(nullptr)
{
}

BaseWindow::~BaseWindow()
{
    // Deleted by one of its own handlers: the messages under way stop
    // using the object, and a window inside its own destruction is left to
    // finish it.
    int window_going = 0;
    for (Dispatching* dispatch = m_dispatching; dispatch; dispatch = dispatch->outer) {
        dispatch->deleted = 1;
        if (dispatch->message == WM_DESTROY)
            window_going = 1;
    }
    m_dispatching = nullptr;
    ForgetMainWindow(this);
    HWND window = m_descriptor.window;
    if (window && IsWindow(window)) {
        // Fails for a window that another thread made; cutting the tie
        // below leaves that window to default processing.
        if (!window_going)
            DestroyWindow(window);
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    UnregisterWindowClass();
}

int BaseWindow::UnregisterWindowClass()
{
    if (!m_class_atom || m_class_name.is_null())
        return 0;
    WNDCLASSA window_class = {};
    if (!GetClassInfoA(ProgramInstance(), m_class_name.c_str(), &window_class) ||
        !UnregisterClassA(m_class_name.c_str(), ProgramInstance()))
        return 0;
    ReleaseClass(window_class);
    ForgetClassAtom();
    return 1;
}

void BaseWindow::ForgetClassAtom()
{
    if (m_class_atom_local)
        DeleteAtom(m_class_atom);
    m_class_atom = 0;
    m_class_atom_local = 0;
}

// ---------------------------------------------------------------------------
// Default behaviour of the virtual slots

void BaseWindow::FillClass(WNDCLASSA& window_class)
{
    HINSTANCE instance = ProgramInstance();
    const char* name = ResourceName();
    window_class.style = kClassStyle;
    window_class.lpfnWndProc = &BaseWindow::WindowProcedure;
    window_class.cbClsExtra = 0;
    window_class.cbWndExtra = kWindowBytes;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, name);
    window_class.hCursor = LoadCursorA(instance, name);
    if (!window_class.hCursor)
        window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = CreateSolidBrush(BackgroundColour());
    window_class.lpszMenuName = name;
    window_class.lpszClassName = name;
}

void BaseWindow::ReleaseClass(WNDCLASSA& window_class)
{
    if (window_class.hbrBackground)
        DeleteObject(window_class.hbrBackground);
}

void BaseWindow::FillCreation(WindowSpec& fields)
{
    fields.ex_style = kDefaultExStyle;
    fields.style = kDefaultStyle;
    fields.menu = LoadMenuA(ProgramInstance(), ResourceName());
    fields.parent = GetDesktopWindow();
}

int BaseWindow::SpareQuery()
{
    return 0;
}

void BaseWindow::OnTimer(TimerEvent&)
{
    MessageBeep(0);
}

void BaseWindow::OnMinimized(SizeEvent&) {}
void BaseWindow::OnMaximized(SizeEvent&) {}
void BaseWindow::OnSized(SizeEvent&) {}
void BaseWindow::OnMoved(MoveEvent&) {}
void BaseWindow::OnCreated(WindowEvent&) {}

void BaseWindow::OnDestroyed(WindowEvent& event)
{
    // Deleting a stock font does nothing, so the fallback is harmless.
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(event.window, WM_GETFONT, 0, 0));
    if (!font)
        font = GetStockObject(SYSTEM_FONT);
    DeleteObject(font);
}

void BaseWindow::OnPositionChanging(PositionEvent&) {}
void BaseWindow::OnHitTest(HitTestEvent&) {}
void BaseWindow::OnFocus(WindowEvent&) {}
void BaseWindow::OnFocusLost(WindowEvent&) {}
void BaseWindow::OnInstanceQuery(InstanceQueryEvent&) {}

// Navigation keys scroll the window vertically.
void BaseWindow::OnKeyDown(KeyRecord& key)
{
    int code = -1;
    switch (key.key) {
    case VK_PRIOR:
    case VK_LEFT:
    case VK_UP:
        code = SB_LINEUP;
        break;
    case VK_NEXT:
    case VK_RIGHT:
    case VK_DOWN:
        code = SB_LINEDOWN;
        break;
    case VK_END:
        code = SB_BOTTOM;
        break;
    case VK_HOME:
        code = SB_TOP;
        break;
    default:
        return;
    }
    SendMessageA(key.window, WM_VSCROLL, MAKEWPARAM(code, 0), 0);
}

void BaseWindow::OnPrivateMessage(WindowEvent&) {}

LRESULT BaseWindow::OnUserMessage(WindowEvent& event)
{
    return DefWindowProcA(event.window, event.message, event.wparam, event.lparam);
}

int BaseWindow::OnCommand(WindowEvent&)
{
    return 0;
}

int BaseWindow::OnCopyData(const COPYDATASTRUCT&)
{
    return 0;
}

void BaseWindow::OnPaint(PaintRecord&) {}
void BaseWindow::OnMouseMove(MouseMoveRecord&) {}
void BaseWindow::OnMouseButton(ButtonRecord&) {}
void BaseWindow::OnScroll(ScrollRecord&) {}

int BaseWindow::OnFilesDropped(DropInfo*)
{
    return 0;
}

int BaseWindow::OnKeyUp(KeyRecord&)
{
    return 0;
}

void BaseWindow::OnDrawItem(WindowEvent&) {}
void BaseWindow::BeforeToolBar(BuiltInToolBar&) {}
void BaseWindow::AfterToolBar(BuiltInToolBar&) {}

int BaseWindow::ReadStateAndCreate(std::istream& in, HWND parent)
{
    ReadPlacement(in);
    return Create(parent);
}

int BaseWindow::Create(HWND parent)
{
    RegisterWindowClass();
    return CreateWindowWith(CaptionText(0), parent);
}

int BaseWindow::IsDone()
{
    return 1;
}

int BaseWindow::Destroy()
{
    return DestroyWindow(m_descriptor.window) ? 1 : 0;
}

int BaseWindow::Close()
{
    DestroyWindow(m_descriptor.window);
    return 1;
}

int BaseWindow::Spare(int)
{
    return 0;
}

void BaseWindow::DefaultRect(WindowRect& rect)
{
    rect = kDefaultRect;
}

COLORREF BaseWindow::BackgroundColour()
{
    return GetSysColor(COLOR_APPWORKSPACE);
}

const char* BaseWindow::ResourceName()
{
    return kDefaultResourceName;
}

const char* BaseWindow::CaptionText(int)
{
    return ResourceName();
}

// ---------------------------------------------------------------------------
// Class registration and creation

int BaseWindow::RegisterWindowClass()
{
    const char* name = ResourceName();
    try {
        m_class_name = name;
    } catch (const std::bad_alloc&) {
        return 1;  // creation will fail and show it
    }
    ATOM atom = FindAtomA(name);
    const int local = atom != 0;
    if (!atom)
        atom = GlobalFindAtomA(name);
    // A name can outlive its class in the atom tables (Wine keeps class
    // names in the global table after the class is gone), so the class
    // itself must be there too.
    if (atom && ClassExists(name)) {
        m_class_atom = atom;
        m_class_atom_local = local;
        return 1;
    }
    WNDCLASSA window_class = {};
    FillClass(window_class);
    const ATOM registered = RegisterClassA(&window_class);
    if (!registered) {
        ReleaseClass(window_class);
        return 1;
    }
    char atom_name[256];
    if (GetAtomNameA(registered, atom_name, sizeof atom_name)) {
        m_class_atom = registered;
        m_class_atom_local = 1;
    } else if (GlobalGetAtomNameA(registered, atom_name, sizeof atom_name)) {
        m_class_atom = registered;
        m_class_atom_local = 0;
    } else {
        // The class table cannot be searched by name: record the name in
        // the local table, where the next window of this class finds it.
        m_class_atom = AddAtomA(name);
        m_class_atom_local = 1;
    }
    return 1;
}

int BaseWindow::CreateWindowWith(const char* caption, HWND parent)
{
    // One window per object: a second would leave the first bound to it.
    if (m_descriptor.window && IsWindow(m_descriptor.window))
        return 0;
    FillCreation(m_descriptor);
    const DWORD style = m_descriptor.style & ~WS_VISIBLE;
    if (!m_placement_pending) {
        DefaultRect(m_rect);
    } else {
        // Open where the placement will put it anyway.
        const RECT& normal = m_descriptor.placement.rcNormalPosition;
        m_rect = {normal.left, normal.top, normal.right - normal.left, normal.bottom - normal.top};
    }
    if (parent)
        m_descriptor.parent = parent;
    HWND window = CreateWindowExA(m_descriptor.ex_style, ResourceName(), caption, style, m_rect.x,
                                  m_rect.y, m_rect.width, m_rect.height, m_descriptor.parent,
                                  m_descriptor.menu, ProgramInstance(), this);
    if (!window) {
        // A menu goes with its window; without one nobody would free it.
        if (m_descriptor.menu)
            DestroyMenu(m_descriptor.menu);
        m_descriptor.menu = nullptr;
        m_descriptor.window = nullptr;
        return 0;
    }
    m_descriptor.window = window;
    BeforeToolBar(m_tool_bar);
    if (m_tool_bar.ButtonCount())
        m_tool_bar.Create(window, ProgramInstance(), ResourceName());
    AfterToolBar(m_tool_bar);
    if (m_descriptor.ex_style & WS_EX_ACCEPTFILES)
        AcceptDroppedFiles();
    if (m_placement_pending)
        ApplyPlacement();
    else if (m_descriptor.style & WS_VISIBLE)
        ShowWindow(window, SW_SHOW);
    return 1;
}

// ---------------------------------------------------------------------------
// Placement, dropped files, timers

int BaseWindow::SavePlacement()
{
    // The moves of creation come before a pending placement is applied;
    // they must not overwrite it.
    if (m_placement_pending || !m_descriptor.window || !IsWindow(m_descriptor.window))
        return 0;
    m_descriptor.placement.length = kPlacementLength;
    return GetWindowPlacement(m_descriptor.window, &m_descriptor.placement) ? 1 : 0;
}

// A placement saved on another screen, or on a larger one, is brought
// inside the work area of the monitor nearest to it, keeping its size where
// it fits. Placements are in workspace coordinates, whose origin is the
// corner of the monitor's work area.
static RECT KeptOnScreen(RECT rect)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info))
        return rect;
    const LONG area_width = info.rcWork.right - info.rcWork.left;
    const LONG area_height = info.rcWork.bottom - info.rcWork.top;
    const LONG width = std::min(rect.right - rect.left, area_width);
    const LONG height = std::min(rect.bottom - rect.top, area_height);
    const LONG left = info.rcMonitor.left;
    const LONG top = info.rcMonitor.top;
    const LONG x = std::max(left, std::min(rect.left, left + area_width - width));
    const LONG y = std::max(top, std::min(rect.top, top + area_height - height));
    return RECT{x, y, x + width, y + height};
}

int BaseWindow::ApplyPlacement()
{
    if (!m_descriptor.window)
        return 0;
    m_placement_pending = 0;
    // A copy: the moves it causes save the placement over the original
    // while the system still reads it.
    WINDOWPLACEMENT placement = m_descriptor.placement;
    placement.rcNormalPosition = KeptOnScreen(placement.rcNormalPosition);
    return SetWindowPlacement(m_descriptor.window, &placement) ? 1 : 0;
}

std::ostream& BaseWindow::WritePlacement(std::ostream& out)
{
    SavePlacement();
    if (!out)
        return out;
    return WritePlacementRecord(out, m_descriptor.placement);
}

int BaseWindow::ReadPlacement(std::istream& in)
{
    if (!ReadPlacementRecord(in, m_descriptor.placement))
        return 0;
    m_descriptor.placement.length = kPlacementLength;
    if (m_descriptor.window)
        ApplyPlacement();
    else
        m_placement_pending = 1;
    return 1;
}

void BaseWindow::AcceptDroppedFiles()
{
    DragAcceptFiles(m_descriptor.window, TRUE);
}

UINT_PTR BaseWindow::StartTimer(UINT_PTR id, UINT period)
{
    return ::StartTimer(m_descriptor.window, id, period);
}

int BaseWindow::StopTimer(UINT_PTR id)
{
    return ::StopTimer(m_descriptor.window, id);
}
