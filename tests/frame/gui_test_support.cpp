#include "tests/frame/gui_test_support.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

BoxAnswerer* g_answerer = nullptr;
const char kAnsweredMark[] = "FrameTestAnswered";

bool IsClass(HWND window, const char* name)
{
    char class_name[64] = "";
    GetClassNameA(window, class_name, sizeof class_name);
    return _stricmp(class_name, name) == 0;
}

// A message box is a dialog with an OK button.
bool IsMessageBox(HWND window)
{
    return IsClass(window, "#32770") && IsClass(GetDlgItem(window, IDOK), "Button");
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) { return ++*reinterpret_cast<int*>(count) > 0; }

// The highest handle-table slot that a batch of fresh brushes or events takes.
unsigned HighWater(bool gdi)
{
    std::vector<HANDLE> objects(gdi ? 1000 : 200);
    unsigned top = 0;
    for (HANDLE& object : objects) {
        object = gdi ? CreateSolidBrush(RGB(1, 2, 3)) : CreateEventA(nullptr, TRUE, FALSE, nullptr);
        top = std::max(top, static_cast<unsigned>(reinterpret_cast<uintptr_t>(object) & 0xFFFF));
    }
    for (HANDLE object : objects)
        gdi ? DeleteObject(object) : CloseHandle(object);
    return top;
}

}  // namespace

void PumpMessages(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (milliseconds)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (PumpMessages(); !done(); PumpMessages(10)) {
        if (GetTickCount() - start >= milliseconds)
            return false;
    }
    return true;
}

BoxAnswerer::BoxAnswerer()
    : m_hook(SetWindowsHookExA(WH_CBT, &BoxAnswerer::Hook, nullptr, GetCurrentThreadId()))
{
    g_answerer = this;
}

BoxAnswerer::~BoxAnswerer()
{
    UnhookWindowsHookEx(m_hook);
    g_answerer = nullptr;
}

LRESULT CALLBACK BoxAnswerer::Hook(int code, WPARAM wparam, LPARAM lparam)
{
    // By activation the box has its text, icon and buttons; one activated again is answered.
    HWND box = reinterpret_cast<HWND>(wparam);
    if (code == HCBT_ACTIVATE && g_answerer && IsMessageBox(box) && !GetPropA(box, kAnsweredMark))
        g_answerer->Answer(box);
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

void BoxAnswerer::Answer(HWND box)
{
    SetPropA(box, kAnsweredMark, box);
    SeenBox seen{WindowText(box), ""};
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsClass(child, "Static") && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            seen.text += WindowText(child);
    }
    m_boxes.push_back(seen);
    // Posted: the box's own loop presses the button once it runs.
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

std::string WindowText(HWND window)
{
    std::string text(GetWindowTextLengthA(window) + 1, '\0');
    text.resize(GetWindowTextA(window, &text[0], static_cast<int>(text.size())));
    return text;
}

int ThreadWindowCount()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

std::array<unsigned, 3> CountHeldObjects()
{
    return {unsigned(ThreadWindowCount()), HighWater(true), HighWater(false)};
}

void ClickAtCentre(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    POINT centre = {client.right / 2, client.bottom / 2};
    ClientToScreen(window, &centre);
    SetCursorPos(centre.x, centre.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}
