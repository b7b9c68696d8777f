#pragma once

#include <windows.h>

#include <functional>

// How a message loop ended: by a quit message (with its code), or
// otherwise (done, or the window it served has gone).
struct LoopEnd {
    int quit = 0;
    int code = 0;
};

// The keys of a table (LoadAcceleratorsA) become commands to window in the
// thread's main loop, the one that serves all its windows; null for none.
void SetLoopAccelerators(HWND window, HACCEL table);

// Gets, translates and dispatches this thread's messages, or only window's
// and its children's when window is given, until a quit message arrives,
// done() holds after a message, or no message can come (GetMessageA fails
// once the window is gone).
LoopEnd ServeMessages(HWND window, const std::function<bool()>& done = nullptr);
