#pragma once

#include "base/zstring.h"

// File names of a volume, all derived from its data file's full path.

// The data name up to its last '.' (anywhere in the path, so "C:\dir.v2\q"
// gives "C:\dir.idx"), then ".idx". A name without a dot, or whose only
// dot is its first byte, keeps all of itself.
zstring index_file_name(const zstring& data_name);

// The backup and packed copies: D + ".bak.STD" and D + ".pak.STD".
zstring backup_file_name(const zstring& data_name);
zstring pack_file_name(const zstring& data_name);

// The lock file every operation on the volume locks; never moved.
zstring lock_file_name(const zstring& data_name);
// A pack's journal, and the names the volume as it was passes through
// while a pack swaps the packed pair in: D + ".pak.jnl", D + ".old.STD".
zstring pack_journal_name(const zstring& data_name);
zstring old_file_name(const zstring& data_name);
// Where a damaged pair is kept when its index is rebuilt: the data name up
// to its last dot (the whole name when it has none), then ".damaged.STD".
zstring damaged_file_name(const zstring& data_name);
