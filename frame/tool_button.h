#pragma once

#include <windows.h>

#include "base/zstring.h"

class ToolWindow;

// Behaviour bits of a tool button's style.
const unsigned kToolStaysDown = 1;
const unsigned kToolPopsUp = 2;
const unsigned kToolToggles = 4;
const unsigned kToolFlat = 8;  // no frame, no offset
// The style of a button that acts on the button-up message as well.
const unsigned kToolActsOnRelease = 22;

// A tool button's states.
const int kToolButtonDown = 1;  // sunken
const int kToolButtonUp = 2;    // raised

// What the tool window hands to a new button.
struct ToolButtonDescriptor {
    // 1-based positions in the tool window's bitmap list; 0 for none.
    unsigned up_bitmap = 0;
    unsigned down_bitmap = 0;
    unsigned style = kToolPopsUp;  // 16 bits used
    unsigned command = 0;
    int state = kToolButtonUp;
    int group = 0;  // buttons of one non-zero group work as radio buttons
    HWND window = nullptr;
    const char* tip = nullptr;  // may be null; the button keeps a copy
    HCURSOR cursor = nullptr;   // the standard arrow when null
};

// One bitmap button of a tool window, drawn entirely here.
class ToolButton {
    // The object lives in its window's extra bytes and is deleted when the
    // window is destroyed. A click sends the command to the tool window's
    // parent; the pointer over a button shows its tip in the tool window's
    // caption.
public:
    static const char kClassName[];

    // Makes the object and its window at place inside tool; the window
    // then owns the object. Null when the window cannot be made.
    static ToolButton* Make(ToolWindow& tool, const ToolButtonDescriptor& descriptor, const RECT& place);

    ToolButton(const ToolButton&) = delete;
    ToolButton& operator=(const ToolButton&) = delete;

    // Slots, in order. Press tracks a click in a modal loop until the
    // button-up; 1 when it ended over the button.
    virtual int Press();
    // Asked on the button-up by buttons of style 22; 1 sends the command.
    virtual int ReleaseHook(LPARAM where);
    virtual void Command(LPARAM where);
    // Destroys the window when it still exists.
    virtual ~ToolButton();

    // The bitmap at its offset and, unless the button is flat, the raised
    // or sunken frame, into dc over the button's client rectangle.
    void Draw(HDC dc, const RECT& client);
    void Redraw();
    void SetState(int state);
    // Shows another bitmap of the tool window's list (1-based position),
    // up and down, and another tip (may be null).
    void SetLook(unsigned bitmap, const char* tip);
    // Raises the other buttons of this button's group that share its state.
    void ReleaseGroup();

    HWND Handle() const { return m_descriptor.window; }
    const ToolButtonDescriptor& Descriptor() const { return m_descriptor; }
    int State() const { return m_descriptor.state; }
    HCURSOR Cursor() const { return m_descriptor.cursor; }

    // The object of a button window, or null.
    static ToolButton* FromHandle(HWND window);
    // The button the pointer was last over, process-wide; null when none
    // or when that button has gone.
    static ToolButton* Hovered();
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam);

private:
    ToolButton(ToolWindow& tool, const ToolButtonDescriptor& descriptor);

    static int RegisterButtonClass(HCURSOR cursor);
    void OnMessage(UINT message, LPARAM lparam);
    void Hover();
    void Click(LPARAM where);
    // The modal part of Press: 1 when the button-up came over the button.
    int TrackPress(int former, MSG& up);
    int PointerInside(const MSG& message) const;
    HBITMAP CurrentBitmap();
    void Detach();

    ToolWindow& m_tool;  // not owned
    ToolButtonDescriptor m_descriptor;
    zstring m_tip;
    // While the object is being made or tracks a click it may not be
    // deleted with its window; it is marked and deleted afterwards.
    int m_busy;
    int m_orphaned;
};
