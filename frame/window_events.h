#pragma once

#include <windows.h>

// The records the window procedure hands to a window's handlers: the raw
// message, plus the fields each kind of handler reads. The key, mouse,
// button, scroll and paint records live in the window and keep the last
// event of their kind.

// The bits of a WM_SYSCOMMAND's first parameter that name the command;
// the platform keeps the low four for itself.
const WPARAM kSystemCommandMask = 0xFFF0;

struct WindowEvent {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wparam = 0;
    LPARAM lparam = 0;
};

struct MoveEvent : WindowEvent {
    int x = 0;
    int y = 0;
};

// Size states, from the platform's SIZE_* codes.
const int kSizeMinimized = 0;
const int kSizeMaximized = 1;
const int kSizeRestored = 2;
const int kSizeOther = 3;

struct SizeEvent : WindowEvent {
    int state = kSizeOther;
};

struct TimerEvent : WindowEvent {
    UINT_PTR id = 0;
};

// The seven fields of the platform's WINDOWPOS.
struct PositionEvent : WindowEvent {
    HWND position_window = nullptr;
    HWND insert_after = nullptr;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    UINT flags = 0;
};

struct HitTestEvent : WindowEvent {
    LRESULT result = 0;  // what the default processing found
    int x = 0;           // screen coordinates
    int y = 0;
};

// A running copy's answer: a handler that sets reply to 1 lets a new copy
// start (200); otherwise the running copy takes the focus (100).
struct InstanceQueryEvent : WindowEvent {
    int reply = 0;
};

// The replies to the instance query message.
const LRESULT kInstanceTakesFocus = 100;
const LRESULT kInstanceLetsStart = 200;

// Modifier states of the key record.
const int kModifierShift = 0;
const int kModifierControl = 1;
const int kModifierNone = 2;

struct KeyRecord : WindowEvent {
    int modifiers = kModifierNone;
    UINT key = 0;  // virtual key code
};

struct MouseMoveRecord : WindowEvent {
    UINT key_flags = 0;  // MK_* bits
    int x = 0;
    int y = 0;
};

const int kLeftButton = 0;
const int kRightButton = 1;
const int kButtonPress = 0;
const int kButtonRelease = 1;
const int kButtonDoubleClick = 2;

struct ButtonRecord : WindowEvent {
    int button = kLeftButton;
    int action = kButtonPress;
    UINT key_flags = 0;
    int x = 0;
    int y = 0;
};

// The framework's scroll codes; the platform's SB_* codes map onto them.
const int kScrollTop = 1;
const int kScrollBottom = 2;
const int kScrollPageUp = 3;
const int kScrollPageDown = 4;
const int kScrollLineUp = 5;
const int kScrollLineDown = 6;
const int kScrollThumbPosition = 7;
const int kScrollThumbTrack = 8;
const int kScrollEnd = 9;
const int kScrollOther = 10;

const int kHorizontal = 0;
const int kVertical = 1;
// The one scroll call after creation, before any real scrolling.
const int kScrollInitial = 2;

struct ScrollRecord : WindowEvent {
    WORD platform_code = 0;
    WORD thumb = 0;
    HWND bar = nullptr;
    int code = 0;
    int orientation = 0;
};

struct PaintRecord : WindowEvent {
    int has_dc = 0;
    HDC dc = nullptr;  // for the whole window; released after the handler
};
