#pragma once

// What a firing alarm needs from the window that keeps it: the main window
// and its tool window to hide behind the notice, the caption that reports a
// written log, the timer that checks the alarm and the two files in the
// Windows folder. The application implements it, so the alarm code never
// looks at the application itself.
class AlarmHost {
public:
    virtual ~AlarmHost() = default;

    // 1 while the main window is minimised.
    virtual int MainMinimised() = 0;
    virtual void HideMainWindow() = 0;
    virtual void ShowMainWindow() = 0;
    virtual void HideToolWindow() = 0;
    virtual void ShowToolWindow() = 0;
    virtual void SetMainCaption(const char* text) = 0;
    // Ends the once-a-second check until the dialog arms the alarm again.
    virtual void StopAlarmTimer() = 0;
    // The event log, Windows folder + "\ORVLS.TXT".
    virtual const char* EventLogPath() = 0;
    // Where the armed alarm waits across a restart, beside the state file.
    virtual const char* ArmedEventPath() = 0;
};
