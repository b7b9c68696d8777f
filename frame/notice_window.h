#pragma once

#include <windows.h>

// The process's one modeless notice window, which shows the current notice
// with its icon and keeps the earlier ones in a history list.
class NoticeWindow {
    // A dialog made from the "GTMODELESS" template. Closing it only hides
    // it, so the history stays for the next notice.
public:
    // Kinds of notice; any other kind adds its text to the history.
    static constexpr int kDestroy = -1;
    static constexpr int kHide = 0;   // 1 hides as well
    static constexpr int kShow = 2;
    static constexpr int kAdd = 255;

    // Creates the window when it does not exist yet (a missing template
    // shows the "NOTICE!" box and nothing else), then acts on kind.
    static void Show(int kind, const char* text);

    // Null until the window is first created, and again once it has been
    // destroyed, so that the next notice makes a new one.
    static HWND Handle();
    // The text most recently passed in; the window reads it when told to.
    static const char* CurrentText();
    // The standard icon last drawn in the window, or 0.
    static unsigned CurrentIcon();

    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

private:
    static INT_PTR OnCommand(HWND window, WPARAM wparam, LPARAM lparam);
};

// A notice of the given kind in the notice window.
void ModelessNotice(int kind, const char* text);
// A notice added to the history and shown: ModelessNotice(255, text).
void ModelessNotice(const char* text);
