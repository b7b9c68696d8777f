#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#endif

#include "tools/volume_tool.h"

int main(int argc, char** argv)
{
#ifdef _WIN32
    // Exported texts go out byte for byte: no LF becomes CR LF on the way.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    return run_volume_tool(args, std::cout, std::cerr);
}
