#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "base/zstring.h"

// One button of a built-in tool bar.
struct ToolBarButton {
    int state = TBSTATE_ENABLED;
    int style = TBSTYLE_BUTTON;
    int bitmap = 0;
    int command = 0;
    zstring label;
    zstring tip;
};

// The optional common-controls tool bar inside a framework window.
class BuiltInToolBar {
    // It holds the sizes, the bitmaps, the buttons and, once made, the
    // window. A window fills it in its before-tool-bar hook and makes it only
    // when there are buttons. The program's own tool bar is a separate
    // window of its own.
public:
    BuiltInToolBar();
    ~BuiltInToolBar();
    BuiltInToolBar(const BuiltInToolBar&) = delete;
    BuiltInToolBar& operator=(const BuiltInToolBar&) = delete;

    // 1 when added.
    int AddButton(int bitmap, int command, const char* label, const char* tip);
    unsigned ButtonCount() const { return static_cast<unsigned>(m_buttons.size()); }
    const ToolBarButton& Button(unsigned i) const { return m_buttons[i]; }
    // The button that sends command, or null.
    const ToolBarButton* FindButton(int command) const;

    void SetButtonSize(int width, int height);
    void SetBitmapSize(int width, int height);
    // 1: the common controls' standard bitmaps; 0: the bitmap resource
    // named after the window.
    void UseStandardBitmaps(int on) { m_standard_bitmaps = on; }
    void EnableTips(int on) { m_tips = on; }
    int TipsEnabled() const { return m_tips; }
    UINT ControlId() const { return m_control_id; }
    HWND Handle() const { return m_window; }

    // Makes the tool bar window inside parent; 1 on success, 0 when there
    // are no buttons or no bitmap or the window cannot be made.
    int Create(HWND parent, HINSTANCE instance, const char* bitmap_name);
    // Forgets the window (which its parent destroys) and frees the bitmap.
    void Release();

private:
    int AddLabels();

    int m_button_width;
    int m_button_height;
    int m_bitmap_width;
    int m_bitmap_height;
    UINT m_control_id;
    int m_standard_bitmaps;
    int m_tips;
    HWND m_window;
    HBITMAP m_bitmap;  // owned; only for the window's own bitmap resource
    std::vector<ToolBarButton> m_buttons;
};
