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
