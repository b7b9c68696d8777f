#include "program_driver.h"

#include <fstream>
#include <memory>
#include <vector>

#include "base/clipboard_text.h"
#include "base/zstring.h"
#include "db/quote_database.h"
#include "tests/db/volume_test_support.h"

bool WaitFor(const std::function<bool()>& done, DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!done()) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(20);
    }
    return true;
}

std::string TestFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\'));
    return folder;
}

std::string ProgramFile()
{
    // This test runs from build\tests\app; the program is build\app.
    std::string folder = TestFolder();
    for (int i = 0; i < 2; ++i)
        folder.resize(folder.find_last_of('\\'));
    return folder + "\\app\\Orvalis.exe";
}

RunningProgram::RunningProgram(const std::string& folder, const std::string& arguments)
    : m_process()
{
    const std::string command = "\"" + ProgramFile() + "\" " + arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &m_process))
        m_process = PROCESS_INFORMATION();
}

RunningProgram::~RunningProgram()
{
    if (!m_process.hProcess)
        return;
    if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, 5000);
    }
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

HWND RunningProgram::WaitForWindow(const char* class_name, const char* caption,
                                   DWORD milliseconds) const
{
    HWND found = nullptr;
    WaitFor([&] {
        for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, class_name, caption));) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == m_process.dwProcessId && IsWindowVisible(window))
                return (found = window) != nullptr;
        }
        return false;
    }, milliseconds);
    return found;
}

bool RunningProgram::WaitForCaption(const std::string& caption, bool prefix) const
{
    HWND main = Main();
    return main && WaitFor([&] {
        const std::string text = WindowText(main);
        return prefix ? text.rfind(caption, 0) == 0 : text == caption;
    }, 10000);
}

int RunningProgram::WaitForExit(DWORD milliseconds) const
{
    DWORD code = 0;
    if (!m_process.hProcess ||
        WaitForSingleObject(m_process.hProcess, milliseconds) != WAIT_OBJECT_0)
        return -1;
    GetExitCodeProcess(m_process.hProcess, &code);
    return static_cast<int>(code);
}

std::string WindowText(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], length + 1)));
    return text;
}

bool Press(HWND dialog, int button)
{
    if (!dialog)
        return false;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    return WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 5000);
}

void Command(HWND window, int command)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void SetItemText(HWND dialog, int id, const std::string& text)
{
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string ControlText(HWND control)
{
    const LRESULT length = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(
        SendMessageA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return text;
}

std::string ControlText(HWND dialog, int id)
{
    return ControlText(GetDlgItem(dialog, id));
}

std::vector<std::string> ChildTexts(HWND window)
{
    std::vector<std::string> texts;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        texts.push_back(ControlText(child));
    return texts;
}

HWND FocusIn(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                             : nullptr;
}

void Type(HWND window, const std::string& text)
{
    for (char c : text)
        PostMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
}

bool PressKey(HWND window, WORD key, WORD modifier)
{
    SetForegroundWindow(window);
    if (!WaitFor([&] { return GetForegroundWindow() == window; }, 3000))
        return false;
    std::vector<INPUT> inputs;
    auto add = [&](WORD code, DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = code;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(code, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    if (modifier)
        add(modifier, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (modifier)
        add(modifier, KEYEVENTF_KEYUP);
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
           inputs.size();
}

void Click(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    POINT centre = {client.right / 2, client.bottom / 2};
    POINT screen = centre;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    const LPARAM where = MAKELPARAM(centre.x, centre.y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageA(window, WM_LBUTTONUP, 0, where);
}

bool Responds(HWND window)
{
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) != 0;
}

std::string TextOnClipboard()
{
    std::unique_ptr<zstring> text(ClipboardText().GetText());
    return text ? text->c_str() : "";
}

bool PutTextOnClipboard(const std::string& text)
{
    return ClipboardText().PutText(text.c_str()) == 1;
}

std::string ClipboardTextAfter(DWORD since)
{
    if (!WaitFor([&] { return GetClipboardSequenceNumber() != since; }, 5000))
        return "";
    return TextOnClipboard();
}

std::string WindowsFile(const char* name)
{
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + name;
}

bool SaveScreenshot(HWND first, HWND second, const std::string& path)
{
    RECT area = {}, other = {};
    GetWindowRect(first, &area);
    if (second && GetWindowRect(second, &other))
        UnionRect(&area, &area, &other);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};  // bottom-up, as BMP files store it
    info.bmiHeader = {DWORD(sizeof info.bmiHeader), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD row = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof info.bmiHeader;
    const BITMAPFILEHEADER file = {0x4D42 /* "BM" */, offset + row * DWORD(height), 0, 0, offset};
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(row) * height);
    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return out.good();
}

ProgramFixture::ProgramFixture(int items)
{
    DeleteFileA(m_state.c_str());
    DeleteFileA(m_log.c_str());
    QuoteDatabaseV2 db;
    append_quotes(db, items);
}

void ProgramFixture::Answer(const RunningProgram& program, const char* caption,
                            const std::string& text, int button)
{
    HWND box = program.WaitForDialog(caption);
    ASSERT_TRUE(box) << caption;
    // A message box's text is the static control with id 0xFFFF.
    HWND shown = GetDlgItem(box, 0xFFFF);
    EXPECT_EQ(text, shown ? WindowText(shown) : std::string());
    EXPECT_TRUE(Press(box, button));
}

void ProgramFixture::Close(const RunningProgram& program)
{
    PostMessageA(program.Main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(0, program.WaitForExit());
}
