#include "frame/window_thread.h"

#include "frame/base_window.h"
#include "frame/message_loop.h"
#include "frame/procedure_guard.h"

WindowThread::WindowThread(int start_running, int priority)
    : m_thread(nullptr), m_id(0), m_start_running(start_running), m_priority(priority),
      m_state(kNotStarted), m_window(nullptr), m_created(nullptr)
{
}

WindowThread::~WindowThread()
{
    if (m_thread)
        CloseHandle(m_thread);
    if (m_created)
        CloseHandle(m_created);
}

int WindowThread::Start(BaseWindow* window)
{
    // One thread per object: a second start would lose the first handle.
    if (m_thread || !window)
        return 0;
    m_window = window;
    m_created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const DWORD flags = m_start_running == 1 ? 0 : CREATE_SUSPENDED;
    m_thread = CreateThread(nullptr, 0, &WindowThread::Routine, this, flags, &m_id);
    if (!m_thread) {
        m_state = kFailed;
        return 0;
    }
    m_state = flags ? kSuspended : kRunning;
    if (m_priority)
        SetThreadPriority(m_thread, m_priority);
    return 1;
}

void WindowThread::SetPriority(int priority)
{
    m_priority = priority;
    if (m_thread)
        SetThreadPriority(m_thread, priority);
}

int WindowThread::Resume()
{
    if (!m_thread || m_state != kSuspended)
        return 0;
    if (ResumeThread(m_thread) == static_cast<DWORD>(-1))
        return 0;
    m_state = kRunning;
    return 1;
}

int WindowThread::WaitForWindow(DWORD milliseconds)
{
    if (!m_created)
        return 0;
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (milliseconds != INFINITE) {
            const DWORD spent = GetTickCount() - start;
            if (spent >= milliseconds)
                return 0;
            left = milliseconds - spent;
        }
        // The new window may send to this thread's windows while it is
        // made; those messages are answered here so that neither waits.
        const DWORD woken = MsgWaitForMultipleObjects(1, &m_created, FALSE, left, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0)
            break;
        if (woken != WAIT_OBJECT_0 + 1)
            return 0;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return m_window && m_window->Handle() ? 1 : 0;
}

// The thread reads its object only until the window exists; after that it
// serves the window by its handle alone (the object may be gone by then).
DWORD WINAPI WindowThread::Routine(void* parameter)
{
    WindowThread* self = static_cast<WindowThread*>(parameter);
    HANDLE created = self->m_created;
    const HWND handle = Guarded<HWND>(nullptr, [self]() -> HWND {
        BaseWindow* window = self->m_window;
        if (!window->Create(GetDesktopWindow()))
            return nullptr;
        ShowWindow(window->Handle(), window->Descriptor().show_command);
        return window->Handle();
    });
    SetEvent(created);
    if (!handle)
        return 0;
    return Guarded<DWORD>(0, [handle]() -> DWORD {
        const LoopEnd end = ServeMessages(handle);
        return end.quit ? static_cast<DWORD>(end.code) : 0;
    });
}
