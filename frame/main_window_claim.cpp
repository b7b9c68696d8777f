#include "frame/main_window_claim.h"

#include "frame/base_window.h"

namespace {

// Windows are created on one thread at a time, so these stay unguarded.
int g_claimed = 0;
BaseWindow* g_main_window = nullptr;

}  // namespace

int ClaimMainWindow(BaseWindow* window)
{
    if (g_claimed)
        return 0;
    g_claimed = 1;
    g_main_window = window;
    return 1;
}

int MainWindowClaimed()
{
    return g_claimed;
}

BaseWindow* MainWindow()
{
    return g_main_window;
}

void ForgetMainWindow(const BaseWindow* window)
{
    if (g_main_window == window)
        g_main_window = nullptr;
}

HWND MessageBoxOwner()
{
    if (g_main_window && g_main_window->Handle())
        return g_main_window->Handle();
    return GetDesktopWindow();
}
