// Running framework windows: the process's one message loop, the modal
// loop that serves a single window, and the window in a thread of its own.

#include "frame/base_window.h"

#include <new>

#include "frame/main_window_claim.h"
#include "frame/message_box.h"
#include "frame/message_loop.h"
#include "frame/window_thread.h"

int BaseWindow::ClaimLoop(const WindowSpec& descriptor)
{
    if (!ClaimMainWindow(this)) {
        ErrorBox("ERROR: Do not run more than one message loop.", "Error!");
        return 0;
    }
    m_main = 1;
    CopyDescriptor(descriptor);
    return 1;
}

void BaseWindow::CopyDescriptor(const WindowSpec& descriptor)
{
    if (&descriptor == &m_descriptor)
        return;
    try {
        m_descriptor.caption = descriptor.caption;
    } catch (const std::bad_alloc&) {
        // The caption comes from CaptionText; the copy is kept for callers.
    }
    m_descriptor.show_command = descriptor.show_command;
    m_descriptor.window = descriptor.window;
    m_descriptor.placement = descriptor.placement;
    m_descriptor.ex_style = descriptor.ex_style;
    m_descriptor.style = descriptor.style;
    m_descriptor.parent = descriptor.parent;
    m_descriptor.menu = descriptor.menu;
}

int BaseWindow::Run(const WindowSpec& descriptor)
{
    if (!ClaimLoop(descriptor))
        return -1;
    if (!Create(GetDesktopWindow()))
        return -1;
    ShowWindow(Handle(), m_descriptor.show_command);
    const LoopEnd end = ServeMessages(nullptr);
    return end.quit ? end.code : -1;
}

int BaseWindow::BecomeMain(WindowThread* thread, const WindowSpec& descriptor)
{
    if (!ClaimLoop(descriptor))
        return -1;
    return thread ? thread->Start(this) : 0;
}

int BaseWindow::RunModal()
{
    // A press tracked elsewhere (a tool button's) would keep every click;
    // losing the capture ends that press.
    if (GetCapture())
        ReleaseCapture();
    if (!Create(GetDesktopWindow()))
        return 0;
    ShowWindow(Handle(), SW_SHOW);
    if (!IsDone()) {
        const LoopEnd end = ServeMessages(Handle(), [this] { return IsDone() != 0; });
        // The quit message is not for this loop but for the one outside.
        if (end.quit)
            PostQuitMessage(end.code);
    }
    if (Handle() && IsWindow(Handle()))
        DestroyWindow(Handle());
    return 1;
}

int BaseWindow::RunInThread(int priority)
{
    if (Handle())
        return 0;
    if (!m_thread) {
        try {
            m_thread.reset(new WindowThread);
        } catch (const std::bad_alloc&) {
            return 0;
        }
    }
    m_thread->SetPriority(priority);
    return BecomeMain(m_thread.get(), m_descriptor);
}
