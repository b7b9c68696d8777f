#include "frame/message_loop.h"

namespace {

thread_local HWND g_key_window = nullptr;
thread_local HACCEL g_key_table = nullptr;

bool IsKeyCommand(HWND window, MSG& message)
{
    return !window && g_key_table && IsWindow(g_key_window) &&
           TranslateAcceleratorA(g_key_window, g_key_table, &message);
}

}  // namespace

void SetLoopAccelerators(HWND window, HACCEL table)
{
    g_key_window = window;
    g_key_table = table;
}

LoopEnd ServeMessages(HWND window, const std::function<bool()>& done)
{
    LoopEnd end;
    MSG message;
    for (;;) {
        const BOOL got = GetMessageA(&message, window, 0, 0);
        if (got == 0) {
            end.quit = 1;
            end.code = static_cast<int>(message.wParam);
            return end;
        }
        if (got == -1)
            return end;
        if (!IsKeyCommand(window, message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done && done())
            return end;
    }
}
