#include "frame/tool_window.h"

#include <new>

#include "frame/main_window_claim.h"
#include "frame/resource_object.h"
#include "frame/tool_button.h"

namespace {

// 0x14
const DWORD kToolExStyle = WS_EX_NOPARENTNOTIFY | WS_EX_ACCEPTFILES;
// 0x80C00000
const DWORD kToolStyle = WS_POPUP | WS_CAPTION;
// The size before the first button fits the window; roomy enough for the
// caption and a client area, so that the frame can be measured.
const int kStartWidth = 120;
const int kStartHeight = 60;
const int kOffsetFromOwner = 20;
// A button without a bitmap.
const int kBareButtonSize = 13;

int Larger(int a, int b)
{
    return a > b ? a : b;
}

}  // namespace

const char ToolWindow::kClassName[] = "TOOLWND";
const char ToolWindow::kCaption[] = "Tools";

ToolWindow::ToolWindow()
    : m_next_x(0), m_top_y(0), m_content_width(0), m_content_height(0), m_row_height(0),
      m_frame_width(-1), m_frame_height(-1)
{
}

ToolWindow::~ToolWindow()
{
    // The buttons draw from the bitmap list, so they go first.
    if (Handle() && IsWindow(Handle()))
        DestroyWindow(Handle());
    UnregisterWindowClass();  // with this class's ReleaseClass
}

// ---------------------------------------------------------------------------
// The window class and the creation values

void ToolWindow::FillClass(WNDCLASSA& window_class)
{
    BaseWindow::FillClass(window_class);
    if (window_class.hbrBackground)
        DeleteObject(window_class.hbrBackground);  // the base's own brush
    window_class.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    window_class.lpszMenuName = nullptr;
}

// The stock brush is not ours to delete.
void ToolWindow::ReleaseClass(WNDCLASSA&) {}

void ToolWindow::FillCreation(WindowSpec& fields)
{
    fields.ex_style = kToolExStyle;
    fields.style = kToolStyle;
    fields.menu = nullptr;
    fields.parent = nullptr;
}

void ToolWindow::DefaultRect(WindowRect& rect)
{
    POINT corner = {0, 0};
    ClientToScreen(MessageBoxOwner(), &corner);
    rect = {corner.x + kOffsetFromOwner, corner.y + kOffsetFromOwner, kStartWidth, kStartHeight};
}

const char* ToolWindow::ResourceName()
{
    return kClassName;
}

const char* ToolWindow::CaptionText(int)
{
    return kCaption;
}

// ---------------------------------------------------------------------------
// Bitmaps and buttons

unsigned ToolWindow::AddBitmap(const char* name)
{
    if (!name || !*name)
        return 0;
    try {
        if (!m_bitmaps.Append(new BitmapResource(name)))
            return 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return m_bitmaps.Count();
}

HBITMAP ToolWindow::BitmapAt(unsigned position)
{
    // Position 0 would count round to the last entry.
    if (position == 0 || position > m_bitmaps.Count())
        return nullptr;
    return static_cast<HBITMAP>(m_bitmaps.Element(position - 1)->Handle());
}

SIZE ToolWindow::ButtonSize(unsigned position)
{
    SIZE size = {kBareButtonSize, kBareButtonSize};
    BITMAP bitmap = {};
    HBITMAP handle = BitmapAt(position);
    if (handle && GetObjectA(handle, sizeof bitmap, &bitmap)) {
        size.cx = bitmap.bmWidth;
        size.cy = bitmap.bmHeight;
    }
    return size;
}

int ToolWindow::AddButton(const char* bitmap_name, const char* tip, unsigned command,
                          HCURSOR cursor)
{
    ToolButtonDescriptor descriptor;
    descriptor.up_bitmap = AddBitmap(bitmap_name);
    descriptor.down_bitmap = descriptor.up_bitmap;
    descriptor.style = kToolPopsUp;
    descriptor.state = kToolButtonUp;
    descriptor.group = 0;
    descriptor.tip = tip;
    descriptor.command = command;
    descriptor.cursor = cursor;
    return CreateButton(descriptor);
}

int ToolWindow::CreateButton(ToolButtonDescriptor& descriptor)
{
    if (!descriptor.cursor)
        descriptor.cursor = LoadCursorA(nullptr, IDC_ARROW);
    const SIZE size = ButtonSize(descriptor.up_bitmap);
    const RECT place = {m_next_x, m_top_y, m_next_x + size.cx, m_top_y + size.cy};
    ToolButton* button = ToolButton::Make(*this, descriptor, place);
    if (!button)
        return 0;
    descriptor.window = button->Handle();
    m_next_x += size.cx;
    m_content_width = Larger(m_next_x, m_content_width);
    m_content_height = Larger(m_top_y + size.cy, m_content_height);
    m_row_height = Larger(m_row_height, size.cy);
    Fit();
    return 1;
}

// ---------------------------------------------------------------------------
// Size and frame

void ToolWindow::Fit()
{
    HWND window = Handle();
    if (!window)
        return;
    RECT outer = {};
    GetWindowRect(window, &outer);
    if (m_frame_width == -1) {
        RECT inner = {};
        GetClientRect(window, &inner);
        m_frame_width = (outer.right - outer.left) - inner.right;
        m_frame_height = (outer.bottom - outer.top) - inner.bottom;
    }
    SetWindowPos(window, HWND_TOPMOST, outer.left, outer.top, m_content_width + m_frame_width,
                 m_content_height + m_frame_height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ToolWindow::RefreshFrame()
{
    HWND window = Handle();
    if (window && (GetWindowLongPtrA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION)
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

ToolButton* ToolWindow::ButtonFor(unsigned command)
{
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ToolButton* button = ToolButton::FromHandle(child);
        if (button && button->Descriptor().command == command)
            return button;
    }
    return nullptr;
}
