#pragma once

#include <windows.h>

// One running copy of the program file at a time. The first start holds a
// mutex named after the program file; a later one finds the running copy's
// main window through the instance query, brings it to the front (restored
// when minimised), hands it the command line and ends.
class RunningCopy {
public:
    // The dwData of the WM_COPYDATA that carries a command line.
    static const ULONG_PTR kCommandLine = 0x4F525631;  // "ORV1"

    RunningCopy(const char* program_path, UINT instance_query);
    ~RunningCopy();
    RunningCopy(const RunningCopy&) = delete;
    RunningCopy& operator=(const RunningCopy&) = delete;

    // 1 when this start may go on: it is the only copy, or the running one
    // lets a new one start (replies 200), or none answers in time.
    // previous is the platform's previous-instance handle.
    int MayStart(HINSTANCE previous, const char* command_line);

private:
    static BOOL CALLBACK Ask(HWND window, LPARAM self);
    void HandOver(HWND answered, const char* command_line);

    HANDLE m_mutex;
    bool m_another;
    UINT m_query;
    HWND m_found;
    int m_lets_start;
};
