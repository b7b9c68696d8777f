// Watching this process's own windows from a second thread while the test
// thread sits in a modal loop.
#pragma once

#include <windows.h>

#include <thread>
#include <utility>

#include "tests/frame/gui_test_support.h"

// A visible top-level window of this process with the class and caption;
// null when none comes within five seconds.
inline HWND WaitForOwnWindow(const char* class_name, const char* caption)
{
    const ULONGLONG end = GetTickCount64() + 5000;
    do {
        for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, class_name, caption));) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(window))
                return window;
        }
        Sleep(20);
    } while (GetTickCount64() < end);
    return nullptr;
}

// Runs work on a thread of its own; joined when the watcher goes.
struct Watcher {
    template <class Work>
    explicit Watcher(Work work) : thread(std::move(work)) {}
    ~Watcher() { Join(); }
    void Join()
    {
        if (thread.joinable())
            thread.join();
    }
    std::thread thread;
};

const char kPromptClass[] = "VeltWnd2";  // the framework's default class

inline void Click(HWND window, UINT message = WM_LBUTTONDOWN)
{
    PostMessageA(window, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(60, 40));
}
