#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>
#endif

#include "tools/volume_tool.h"

int main(int argc, char** argv)
{
#ifdef _WIN32
    // Exported texts go out byte for byte: no LF becomes CR LF on the way.
    _setmode(_fileno(stdout), _O_BINARY);
    // Texts are written as UTF-8: a console shows them right only with its
    // output code page set so, and it gets its own back at the end.
    DWORD mode = 0;
    const UINT console_page = GetConsoleOutputCP();
    const bool console = GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
    if (console)
        SetConsoleOutputCP(CP_UTF8);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = run_volume_tool(args, std::cout, std::cerr);
#ifdef _WIN32
    std::cout.flush();
    if (console)
        SetConsoleOutputCP(console_page);
#endif
    return status;
}
