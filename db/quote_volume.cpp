#include "db/quote_volume.h"

#include <fstream>

#include "base/file_path.h"
#include "db/quote_item.h"
#include "db/volume_names.h"

QuoteVolume::QuoteVolume() : m_data_name("default.std") {}

QuoteVolume::~QuoteVolume() = default;

uint32_t QuoteVolume::append_record(const StoredQuote& item, uint32_t& offset)
{
    std::ofstream data(m_data_name.c_str(), std::ios::binary | std::ios::app);
    if (!data.is_open())
        return 0;
    return item.append_record(data, offset) ? 1 : 0;
}

uint32_t QuoteVolume::set_file_name(const zstring& name)
{
    m_data_name = name;
    m_index.set_name(index_file_name(name));
    return 1;
}

uint32_t QuoteVolume::create()
{
    return 1;
}

uint32_t QuoteVolume::is_deleted(const QuoteItem&)
{
    return 0;
}

uint32_t QuoteVolume::read_item(uint32_t n, StoredQuote& item)
{
    uint32_t offset = 0;
    if (!read_entry(n, offset) || offset == QuoteIndexFile::kErased)
        return 0;
    std::ifstream data(m_data_name.c_str(), std::ios::binary);
    if (!data.is_open() || !data.seekg(offset))
        return 0;
    // A record of another version reads as a failure, so the caller never
    // shows the previous item's text under this number.
    return item.read_record(data) ? 1 : 0;
}

uint32_t QuoteVolume::read_entry(uint32_t n, uint32_t& offset)
{
    return m_index.read_entry(n, offset);
}

uint32_t QuoteVolume::append_item(const StoredQuote& item)
{
    uint32_t offset = 0;
    if (!append_record(item, offset))
        return 0;
    m_index.append_entry(offset);
    return 1;
}

uint32_t QuoteVolume::replace_item(uint32_t n, const StoredQuote& item)
{
    uint32_t offset = 0;
    if (!read_entry(n, offset))
        return 0;
    const uint32_t appended = append_record(item, offset);
    if (appended != 1)
        return appended;
    // The old record stays behind as dead space until the next pack.
    return m_index.write_entry(n, offset);
}

uint32_t QuoteVolume::erase_entry(uint32_t n)
{
    return m_index.erase_entry(n);
}

uint32_t move_volume_file(const zstring& from, const zstring& to)
{
    if (from == to)
        return 1;
    FilePath file;
    if (!file.SetPath(from))
        return 0;
    return file.Rename(to) ? 1 : 0;
}

uint32_t delete_volume_file(const zstring& name)
{
    FilePath file;
    if (!file.SetPath(name))
        return 0;
    if (file.Exists())
        file.Remove();
    return file.Exists() ? 0 : 1;
}
