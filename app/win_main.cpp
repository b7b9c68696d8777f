// The entry routine: one QuoteApp per process, run and deleted.
#include <windows.h>

#include <new>

#include "app/quote_app.h"
#include "frame/message_box.h"
#include "frame/program_instance.h"

namespace {

const int kQueueLength = 100;

UINT g_instance_query = 0;
int g_start = 0;

// Asks each top-level window whether it is a running copy of this program
// file: 100, it takes the focus and no new copy starts; 200, one may start.
BOOL CALLBACK AskRunningCopy(HWND window, LPARAM)
{
    const LRESULT reply = SendMessageA(window, g_instance_query, 0, 0);
    if (reply == kInstanceTakesFocus) {
        SetFocus(window);
        return FALSE;
    }
    if (reply == kInstanceLetsStart) {
        g_start = 1;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show_command)
{
    char path[1024];
    const DWORD length = GetModuleFileNameA(instance, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return 0;
    g_instance_query = RegisterWindowMessageA(path);
    if (g_instance_query == 0)
        return 0;
    if (previous) {
        EnumWindows(AskRunningCopy, 0);
        if (g_start != 1)
            return 0;
    } else {
        g_start = 1;
    }
    SetMessageQueue(kQueueLength);
    QuoteApp* app = nullptr;
    try {
        app = new QuoteApp;
    } catch (const std::bad_alloc&) {
        NoticeBox("Insufficent memory to create main window!");
        return 0;
    }
    RecordProgramInstance(instance, previous);
    WindowSpec& descriptor = app->Descriptor();
    descriptor.caption = command_line ? command_line : "";
    descriptor.show_command = show_command;
    RecordInstanceQueryMessage(g_instance_query);
    const int result = app->Run(descriptor);
    delete app;
    return result;
}
