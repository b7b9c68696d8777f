#include "db/volume_names.h"

#include <cstring>
#include <string>

zstring index_file_name(const zstring& data_name)
{
    const char* name = data_name.c_str();
    const char* dot = std::strrchr(name, '.');
    zstring index;
    if (dot && dot != name)
        index.assign(std::string(name, dot).c_str());
    else
        index.assign(data_name);
    return index.append(".idx");
}

zstring backup_file_name(const zstring& data_name)
{
    zstring name(data_name);
    return name.append(".bak.STD");
}

zstring pack_file_name(const zstring& data_name)
{
    zstring name(data_name);
    return name.append(".pak.STD");
}

zstring lock_file_name(const zstring& data_name)
{
    zstring name(data_name);
    return name.append(".lck");
}

zstring pack_journal_name(const zstring& data_name)
{
    zstring name(data_name);
    return name.append(".pak.jnl");
}

zstring old_file_name(const zstring& data_name)
{
    zstring name(data_name);
    return name.append(".old.STD");
}

zstring damaged_file_name(const zstring& data_name)
{
    const char* name = data_name.c_str();
    const char* dot = std::strrchr(name, '.');
    zstring damaged;
    if (dot && dot != name)
        damaged.assign(std::string(name, dot).c_str());
    else
        damaged.assign(data_name);
    return damaged.append(".damaged.STD");
}
