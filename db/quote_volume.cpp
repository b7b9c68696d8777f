#include "db/quote_volume.h"

#include <fstream>
#include <string>

#include "base/file_path.h"
#include "db/quote_item.h"
#include "db/volume_names.h"

namespace {

// What read_item reads first: the whole of nearly every record.
const size_t kFirstRead = 4096;

// The record at offset into item. Nearly every record is whole in the first
// read and decoded from memory; a longer one is read whole, and any other
// form is left to the stream reader. A record of another version reads as a
// failure, so the caller never shows the previous item's text under this
// number.
uint32_t read_record_from(std::ifstream& data, uint32_t offset, StoredQuote& item)
{
    if (!data.seekg(offset))
        return 0;
    std::string bytes(kFirstRead, '\0');
    std::string scratch;
    data.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(data.gcount()));
    size_t size = 0;
    StoredQuote::DecodeResult result = item.decode_record(bytes.data(), bytes.size(), size, scratch);
    if (result == StoredQuote::kTruncated && size > bytes.size() && data) {
        const size_t have = bytes.size();
        bytes.resize(size);
        data.read(&bytes[have], static_cast<std::streamsize>(size - have));
        bytes.resize(have + static_cast<size_t>(data.gcount()));
        result = item.decode_record(bytes.data(), bytes.size(), size, scratch);
    }
    if (result == StoredQuote::kDecoded || result == StoredQuote::kAsWritten)
        return 1;
    data.clear();
    if (!data.seekg(offset))
        return 0;
    return item.read_record(data) ? 1 : 0;
}

}  // namespace

QuoteVolume::QuoteVolume() : m_data_name("default.std"), m_bound(false) {}

QuoteVolume::~QuoteVolume() = default;

uint32_t QuoteVolume::append_record(const StoredQuote& item, uint32_t& offset)
{
    if (!m_bound)
        return 0;
    // Opened for reading and writing so that a data file someone deleted is
    // not made again here, without its header.
    std::fstream data(m_data_name.c_str(), std::ios::in | std::ios::out | std::ios::binary);
    if (!data.is_open() || !item.append_record(data, offset))
        return 0;
    data.close();
    return data.fail() ? 0 : 1;
}

uint32_t QuoteVolume::set_file_name(const zstring& name)
{
    m_data_name = name;
    m_index.set_name(index_file_name(name));
    m_bound = true;
    return 1;
}

uint32_t QuoteVolume::count()
{
    // The placeholder pair is no volume: counting would make its index.
    return m_bound ? m_index.count() : QuoteIndexFile::kCannotOpen;
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
    if (!m_bound || !read_entry(n, offset) || offset == QuoteIndexFile::kErased)
        return 0;
    std::ifstream data(m_data_name.c_str(), std::ios::binary);
    if (!data.is_open())
        return 0;
    return read_record_from(data, offset, item);
}

uint32_t QuoteVolume::read_entry(uint32_t n, uint32_t& offset)
{
    return m_bound ? m_index.read_entry(n, offset) : 0;
}

uint32_t QuoteVolume::append_item(const StoredQuote& item)
{
    uint32_t offset = 0;
    if (!append_record(item, offset))
        return 0;
    // A record whose entry was not written stays behind as dead space.
    return m_index.append_entry(offset) == QuoteIndexFile::kCannotOpen ? 0 : 1;
}

uint32_t QuoteVolume::replace_item(uint32_t n, const StoredQuote& item)
{
    uint32_t offset = 0;
    if (!m_bound || !read_entry(n, offset))
        return 0;
    const uint32_t appended = append_record(item, offset);
    if (appended != 1)
        return appended;
    // The old record stays behind as dead space until the next pack.
    return m_index.write_entry(n, offset);
}

uint32_t QuoteVolume::erase_entry(uint32_t n)
{
    return m_bound ? m_index.erase_entry(n) : 0;
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
