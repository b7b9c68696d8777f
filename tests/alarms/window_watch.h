// Watching this process's own windows from a second thread, while the test
// thread sits in a modal loop (a dialog or the prompt) that only returns
// once the window is done.
#pragma once

#include <windows.h>

#include <string>
#include <thread>
#include <utility>

inline std::string TextOf(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], length + 1)));
    return text;
}

struct OwnWindowQuery {
    const char* class_name;
    const char* caption;
    HWND found;
};

inline BOOL CALLBACK MatchOwnWindow(HWND window, LPARAM parameter)
{
    OwnWindowQuery& query = *reinterpret_cast<OwnWindowQuery*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
        lstrcmpA(name, query.class_name) != 0 || (query.caption && TextOf(window) != query.caption))
        return TRUE;
    query.found = window;
    return FALSE;
}

// A visible top-level window of this process with the class and, when
// given, the caption; null when none comes within the time.
inline HWND WaitForOwnWindow(const char* class_name, const char* caption = nullptr,
                             DWORD milliseconds = 5000)
{
    OwnWindowQuery query = {class_name, caption, nullptr};
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        EnumWindows(MatchOwnWindow, reinterpret_cast<LPARAM>(&query));
        if (query.found)
            return query.found;
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
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;
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

// What the screen showed of a prompt window, read from outside.
struct SeenPrompt {
    HWND window = nullptr;
    std::string caption;
    RECT rect = {};
    RECT client = {};
    DWORD style = 0;
    DWORD ex_style = 0;
    int icon_pixels = 0;  // pixels of the icon square unlike the white box and
                          // the window's background
    int text_pixels = 0;  // black pixels inside the box, right of the icon
    DWORD frame = 0;      // the box's left edge, half way down, 0x00RRGGBB
};

// The client area's pixels, copied out of the window at once.
class ClientPixels {
public:
    explicit ClientPixels(HWND window)
    {
        RECT client = {};
        GetClientRect(window, &client);
        m_width = client.right;
        m_height = client.bottom;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = m_width;
        info.bmiHeader.biHeight = -m_height;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        HDC dc = GetDC(window);
        HDC memory = CreateCompatibleDC(dc);
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<const DWORD*>(bits);
        HGDIOBJ previous = SelectObject(memory, m_bitmap);
        BitBlt(memory, 0, 0, m_width, m_height, dc, 0, 0, SRCCOPY);
        GdiFlush();
        SelectObject(memory, previous);
        DeleteDC(memory);
        ReleaseDC(window, dc);
    }
    ~ClientPixels() { DeleteObject(m_bitmap); }
    ClientPixels(const ClientPixels&) = delete;
    ClientPixels& operator=(const ClientPixels&) = delete;

    // 0x00RRGGBB, or 0xFFFFFFFF outside.
    DWORD At(int x, int y) const
    {
        if (!m_bits || x < 0 || y < 0 || x >= m_width || y >= m_height)
            return 0xFFFFFFFF;
        return m_bits[y * m_width + x] & 0xFFFFFF;
    }

private:
    HBITMAP m_bitmap = nullptr;
    const DWORD* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
};

// Waits for the prompt captioned caption, lets it paint and reads it.
inline SeenPrompt SeePrompt(const char* caption)
{
    SeenPrompt seen;
    seen.window = WaitForOwnWindow(kPromptClass, caption);
    if (!seen.window)
        return seen;
    Sleep(300);
    seen.caption = TextOf(seen.window);
    GetWindowRect(seen.window, &seen.rect);
    GetClientRect(seen.window, &seen.client);
    seen.style = static_cast<DWORD>(GetWindowLongA(seen.window, GWL_STYLE));
    seen.ex_style = static_cast<DWORD>(GetWindowLongA(seen.window, GWL_EXSTYLE));
    const int icon_width = GetSystemMetrics(SM_CXICON);
    const int icon_height = GetSystemMetrics(SM_CYICON);
    const ClientPixels pixels(seen.window);
    const DWORD white = 0xFFFFFF;
    const DWORD background = pixels.At(1, 1);
    // The icon square, less the box's frame lines that cross it.
    for (int y = 2; y < 2 + icon_height; ++y)
        for (int x = 2; x < icon_width; ++x) {
            const DWORD pixel = pixels.At(x, y);
            seen.icon_pixels += pixel != background && pixel != white;
        }
    for (int y = icon_height + 2; y < seen.client.bottom - icon_height / 2 - 1; ++y)
        for (int x = icon_width + 2; x < seen.client.right - icon_width / 2 - 1; ++x)
            seen.text_pixels += pixels.At(x, y) == 0;
    seen.frame = pixels.At(icon_width, seen.client.bottom / 2);
    return seen;
}

// A mouse message at a point inside the box.
inline void Click(HWND window, UINT message = WM_LBUTTONDOWN)
{
    const WPARAM keys = message == WM_RBUTTONDOWN ? MK_RBUTTON
                        : message == WM_LBUTTONDOWN ? MK_LBUTTON
                                                    : 0;
    PostMessageA(window, message, keys, MAKELPARAM(60, 40));
}
