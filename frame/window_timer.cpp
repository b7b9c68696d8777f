#include "frame/window_timer.h"

UINT_PTR StartTimer(HWND window, UINT_PTR id, UINT period)
{
    return SetTimer(window, id, period, nullptr);
}

int StopTimer(HWND window, UINT_PTR id)
{
    return KillTimer(window, id) ? 1 : 0;
}
