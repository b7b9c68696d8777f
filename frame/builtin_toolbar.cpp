#include "frame/builtin_toolbar.h"

#include <new>
#include <string>

#include "res/resource_ids.h"

namespace {

// 0x40000301; shown once its labels are in and it has its size.
const DWORD kToolBarStyle = WS_CHILD | TBSTYLE_WRAPABLE | TBSTYLE_TOOLTIPS | CCS_TOP;
const int kDefaultButtonWidth = 16;
const int kDefaultButtonHeight = 15;

#if !defined(_WIN64)
static_assert(sizeof(TBBUTTON) == 20, "tool bar entries are 20 bytes on 32-bit Windows");
#endif

}  // namespace

BuiltInToolBar::BuiltInToolBar()
    : m_button_width(kDefaultButtonWidth), m_button_height(kDefaultButtonHeight),
      m_bitmap_width(kDefaultButtonWidth), m_bitmap_height(kDefaultButtonHeight),
      m_control_id(IDC_BUILTIN_TOOLBAR), m_standard_bitmaps(1), m_tips(1), m_window(nullptr),
      m_bitmap(nullptr)
{
}

BuiltInToolBar::~BuiltInToolBar()
{
    Release();
}

int BuiltInToolBar::AddButton(int bitmap, int command, const char* label, const char* tip)
{
    try {
        ToolBarButton button;
        button.bitmap = bitmap;
        button.command = command;
        button.label = label ? label : "";
        button.tip = tip ? tip : "";
        m_buttons.push_back(button);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

const ToolBarButton* BuiltInToolBar::FindButton(int command) const
{
    for (const ToolBarButton& button : m_buttons) {
        if (button.command == command)
            return &button;
    }
    return nullptr;
}

void BuiltInToolBar::SetButtonSize(int width, int height)
{
    m_button_width = width;
    m_button_height = height;
}

void BuiltInToolBar::SetBitmapSize(int width, int height)
{
    m_bitmap_width = width;
    m_bitmap_height = height;
}

int BuiltInToolBar::Create(HWND parent, HINSTANCE instance, const char* bitmap_name)
{
    if (m_buttons.empty())
        return 0;
    Release();
    InitCommonControls();
    HINSTANCE bitmap_module = HINST_COMMCTRL;
    UINT_PTR bitmap_id = IDB_STD_LARGE_COLOR;
    if (!m_standard_bitmaps) {
        m_bitmap = LoadBitmapA(instance, bitmap_name);
        if (!m_bitmap)
            return 0;
        // With no module, the tool bar takes the bitmap's handle itself.
        bitmap_module = nullptr;
        bitmap_id = reinterpret_cast<UINT_PTR>(m_bitmap);
    }
    std::vector<TBBUTTON> entries(m_buttons.size());
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        entries[i].iBitmap = m_buttons[i].bitmap;
        entries[i].idCommand = m_buttons[i].command;
        entries[i].fsState = static_cast<BYTE>(m_buttons[i].state);
        entries[i].fsStyle = static_cast<BYTE>(m_buttons[i].style);
        entries[i].iString = static_cast<INT_PTR>(i);  // the label added at position i
    }
    const int count = static_cast<int>(entries.size());
    // The entry size is the platform's TBBUTTON, whatever the word size.
    m_window = CreateToolbarEx(parent, kToolBarStyle, m_control_id, count, bitmap_module,
                               bitmap_id, entries.data(), count, m_button_width,
                               m_button_height, m_bitmap_width, m_bitmap_height,
                               sizeof(TBBUTTON));
    if (!m_window)
        return 0;
    AddLabels();
    SendMessageA(m_window, TB_AUTOSIZE, 0, 0);
    ShowWindow(m_window, SW_SHOW);
    return 1;
}

// All labels go in one block: each ends with a zero byte, the block with
// one more.
int BuiltInToolBar::AddLabels()
{
    try {
        std::string block;
        for (const ToolBarButton& button : m_buttons) {
            block += button.label.c_str();
            block += '\0';
        }
        block += '\0';
        SendMessageA(m_window, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(block.data()));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

void BuiltInToolBar::Release()
{
    m_window = nullptr;
    if (m_bitmap) {
        DeleteObject(m_bitmap);
        m_bitmap = nullptr;
    }
}
