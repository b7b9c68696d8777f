#pragma once

#include <cstdint>

#include "tools/tool_volume.h"

class CommandLine;
class StoredQuote;
class VolumeReader;

// What an index entry leads to.
enum ItemState { kLive, kDeleted, kErased, kUnreadable };
// Entry n's item, with the offset the entry holds.
ItemState read_live_item(VolumeReader& reader, uint32_t n, StoredQuote& item, uint32_t& offset);
// The volume's names resolved and both files opened for reading.
int open_volume(ToolVolume& volume, VolumeReader& reader);

// The verbs that only read a volume: nothing is ever created or changed.
// Each returns the tool's exit status.
int run_count(const CommandLine& line, ToolStreams& io);
int run_show(const CommandLine& line, ToolStreams& io);
int run_random(const CommandLine& line, ToolStreams& io);
int run_export(const CommandLine& line, ToolStreams& io);
