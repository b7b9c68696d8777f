#include "tests/frame/gui_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>

namespace {

BoxAnswerer* g_answerer = nullptr;
const char kAnsweredMark[] = "FrameTestAnswered";

bool IsClass(HWND window, const char* name)
{
    char class_name[64] = "";
    GetClassNameA(window, class_name, sizeof class_name);
    return _stricmp(class_name, name) == 0;
}

// A message box is a dialog with one of the standard buttons (OK .. No).
bool IsMessageBox(HWND window)
{
    if (!IsClass(window, "#32770"))
        return false;
    for (int id = IDOK; id <= IDNO; ++id) {
        if (IsClass(GetDlgItem(window, id), "Button"))
            return true;
    }
    return false;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
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

BoxAnswerer::BoxAnswerer(std::vector<int> answers)
    : m_answers(std::move(answers)), m_next(0),
      m_hook(SetWindowsHookExA(WH_CBT, &BoxAnswerer::Hook, nullptr, GetCurrentThreadId()))
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
    // By activation the box has its text, icon and buttons.
    if (code == HCBT_ACTIVATE && g_answerer && IsMessageBox(reinterpret_cast<HWND>(wparam)))
        g_answerer->Answer(reinterpret_cast<HWND>(wparam));
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

void BoxAnswerer::Answer(HWND box)
{
    // A box activated again (after another window) is answered already.
    if (GetPropA(box, kAnsweredMark))
        return;
    SetPropA(box, kAnsweredMark, box);
    SeenBox seen;
    seen.caption = WindowText(box);
    seen.owner = GetWindow(box, GW_OWNER);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsClass(child, "Button"))
            seen.buttons.push_back(GetDlgCtrlID(child));
        else if (!IsClass(child, "Static"))
            continue;
        else if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            seen.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        else
            seen.text += WindowText(child);
    }
    int answer = seen.buttons.empty() ? IDOK : seen.buttons.front();
    if (m_next < m_answers.size())
        answer = m_answers[m_next++];
    m_boxes.push_back(seen);
    // Posted: the box's own loop presses the button once it runs.
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
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

namespace {

// The highest slot that a batch of fresh objects takes: freed slots are taken again first, so
// it climbs only when objects are left behind.
template <class Make, class Destroy>
unsigned HighWater(int batch, Make make, Destroy destroy)
{
    std::vector<HANDLE> objects(batch);
    unsigned top = 0;
    for (HANDLE& object : objects) {
        object = make();
        top = std::max(top, static_cast<unsigned>(reinterpret_cast<uintptr_t>(object) & 0xFFFF));
    }
    for (HANDLE object : objects)
        destroy(object);
    return top;
}

}  // namespace

bool HeldObjects::operator==(const HeldObjects& other) const
{
    return windows == other.windows && gdi_high_water == other.gdi_high_water &&
           handle_high_water == other.handle_high_water;
}

HeldObjects CountHeldObjects()
{
    HeldObjects held;
    held.windows = ThreadWindowCount();
    held.gdi_high_water = HighWater(
        1000, [] { return static_cast<HANDLE>(CreateSolidBrush(RGB(1, 2, 3))); },
        [](HANDLE brush) { DeleteObject(brush); });
    held.handle_high_water = HighWater(
        200, [] { return CreateEventA(nullptr, TRUE, FALSE, nullptr); }, &CloseHandle);
    return held;
}

std::ostream& operator<<(std::ostream& out, const HeldObjects& held)
{
    return out << held.windows << " windows, GDI slots up to " << held.gdi_high_water
               << ", handles up to " << held.handle_high_water;
}

void ClickAtScreenPoint(POINT point)
{
    SetCursorPos(point.x, point.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void ExitWithTestResult()
{
    const testing::TestResult* result =
        testing::UnitTest::GetInstance()->current_test_info()->result();
    for (int i = 0; i < result->total_part_count(); ++i) {
        const testing::TestPartResult& part = result->GetTestPartResult(i);
        const char* file = part.file_name() ? part.file_name() : "";
        std::fprintf(stderr, "%s:%d: %s\n", file, part.line_number(), part.message());
    }
    std::fflush(stderr);
    std::_Exit(result->Failed() ? 1 : 0);
}
