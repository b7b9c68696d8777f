#include "db/volume_appender.h"

#include <cstring>

#include "db/quote_index_file.h"
#include "db/quote_item.h"

namespace {

// Records are gathered and written in pieces of about this size.
const size_t kWriteChunk = 1 << 20;
const uint64_t kLastOffset = 0xFFFFFFFEull;  // 0xFFFFFFFF marks an erased entry

void put_entry(std::string& out, uint32_t offset)
{
    const char bytes[4] = {static_cast<char>(offset & 0xFF), static_cast<char>(offset >> 8 & 0xFF),
                           static_cast<char>(offset >> 16 & 0xFF), static_cast<char>(offset >> 24)};
    out.append(bytes, sizeof bytes);
}

// The checksum of the bytes from start to the end of the file; false when
// they cannot be read or do not end where expected.
bool sum_file_tail(const zstring& name, uint64_t start, uint64_t end, uint64_t& sum)
{
    std::ifstream in(name.c_str(), std::ios::in | std::ios::binary);
    if (!in.is_open() || !in.seekg(0, std::ios::end) ||
        static_cast<uint64_t>(in.tellg()) != end || !in.seekg(static_cast<std::streamoff>(start)))
        return false;
    ByteChecksum checksum;
    std::vector<char> chunk(kWriteChunk);
    for (uint64_t left = end - start; left > 0;) {
        const size_t n = static_cast<size_t>(left < chunk.size() ? left : chunk.size());
        if (!in.read(chunk.data(), static_cast<std::streamsize>(n)))
            return false;
        checksum.add(chunk.data(), n);
        left -= n;
    }
    sum = checksum.value();
    return true;
}

}  // namespace

void ByteChecksum::mix(uint64_t word)
{
    m_sum = (m_sum ^ word) * 0x100000001B3ull;
    m_sum ^= m_sum >> 29;
}

void ByteChecksum::add(const char* p, size_t n)
{
    for (; n > 0 && m_tail_bytes != 0; --n, ++p) {
        m_tail |= static_cast<uint64_t>(static_cast<unsigned char>(*p)) << (8 * m_tail_bytes);
        if (++m_tail_bytes == 8) {
            mix(m_tail);
            m_tail = 0;
            m_tail_bytes = 0;
        }
    }
    for (; n >= 8; n -= 8, p += 8) {
        uint64_t word = 0;
        for (unsigned i = 0; i < 8; ++i)
            word |= static_cast<uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i);
        mix(word);
    }
    for (; n > 0; --n, ++p)
        m_tail |= static_cast<uint64_t>(static_cast<unsigned char>(*p)) << (8 * m_tail_bytes++);
}

uint64_t ByteChecksum::value() const
{
    ByteChecksum last = *this;
    last.mix(m_tail ^ (static_cast<uint64_t>(m_tail_bytes) << 56));
    return last.m_sum;
}

VolumeAppender::VolumeAppender() : m_start(0), m_end(0), m_index_end(0), m_failed(false) {}

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
    m_start = m_end = static_cast<uint64_t>(m_data.tellp());
    m_pending.reserve(kWriteChunk + kWriteChunk / 4);
    return 1;
}

int VolumeAppender::append(const StoredQuote& item)
{
    if (m_failed || !m_data.is_open() || m_end > kLastOffset) {
        m_failed = true;
        return 0;
    }
    const size_t before = m_pending.size();
    item.encode_record(m_pending);
    m_checksum.add(m_pending.data() + before, m_pending.size() - before);
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
        put_entry(entries, offset);
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
    uint64_t sum = 0;
    if (!sum_file_tail(m_data_name, m_start, m_end, sum) || sum != m_checksum.value())
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
        put_entry(expected, offset);
    return bytes == expected ? 1 : 0;
}
