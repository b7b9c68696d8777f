// Waits for a program's window the way a user looks for it: a visible
// top-level window of a class whose caption starts with a text.
//
//   wait_window.exe CLASS CAPTION-START SECONDS [--close]
//
// Prints the caption found and exits 0; with --close it then closes the
// window (WM_CLOSE) and waits until it has gone. Exits 1 when nothing came
// within the time, naming every visible top-level window instead (a box the
// program showed, say); 2 for a bad command line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Search {
    const char* window_class;
    std::string caption_start;
    HWND found;
    std::string seen;  // what the last look found of that class, for the failure
};

std::string Caption(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK Look(HWND window, LPARAM context)
{
    Search& search = *reinterpret_cast<Search*>(context);
    char name[256];
    if (!IsWindowVisible(window) || !GetClassNameA(window, name, sizeof name) ||
        lstrcmpiA(name, search.window_class) != 0)
        return TRUE;
    const std::string caption = Caption(window);
    search.seen = caption;
    if (caption.compare(0, search.caption_start.size(), search.caption_start) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK Name(HWND window, LPARAM)
{
    char name[256];
    if (IsWindowVisible(window) && GetClassNameA(window, name, sizeof name))
        std::printf("  visible: class %s, caption \"%s\"\n", name, Caption(window).c_str());
    return TRUE;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4 || (argc == 5 && std::strcmp(argv[4], "--close") != 0) || argc > 5) {
        std::fprintf(stderr, "usage: wait_window CLASS CAPTION-START SECONDS [--close]\n");
        return 2;
    }
    Search search = {argv[1], argv[2], nullptr, ""};
    const ULONGLONG end = GetTickCount64() + 1000ULL * std::strtoul(argv[3], nullptr, 10);
    bool looked_once = false;
    while (!search.found && (!looked_once || GetTickCount64() < end)) {
        looked_once = true;
        search.seen.clear();
        EnumWindows(Look, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(50);
    }
    if (!search.found) {
        if (search.seen.empty())
            std::printf("no visible window of class %s came up within %s s\n", argv[1], argv[3]);
        else
            std::printf("the window of class %s shows \"%s\", not \"%s...\"\n", argv[1],
                        search.seen.c_str(), argv[2]);
        EnumWindows(Name, 0);
        return 1;
    }
    std::printf("%s\n", Caption(search.found).c_str());
    std::fflush(stdout);
    if (argc == 5) {
        PostMessageA(search.found, WM_CLOSE, 0, 0);
        const ULONGLONG close_end = GetTickCount64() + 15000;
        while (IsWindow(search.found) && GetTickCount64() < close_end)
            Sleep(50);
        if (IsWindow(search.found)) {
            std::printf("the window did not close within 15 s\n");
            EnumWindows(Name, 0);
            return 1;
        }
    }
    return 0;
}
