#pragma once

#include <windows.h>

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// Dispatches this thread's pending messages, for that many milliseconds
// when given; a quit message is dropped.
void PumpMessages(DWORD milliseconds = 0);
// Pumps until done() holds or the time is up; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 5000);

// What one message box showed.
struct SeenBox {
    std::string caption;
    std::string text;
    HICON icon = nullptr;  // the standard icons are shared handles
    HWND owner = nullptr;
    std::vector<int> buttons;  // the ids of its buttons, in window order
};

// While it lives, records each message box this thread shows and presses
// the next of the given answers (any id; the first button once they run
// out). One answerer at a time.
class BoxAnswerer {
public:
    explicit BoxAnswerer(std::vector<int> answers = {});
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    const std::vector<SeenBox>& Boxes() const { return m_boxes; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam);
    void Answer(HWND box);

    std::vector<int> m_answers;
    size_t m_next;
    std::vector<SeenBox> m_boxes;
    HHOOK m_hook;
};

// The whole text of a window or control.
std::string WindowText(HWND window);

// The top-level windows that belong to this thread and are still alive.
int ThreadWindowCount();

// What a leak would make grow: the windows of this thread, and the highest
// GDI and kernel handle-table slots that fresh objects take (the platform's
// own counts read 0 under Wine).
struct HeldObjects {
    int windows = 0;
    unsigned gdi_high_water = 0;
    unsigned handle_high_water = 0;
    bool operator==(const HeldObjects& other) const;
};
HeldObjects CountHeldObjects();
std::ostream& operator<<(std::ostream& out, const HeldObjects& held);

// Presses and releases the left button at a screen point, as the mouse
// does: the press goes to the window that has the capture, if any.
void ClickAtScreenPoint(POINT point);

// Ends a death test's child process: 0 when its checks passed, 1 after
// printing each failure to standard error (the parent shows only that).
[[noreturn]] void ExitWithTestResult();
