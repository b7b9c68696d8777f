#pragma once

#include <windows.h>

#include <iosfwd>

#include "base/zstring.h"

// A window's creation descriptor: its handle once it exists, its placement,
// the creation styles, parent and menu, the caption and the show command.
// The styles, parent and menu are filled by the window's FillCreation, not
// here.
struct WindowSpec {
    WindowSpec();

    HWND window;
    WINDOWPLACEMENT placement;
    DWORD ex_style;
    DWORD style;
    HWND parent;
    HMENU menu;
    zstring caption;
    int show_command;
};

// The size of the placement record, the platform's WINDOWPLACEMENT on both
// 32-bit and 64-bit Windows.
const UINT kPlacementLength = 44;

// The placement's text form: length, flags and show command unsigned, then
// the minimized and maximized positions and the normal rectangle signed;
// each of the eleven numbers is followed by one space.
std::ostream& WritePlacementRecord(std::ostream& out, const WINDOWPLACEMENT& placement);
// 1 when all eleven numbers were read; placement is left as it was when the
// stream is at its end, bad, or runs out part way.
int ReadPlacementRecord(std::istream& in, WINDOWPLACEMENT& placement);
