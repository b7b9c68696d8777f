#pragma once

// Identifiers used only by the tool window's and resource objects' test
// resources.

// A 16 x 15 bitmap given by number.
#define IDB_TOOL_SMALL 101
// The same 32 x 32 icon as "TOOLICON", given by number.
#define IDI_TOOL_NUMBERED 102
