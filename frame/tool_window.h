#pragma once

#include <windows.h>

#include "frame/base_window.h"
#include "frame/object_list.h"

class ToolButton;
struct ToolButtonDescriptor;

// The small captioned pop-up window that holds a row of bitmap buttons and
// sends their commands to its parent.
class ToolWindow : public BaseWindow {
    // The buttons are child windows that own their objects; the window owns
    // the list of their bitmaps, which load as the buttons are made. The
    // window fits itself to its buttons after each one.
public:
    static const char kClassName[];
    static const char kCaption[];

    ToolWindow();
    // Destroys the window (and so the buttons) before the bitmap list goes.
    ~ToolWindow() override;

    // A button of style 2 showing the named bitmap of the program file,
    // with tip (may be null), command and cursor (the standard arrow when
    // null); 1, or 0 when the button cannot be made.
    int AddButton(const char* bitmap_name, const char* tip, unsigned command,
                  HCURSOR cursor = nullptr);
    // A button from descriptor at the end of the row; descriptor.window is filled in.
    // 1, or 0 when the window cannot be made.
    int CreateButton(ToolButtonDescriptor& descriptor);
    // Appends the named bitmap of the program file to the bitmap list; its
    // 1-based position, or 0 for no name.
    unsigned AddBitmap(const char* name);
    // The bitmap at a 1-based position, loaded; null for no such entry or
    // a bitmap that cannot be loaded.
    HBITMAP BitmapAt(unsigned position);
    ObjectList& Bitmaps() { return m_bitmaps; }

    // The button that sends command, or null.
    ToolButton* ButtonFor(unsigned command);

    // Sizes the window to its content plus its frame.
    void Fit();
    // Redraws the frame of a captioned window without moving it.
    void RefreshFrame();

    int NextX() const { return m_next_x; }
    int TopY() const { return m_top_y; }
    int ContentWidth() const { return m_content_width; }
    int ContentHeight() const { return m_content_height; }
    int RowHeight() const { return m_row_height; }
    // -1 until the first fit measures them.
    int FrameWidth() const { return m_frame_width; }
    int FrameHeight() const { return m_frame_height; }

    // 20 pixels right of and below the message-box owner's client corner.
    void DefaultRect(WindowRect& rect) override;
    const char* ResourceName() override;
    const char* CaptionText(int number) override;

protected:
    void FillClass(WNDCLASSA& window_class) override;
    void ReleaseClass(WNDCLASSA& window_class) override;
    void FillCreation(WindowSpec& fields) override;

private:
    // The size of the bitmap at position, or 13 x 13 without one.
    SIZE ButtonSize(unsigned position);

    int m_next_x;
    int m_top_y;
    int m_content_width;
    int m_content_height;
    int m_row_height;
    int m_frame_width;
    int m_frame_height;
    ObjectList m_bitmaps;
};
