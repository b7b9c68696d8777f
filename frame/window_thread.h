#pragma once

#include <windows.h>

class BaseWindow;

// Runs one framework window in a thread of its own.
class WindowThread {
    // The thread registers the class, creates and shows the window and
    // serves only that window's messages until the window goes or a quit
    // message arrives.
public:
    enum State { kNotStarted = 0, kRunning = 1, kSuspended = 2, kFailed = 3 };

    // start_running 1 starts the thread at once, anything else suspended;
    // priority 0 leaves the platform's.
    explicit WindowThread(int start_running = 1, int priority = 0);
    // Closes the thread handle without waiting for the thread.
    ~WindowThread();
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;

    // Starts a thread for window (not owned); 1 on success, 0 when the
    // thread cannot be made or this object already started one.
    int Start(BaseWindow* window);
    // Stores the priority and applies it when the thread exists.
    void SetPriority(int priority);
    // Lets a suspended thread run; 1 on success.
    int Resume();
    // Waits, still answering messages sent to this thread, until the
    // window exists or its creation has failed; 1 when it exists.
    int WaitForWindow(DWORD milliseconds);

    State GetState() const { return m_state; }
    int Priority() const { return m_priority; }
    int StartsRunning() const { return m_start_running; }
    HANDLE Handle() const { return m_thread; }
    DWORD Id() const { return m_id; }
    BaseWindow* Window() const { return m_window; }

private:
    static DWORD WINAPI Routine(void* parameter);

    HANDLE m_thread;
    DWORD m_id;
    int m_start_running;
    int m_priority;
    State m_state;
    BaseWindow* m_window;  // not owned
    HANDLE m_created;      // set once the window exists or its creation failed
};
