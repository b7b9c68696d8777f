#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/db/scratch_folder.h"

// The real Orvalis.exe, started in a folder and driven from outside: windows
// found by class and caption, commands posted, boxes read and answered.
class RunningProgram {
public:
    RunningProgram(const std::string& folder, const std::string& arguments = "");
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    HWND WaitForWindow(const char* class_name, const char* caption = nullptr,
                       DWORD milliseconds = 10000) const;
    HWND Main() const { return WaitForWindow("KV_SHARE"); }
    HWND WaitForDialog(const char* caption, DWORD milliseconds = 10000) const
    {
        return WaitForWindow("#32770", caption, milliseconds);
    }
    // Waits until the main window's caption is caption, or starts with it.
    bool WaitForCaption(const std::string& caption, bool prefix = false) const;
    int WaitForExit(DWORD milliseconds = 15000) const;

private:
    PROCESS_INFORMATION m_process;
};

bool WaitFor(const std::function<bool()>& done, DWORD milliseconds);
std::string WindowText(HWND window);
// Presses a dialog's button and waits until the dialog has gone.
bool Press(HWND dialog, int button);
void Command(HWND window, int command);
void SetItemText(HWND dialog, int id, const std::string& text);
// A control's text, asked of the control itself: across processes
// GetWindowText gives an edit control's first text, not what it holds.
std::string ControlText(HWND control);
std::string ControlText(HWND dialog, int id);
// The texts of a window's child windows, in their order.
std::vector<std::string> ChildTexts(HWND window);
// The window that has the keyboard focus in window's thread, or null.
HWND FocusIn(HWND window);
// Characters typed into window, one WM_CHAR each.
void Type(HWND window, const std::string& text);
// Brings window to the front and presses key through the system's input,
// with modifier (VK_CONTROL, or 0) held down; false when the window did not
// come to the front or the input was refused.
bool PressKey(HWND window, WORD key, WORD modifier = 0);
// A left click in the middle of window: the pointer moved there, then the
// button pressed and released.
void Click(HWND window);
// Whether window's thread answers a message within two seconds.
bool Responds(HWND window);
// The clipboard's text, "" when it holds none; true when text was put there.
// Each opens the clipboard, which a program then cannot open until it is
// closed again.
std::string TextOnClipboard();
bool PutTextOnClipboard(const std::string& text);
// The clipboard's text once its content has changed since the sequence
// number `since` (GetClipboardSequenceNumber), asked without opening it;
// "" when it does not change within five seconds.
std::string ClipboardTextAfter(DWORD since);
std::string WindowsFile(const char* name);
// build\app\Orvalis.exe.
std::string ProgramFile();
// This test's own folder (build\tests\app), where a run leaves what there
// is to look at.
std::string TestFolder();
// Saves what the screen shows of the two windows' rectangles as a 24-bit
// BMP file; true when written.
bool SaveScreenshot(HWND first, HWND second, const std::string& path);

// A fresh scratch folder holding a volume of `items` sayings, with no state
// file or event log left from an earlier run.
class ProgramFixture : public ::testing::Test {
protected:
    explicit ProgramFixture(int items);
    // Checks the text of the box with this caption, then presses button.
    void Answer(const RunningProgram& program, const char* caption, const std::string& text,
                int button = IDOK);
    // Closes the main window; the program ends with 0.
    void Close(const RunningProgram& program);

    ScratchFolder m_folder;
    const std::string m_state = WindowsFile("ORVLS3.DAT");
    const std::string m_log = WindowsFile("ORVLS.TXT");
};
