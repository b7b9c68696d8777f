#include "db/volume_appender.h"

#include <cstring>
#include <fstream>

#include "base/file_path.h"
#include "db/quote_index_file.h"
#include "db/quote_item.h"

namespace {

// Records are gathered and written in pieces of about this size.
const size_t kWriteChunk = 1 << 20;
const uint64_t kEntry = QuoteIndexFile::kEntrySize;
const size_t kReadBack = 64 * 1024;

}  // namespace

// Mixed eight bytes at a time, whatever pieces the bytes come in.
void ByteHash::add(const char* bytes, size_t size)
{
    for (; size > 0 && m_held > 0; --size, ++bytes)
        take_byte(*bytes);
    for (; size >= 8; size -= 8, bytes += 8) {
        uint64_t word;
        std::memcpy(&word, bytes, 8);
        mix(word);
    }
    for (; size > 0; --size, ++bytes)
        take_byte(*bytes);
}

uint64_t ByteHash::value() const
{
    ByteHash last = *this;
    while (last.m_held != 0)
        last.take_byte('\0');
    last.mix(m_held);
    return last.m_hash;
}

// A word is gathered in memory order, as add reads whole ones.
void ByteHash::take_byte(char byte)
{
    m_bytes[m_held] = byte;
    if (++m_held == 8) {
        uint64_t word;
        std::memcpy(&word, m_bytes, 8);
        mix(word);
        m_held = 0;
    }
}

void ByteHash::mix(uint64_t word)
{
    m_hash = (m_hash ^ word) * 0x9E3779B97F4A7C15ull;
    m_hash ^= m_hash >> 29;
}

VolumeAppender::VolumeAppender()
    : m_start(0), m_end(0), m_index_end(0), m_failed(false), m_error(0)
{
}

VolumeAppender::~VolumeAppender() = default;

int VolumeAppender::open(const zstring& data_name, const zstring& index_name)
{
    m_data_name = data_name;
    m_index_name = index_name;
    // The index of a new volume is made before its first record.
    QuoteIndexFile index;
    index.set_name(index_name);
    if (index.count() == QuoteIndexFile::kCannotOpen) {
        m_failed = true;
        return 0;
    }
    // The data file must exist: records without the header before them
    // would be no volume.
    const int64_t size = m_data.Open(data_name.c_str(), OutputFile::kExisting) ? m_data.Size() : -1;
    if (size < 0) {
        m_failed = true;
        return 0;
    }
    m_start = m_end = static_cast<uint64_t>(size);
    m_pending.reserve(kWriteChunk + kWriteChunk / 4);
    return 1;
}

int VolumeAppender::append(const StoredQuote& item)
{
    if (m_failed || !m_data.IsOpen() || m_end > QuoteIndexFile::kLastOffset) {
        m_failed = true;
        return 0;
    }
    const size_t before = m_pending.size();
    item.encode_record(m_pending);
    return take(before);
}

int VolumeAppender::append_record_bytes(const char* bytes, size_t size)
{
    if (m_failed || !m_data.IsOpen() || m_end > QuoteIndexFile::kLastOffset) {
        m_failed = true;
        return 0;
    }
    const size_t before = m_pending.size();
    m_pending.append(bytes, size);
    return take(before);
}

// Takes the record that starts at before in the pending bytes.
int VolumeAppender::take(size_t before)
{
    m_offsets.push_back(static_cast<uint32_t>(m_end));
    m_end += m_pending.size() - before;
    return m_pending.size() < kWriteChunk || flush_pending() ? 1 : 0;
}

int VolumeAppender::flush_pending()
{
    m_hash.add(m_pending.data(), m_pending.size());
    if (!m_data.Write(m_pending.data(), m_pending.size())) {
        m_failed = true;
        m_error = m_data.Error();
    }
    m_pending.clear();
    return m_failed ? 0 : 1;
}

int VolumeAppender::commit()
{
    if (m_failed || !m_data.IsOpen() || !flush_pending())
        return 0;
    // The records reach the disk before the index that makes them reachable.
    if (!m_data.Sync() || !m_data.Close()) {
        m_failed = true;
        m_error = m_data.Error();
        return 0;
    }
    std::string entries;
    entries.reserve(m_offsets.size() * kEntry);
    for (uint32_t offset : m_offsets)
        append_entry_bytes(entries, offset);
    QuoteIndexFile index;
    index.set_name(m_index_name);
    const uint32_t count = index.append_entries(entries);
    if (count == QuoteIndexFile::kCannotOpen) {
        m_failed = true;
        m_error = index.error();
        return 0;
    }
    m_index_end = static_cast<uint64_t>(count) * kEntry;
    return 1;
}

int VolumeAppender::roll_back()
{
    m_data.Close();
    m_failed = true;
    // Before open found the file's end there is nothing of this run to cut.
    if (m_start == 0)
        return 1;
    OutputFile data;
    return data.Open(m_data_name.c_str(), OutputFile::kExisting) && data.Truncate(m_start) &&
           data.Sync() && data.Close();
}

int VolumeAppender::verify()
{
    if (m_failed || m_data.IsOpen())
        return 0;
    if (FilePath::FileSize(m_data_name.c_str()) != static_cast<int64_t>(m_end))
        return 0;
    const uint64_t entries_start = m_index_end - static_cast<uint64_t>(m_offsets.size()) * kEntry;
    std::ifstream index(m_index_name.c_str(), std::ios::in | std::ios::binary);
    std::string bytes(m_offsets.size() * kEntry, '\0');
    if (!index.is_open() || !index.seekg(0, std::ios::end) ||
        static_cast<uint64_t>(index.tellg()) != m_index_end ||
        !index.seekg(static_cast<std::streamoff>(entries_start)) ||
        !index.read(&bytes[0], static_cast<std::streamsize>(bytes.size())))
        return 0;
    std::string expected;
    expected.reserve(bytes.size());
    for (uint32_t offset : m_offsets)
        append_entry_bytes(expected, offset);
    return bytes == expected && data_reads_back() ? 1 : 0;
}

int VolumeAppender::data_reads_back() const
{
    std::ifstream data(m_data_name.c_str(), std::ios::in | std::ios::binary);
    if (!data.is_open() || !data.seekg(static_cast<std::streamoff>(m_start)))
        return 0;
    std::vector<char> block(kReadBack);
    ByteHash read_back;
    for (uint64_t left = m_end - m_start; left > 0;) {
        const size_t n = static_cast<size_t>(left < kReadBack ? left : kReadBack);
        if (!data.read(block.data(), static_cast<std::streamsize>(n)))
            return 0;
        read_back.add(block.data(), n);
        left -= n;
    }
    return read_back.value() == m_hash.value() ? 1 : 0;
}
