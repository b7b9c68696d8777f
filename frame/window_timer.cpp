#include "frame/window_timer.h"

// Without a window the platform makes a thread timer under an id of its own
// choosing, which the caller never learns and cannot stop; and stopping
// with no window would stop such a timer of someone else's.

UINT_PTR StartTimer(HWND window, UINT_PTR id, UINT period)
{
    if (!window)
        return 0;
    return SetTimer(window, id, period, nullptr);
}

int StopTimer(HWND window, UINT_PTR id)
{
    if (!window)
        return 0;
    return KillTimer(window, id) ? 1 : 0;
}
