#include "frame/message_loop.h"

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
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (done && done())
            return end;
    }
}
