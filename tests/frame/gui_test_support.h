#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

// Dispatches this thread's pending messages, for that many milliseconds when given; a quit
// message is dropped. PumpUntil pumps until done() holds or the time is up; returns done().
void PumpMessages(DWORD milliseconds = 0);
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 5000);

// What one message box showed.
struct SeenBox {
    std::string caption, text;
};

// While it lives, records each message box this thread shows and presses its OK button.
// One answerer at a time.
class BoxAnswerer {
public:
    BoxAnswerer();
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    const std::vector<SeenBox>& Boxes() const { return m_boxes; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam);
    void Answer(HWND box);

    std::vector<SeenBox> m_boxes;
    HHOOK m_hook;
};

// The whole text of a window or control; the live top-level windows of this thread.
std::string WindowText(HWND window);
int ThreadWindowCount();

// What a leak would make grow: the windows of this thread, and the highest GDI and kernel
// handle-table slots that fresh objects take (freed slots are taken again first; the
// platform's own counts read 0 under Wine).
std::array<unsigned, 3> CountHeldObjects();

// Presses and releases the left button over the centre of a window's client area, as the
// mouse does: the press goes to the window that has the capture, if any.
void ClickAtCentre(HWND window);
