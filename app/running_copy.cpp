#include "app/running_copy.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "frame/window_events.h"

namespace {

// A running copy may still be making its window: it is asked again for
// this long before a new copy starts after all.
const int kTries = 50;
const DWORD kTryPause = 100;

// Mutex names may not hold a backslash: the path, folded to one case
// as the file system folds it, as a hash.
std::string MutexName(const char* path)
{
    std::string folded(path);
    CharLowerBuffA(&folded[0], static_cast<DWORD>(folded.size()));
    uint32_t hash = 2166136261u;
    for (const char c : folded) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    char name[64];
    wsprintfA(name, "Orvalis-running-%08lx", static_cast<unsigned long>(hash));
    return name;
}

}  // namespace

RunningCopy::RunningCopy(const char* program_path, UINT instance_query)
    : m_mutex(CreateMutexA(nullptr, FALSE, MutexName(program_path).c_str())),
      m_another(m_mutex && GetLastError() == ERROR_ALREADY_EXISTS),
      m_query(instance_query),
      m_found(nullptr),
      m_lets_start(0)
{
}

RunningCopy::~RunningCopy()
{
    if (m_mutex)
        CloseHandle(m_mutex);
}

// Each top-level window is asked whether it is a running copy of this
// program file: 100, it takes the focus and no new copy starts; 200, one
// may start; anything else, the next window is asked.
BOOL CALLBACK RunningCopy::Ask(HWND window, LPARAM self)
{
    RunningCopy& copy = *reinterpret_cast<RunningCopy*>(self);
    const LRESULT reply = SendMessageA(window, copy.m_query, 0, 0);
    if (reply == kInstanceTakesFocus) {
        SetFocus(window);
        copy.m_found = window;
        return FALSE;
    }
    if (reply == kInstanceLetsStart) {
        copy.m_lets_start = 1;
        return FALSE;
    }
    return TRUE;
}

int RunningCopy::MayStart(HINSTANCE previous, const char* command_line)
{
    if (!previous && !m_another)
        return 1;
    for (int i = 0; i < kTries; ++i) {
        EnumWindows(Ask, reinterpret_cast<LPARAM>(this));
        if (m_found) {
            HandOver(m_found, command_line);
            return 0;
        }
        if (m_lets_start || !m_another)
            return m_lets_start;
        Sleep(kTryPause);
    }
    return 1;
}

void RunningCopy::HandOver(HWND answered, const char* command_line)
{
    // The tool window answers too; the main window owns it.
    HWND window = GetAncestor(answered, GA_ROOTOWNER);
    if (!window)
        window = answered;
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    if (!command_line || !*command_line)
        return;
    COPYDATASTRUCT data = {};
    data.dwData = kCommandLine;
    data.cbData = static_cast<DWORD>(std::strlen(command_line) + 1);
    data.lpData = const_cast<char*>(command_line);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                        SMTO_ABORTIFHUNG, 5000, &result);
}
