#pragma once

#include "tools/tool_volume.h"

class CommandLine;

// import VOLUME FILE...: appends the entries of fortune-form files to a
// volume, creating it when missing, in one appender run: either every
// entry becomes an item or none is reachable. Returns the exit status.
int run_import(const CommandLine& line, ToolStreams& io);
