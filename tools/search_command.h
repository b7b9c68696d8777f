#pragma once

#include "tools/tool_volume.h"

class CommandLine;

// search VOLUME TEXT: writes every live item whose text holds TEXT, without
// regard to case, as export writes items (or, with --count, how many there
// are); --regex takes TEXT as an ECMAScript expression. Only reads the
// volume. Returns the exit status.
int run_search(const CommandLine& line, ToolStreams& io);
