#pragma once

#include <windows.h>

// Plain window timers: ticks arrive as WM_TIMER and reach the window's
// OnTimer. Starting a timer that already runs restarts its period.

// SetTimer's result: the id, or 0 on failure or without a window.
UINT_PTR StartTimer(HWND window, UINT_PTR id, UINT period);
// 1 when the timer was stopped; 0 without a window.
int StopTimer(HWND window, UINT_PTR id);
