#include "db/volume_appender.h"

#include "base/file_path.h"
#include "db/quote_index_file.h"
#include "db/quote_item.h"

namespace {

// Records are gathered and written in pieces of about this size.
const size_t kWriteChunk = 1 << 20;

}  // namespace

VolumeAppender::VolumeAppender() : m_end(0), m_index_end(0), m_failed(false) {}

VolumeAppender::~VolumeAppender() = default;

int VolumeAppender::open(const zstring& data_name, const zstring& index_name)
{
    m_data_name = data_name;
    m_index_name = index_name;
    // Reading and writing, so that a missing data file is not made here:
    // records without the header before them would be no volume.
    m_data.open(data_name.c_str(), std::ios::in | std::ios::out | std::ios::binary);
    if (!m_data.is_open() || !m_data.seekp(0, std::ios::end)) {
        m_failed = true;
        return 0;
    }
    m_end = static_cast<uint64_t>(m_data.tellp());
    m_pending.reserve(kWriteChunk + kWriteChunk / 4);
    return 1;
}

int VolumeAppender::append(const StoredQuote& item)
{
    if (m_failed || !m_data.is_open() || m_end > QuoteIndexFile::kLastOffset) {
        m_failed = true;
        return 0;
    }
    const size_t before = m_pending.size();
    item.encode_record(m_pending);
    return take(before);
}

int VolumeAppender::append_record_bytes(const char* bytes, size_t size)
{
    if (m_failed || !m_data.is_open() || m_end > QuoteIndexFile::kLastOffset) {
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
    if (!m_data.write(m_pending.data(), static_cast<std::streamsize>(m_pending.size())))
        m_failed = true;
    m_pending.clear();
    return m_failed ? 0 : 1;
}

int VolumeAppender::commit()
{
    if (m_failed || !m_data.is_open() || !flush_pending())
        return 0;
    m_data.close();
    if (m_data.fail()) {
        m_failed = true;
        return 0;
    }
    std::fstream index;
    if (!open_index_file(index, m_index_name) || !index.seekp(0, std::ios::end)) {
        m_failed = true;
        return 0;
    }
    // New entries start after the last whole one, as a single append does.
    const uint64_t whole = static_cast<uint64_t>(index.tellp()) / 4 * 4;
    std::string entries;
    entries.reserve(m_offsets.size() * 4);
    for (uint32_t offset : m_offsets)
        append_entry_bytes(entries, offset);
    index.seekp(static_cast<std::streamoff>(whole));
    index.write(entries.data(), static_cast<std::streamsize>(entries.size()));
    index.close();
    if (index.fail()) {
        m_failed = true;
        return 0;
    }
    m_index_end = whole + entries.size();
    return 1;
}

int VolumeAppender::verify()
{
    if (m_failed || m_data.is_open())
        return 0;
    if (FilePath::FileSize(m_data_name.c_str()) != static_cast<int64_t>(m_end))
        return 0;
    const uint64_t entries_start = m_index_end - static_cast<uint64_t>(m_offsets.size()) * 4;
    std::ifstream index(m_index_name.c_str(), std::ios::in | std::ios::binary);
    std::string bytes(m_offsets.size() * 4, '\0');
    if (!index.is_open() || !index.seekg(0, std::ios::end) ||
        static_cast<uint64_t>(index.tellg()) != m_index_end ||
        !index.seekg(static_cast<std::streamoff>(entries_start)) ||
        !index.read(&bytes[0], static_cast<std::streamsize>(bytes.size())))
        return 0;
    std::string expected;
    expected.reserve(bytes.size());
    for (uint32_t offset : m_offsets)
        append_entry_bytes(expected, offset);
    return bytes == expected ? 1 : 0;
}
