#include "db/volume_names.h"

#include <cstring>
#include <string>

namespace {

// The name up to its last '.' (anywhere in the path) with ending after
// it; a name without a dot, or whose only dot is its first byte, keeps
// all of itself.
zstring stem_with(const zstring& data_name, const char* ending)
{
    const char* name = data_name.c_str();
    const char* dot = std::strrchr(name, '.');
    zstring stem(dot && dot != name ? zstring(std::string(name, dot).c_str()) : data_name);
    return stem.append(ending);
}

// The whole name with ending after it.
zstring name_with(const zstring& data_name, const char* ending)
{
    zstring name(data_name);
    return name.append(ending);
}

}  // namespace

zstring index_file_name(const zstring& data_name)
{
    return stem_with(data_name, ".idx");
}

zstring backup_file_name(const zstring& data_name)
{
    return name_with(data_name, ".bak.STD");
}

zstring pack_file_name(const zstring& data_name)
{
    return name_with(data_name, ".pak.STD");
}

zstring lock_file_name(const zstring& data_name)
{
    return name_with(data_name, ".lck");
}

zstring pack_journal_name(const zstring& data_name)
{
    return name_with(data_name, ".pak.jnl");
}

zstring old_file_name(const zstring& data_name)
{
    return name_with(data_name, ".old.STD");
}

zstring damaged_file_name(const zstring& data_name)
{
    return stem_with(data_name, ".damaged.STD");
}
