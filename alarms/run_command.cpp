#include "alarms/run_command.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "base/zstring.h"
#include "frame/message_box.h"

namespace {

const DWORD kConsoleWidth = 40;
const DWORD kConsoleHeight = 20;
// FOREGROUND_BLUE | BACKGROUND_BLUE | BACKGROUND_GREEN (0x31).
const DWORD kConsoleColours = FOREGROUND_BLUE | BACKGROUND_BLUE | BACKGROUND_GREEN;
// 0x18.
const DWORD kStartupFlags = STARTF_USECOUNTCHARS | STARTF_USEFILLATTRIBUTE;
// 0x220.
const DWORD kCreationFlags = CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS;

std::vector<char> WritableCopy(const char* text)
{
    const size_t length = text ? std::strlen(text) : 0;
    std::vector<char> copy(length + 1, '\0');
    if (length)
        std::memcpy(copy.data(), text, length);
    return copy;
}

}  // namespace

int RunCommand(const char* command, zstring& error_text)
{
    // CreateProcessA may write into its command line, and the title must
    // not see that: each gets a copy of its own.
    std::vector<char> line = WritableCopy(command);
    std::vector<char> title = WritableCopy(command);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.lpTitle = title.data();
    startup.dwXCountChars = kConsoleWidth;
    startup.dwYCountChars = kConsoleHeight;
    startup.dwFillAttribute = kConsoleColours;
    startup.dwFlags = kStartupFlags;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE,
                                        kCreationFlags, nullptr, nullptr, &startup, &process);
    const DWORD error = GetLastError();
    if (started) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SystemErrorText(error_text, error);
    return started ? 1 : 0;
}
