#pragma once

#include <windows.h>

// The process-wide values the entry routine records at start-up: the
// program's instance handle (used for every resource load, class
// registration and window creation), the previous-instance handle, and the
// message that asks a running copy whether a new one may start.

void RecordProgramInstance(HINSTANCE instance, HINSTANCE previous);
// The recorded instance; the module of the program file while nothing has
// been recorded, so that code run before start-up (and tests) still finds
// the program's resources.
HINSTANCE ProgramInstance();
// The same handle, for the calls that ask for a module.
HMODULE ProgramModule();
HINSTANCE PreviousInstance();

void RecordInstanceQueryMessage(UINT message);
// 0 until recorded; 0 never matches a message that reaches a window.
UINT InstanceQueryMessage();
