// The entry routine: one QuoteApp per process, run and deleted.
#include <windows.h>

#include <new>

#include "app/quote_app.h"
#include "app/running_copy.h"
#include "frame/message_box.h"
#include "frame/program_instance.h"

namespace {

const int kQueueLength = 100;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show_command)
{
    char path[1024];
    const DWORD length = GetModuleFileNameA(instance, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return 0;
    const UINT instance_query = RegisterWindowMessageA(path);
    if (instance_query == 0)
        return 0;
    RunningCopy running(path, instance_query);
    if (!running.MayStart(previous, command_line))
        return 0;
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
    RecordInstanceQueryMessage(instance_query);
    const int result = app->Run(descriptor);
    delete app;
    return result;
}
