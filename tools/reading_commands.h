#pragma once

#include "tools/tool_volume.h"

class CommandLine;

// The verbs that only read a volume: nothing is ever created or changed.
// Each returns the tool's exit status.
int run_count(const CommandLine& line, ToolStreams& io);
int run_show(const CommandLine& line, ToolStreams& io);
int run_random(const CommandLine& line, ToolStreams& io);
int run_export(const CommandLine& line, ToolStreams& io);
