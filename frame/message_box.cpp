#include "frame/message_box.h"

#include <new>

#include "base/zstring.h"

namespace {

// 0x1100: the system's own text, in a buffer it allocates.
const DWORD kSystemMessageFlags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM;
// Language neutral: the user's default language (0x400).
const DWORD kUserDefaultLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);

}  // namespace

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style)
{
    return MessageBoxA(owner, text, caption, style | MB_SETFOREGROUND);
}

int InformationBox(const char* text, const char* caption, HWND owner)
{
    return ShowMessageBox(owner, text, caption, MB_ICONINFORMATION);
}

int ErrorBox(const char* text, const char* caption, HWND owner)
{
    return ShowMessageBox(owner, text, caption, MB_ICONHAND);
}

int QuestionBox(const char* text, const char* caption, HWND owner)
{
    // OK and Cancel can still come back (a box closed by other means), and
    // MessageBoxA's OK is 1 too: only Yes is a yes.
    return ShowMessageBox(owner, text, caption, MB_YESNO | MB_ICONEXCLAMATION) == IDYES ? 1 : 0;
}

int NoticeBox(const char* text)
{
    MessageBeep(MB_ICONHAND);
    return ShowMessageBox(nullptr, text, "NOTICE!", MB_ICONHAND);
}

const char* SystemErrorText(zstring& out, DWORD code)
{
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(kSystemMessageFlags, nullptr, code, kUserDefaultLanguage,
                                        reinterpret_cast<char*>(&buffer), 0, nullptr);
    try {
        out = (length && buffer) ? buffer : "";
    } catch (const std::bad_alloc&) {
        out.remove(0);  // cutting needs no memory
    }
    if (buffer)
        LocalFree(buffer);
    // The system ends its texts with a line end; cut at the last carriage
    // return so that a caption or a list entry stays on one line.
    const unsigned line_end = out.rfind('\r');
    if (line_end != zstring::npos)
        out.remove(line_end);
    return out.c_str();
}
