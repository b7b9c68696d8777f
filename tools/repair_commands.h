#pragma once

#include "tools/tool_volume.h"

class CommandLine;

// The verbs that judge and mend a volume: check only reads, recover writes
// a new pair beside the volume, pack rewrites it keeping a backup. Each
// returns the tool's exit status.
int run_check(const CommandLine& line, ToolStreams& io);
int run_recover(const CommandLine& line, ToolStreams& io);
int run_pack(const CommandLine& line, ToolStreams& io);
