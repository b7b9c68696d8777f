// Watching this process's own windows from a second thread, while the test
// thread sits in a modal loop (a dialog or the prompt) that only returns
// once the window is done.
#pragma once

#include <windows.h>

#include <string>
#include <thread>
#include <utility>

#include "tests/frame/gui_test_support.h"

// A visible top-level window of this process with the class and, when
// given, the caption; null when none comes within the time.
inline HWND WaitForOwnWindow(const char* class_name, const char* caption = nullptr,
                             DWORD milliseconds = 5000)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
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
class Watcher {
public:
    template <class Work>
    explicit Watcher(Work work) : m_thread(std::move(work)) {}
    ~Watcher() { Join(); }
    void Join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    std::thread m_thread;
};

// The prompt's window class: the framework's default class name.
const char kPromptClass[] = "VeltWnd2";

// A mouse message at a point inside the box.
inline void Click(HWND window, UINT message = WM_LBUTTONDOWN)
{
    const WPARAM keys = message == WM_RBUTTONDOWN ? MK_RBUTTON
                        : message == WM_LBUTTONDOWN ? MK_LBUTTON
                                                    : 0;
    PostMessageA(window, message, keys, MAKELPARAM(60, 40));
}
