#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "tests/db/scratch_folder.h"

// Starts the real Orvalis.exe in a folder and drives it from outside, as a
// user would: windows are found by class and caption, commands are posted,
// message boxes and dialogs are read and answered.
class RunningProgram {
public:
    // Starts the program built beside this test, in folder, with the given
    // command line text.
    RunningProgram(const std::string& folder, const std::string& arguments = "");
    // Ends a program still running.
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return m_process.hProcess != nullptr; }
    // The process's visible top-level window of the class (and caption,
    // when given), waited for; null when none comes.
    HWND WaitForWindow(const char* class_name, const char* caption = nullptr,
                       DWORD milliseconds = 10000) const;
    HWND Main() const { return WaitForWindow("KV_SHARE"); }
    // A message box or dialog with this caption.
    HWND WaitForDialog(const char* caption, DWORD milliseconds = 10000) const;
    // Waits until the main window's caption is caption.
    bool WaitForCaption(const std::string& caption, DWORD milliseconds = 10000) const;
    // Waits until the main window shows an item: "Item Number N".
    bool WaitForItem(DWORD milliseconds = 10000) const;
    // The exit code once the process has ended, or -1 when it has not.
    int WaitForExit(DWORD milliseconds = 15000) const;
    DWORD Id() const { return m_process.dwProcessId; }

private:
    PROCESS_INFORMATION m_process;
};

// Polls until done() holds or the time is up; returns done().
bool WaitFor(const std::function<bool()>& done, DWORD milliseconds);
// The path of the program under test.
std::string ProgramUnderTest();
// A file in this test's own folder, for what a run leaves to look at.
std::string TestArtifact(const char* name);

std::string WindowText(HWND window);
// The text a message box shows.
std::string BoxText(HWND box);
// Presses a button of a dialog or message box (IDOK, IDYES, ...), and
// waits until the box has gone.
bool Press(HWND dialog, int button);
// Posts a menu or button command to a window, and lets it act.
void Command(HWND window, int command);
void SetItemText(HWND dialog, int id, const std::string& text);
// Saves what the screen shows of the windows' rectangles (their union) as a
// 24-bit BMP file; true when written.
bool SaveScreenshot(HWND first, HWND second, const std::string& path);
// The state file and event log in the Windows folder.
std::string WindowsFile(const char* name);

// A test in a fresh scratch folder holding a volume of `items` sayings,
// with no state file or event log left from an earlier run.
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
