#pragma once

#include <windows.h>

class BaseWindow;

// The process's main window: the one framework window that claimed the
// message loop. The claim is never given back, so a second loop is refused
// even after the first has ended; the pointer itself is dropped when the
// window object is destroyed, so nothing is left dangling.

// 1 when window became the main window, 0 when the loop was already claimed.
int ClaimMainWindow(BaseWindow* window);
int MainWindowClaimed();
// Null before the claim and after the main window object has gone.
BaseWindow* MainWindow();
// Called by every window object's destructor.
void ForgetMainWindow(const BaseWindow* window);

// The owner of message boxes and dialogs: the main window while it has a
// window, otherwise the desktop window.
HWND MessageBoxOwner();
