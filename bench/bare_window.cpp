// The floor under the start of Orvalis.exe: a program that registers a
// window class and shows one window, and nothing else. Its caption becomes
// "Bare painted" at the first paint, as Orvalis's becomes "Item Number N",
// so that start_timer can time both to the same moment.
//
//   bare_window.exe [--dlls]
//
// --dlls first loads the system libraries Orvalis.exe imports beyond the
// ones every window program needs (shell32, comctl32, winmm, advapi32), to
// tell what loading them costs a start.
#include <windows.h>

#include <cstring>
#include <initializer_list>

namespace {

const char kClassName[] = "BARE_WINDOW";
bool g_painted = false;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        const char text[] = "A bare window.";
        TextOutA(dc, 20, 20, text, sizeof text - 1);
        EndPaint(window, &paint);
        if (!g_painted) {
            g_painted = true;
            SetWindowTextA(window, "Bare painted");
        }
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show_command)
{
    if (command_line && std::strstr(command_line, "--dlls")) {
        for (const char* name : {"shell32.dll", "comctl32.dll", "winmm.dll", "advapi32.dll"})
            LoadLibraryA(name);
    }
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = Procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = kClassName;
    if (!RegisterClassA(&window_class))
        return 1;
    HWND window = CreateWindowA(kClassName, "Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 400, 200, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, show_command);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
