#include "db/volume_reader.h"

#include <algorithm>
#include <new>

#include "base/file_path.h"
#include "db/quote_index_file.h"
#include "db/quote_item.h"

namespace {

// What a record read asks for first: the whole of nearly every record.
const size_t kRecordProbe = 4096;
// The data file is read in aligned blocks, and the blocks last used are
// kept: records mostly follow one another, while edited items' records and
// tombstones lie together at the end of the file in no order. A volume read
// in no order at all costs one block read per record.
const size_t kBlockSize = 64 * 1024;
const size_t kBlocksKept = 64;
// The index is read in aligned chunks of this many entries (64 KiB).
const uint32_t kChunkEntries = 16 * 1024;
const uint32_t kEntrySize = QuoteIndexFile::kEntrySize;
// An index's entries must all have 32-bit numbers and a 32-bit count.
const uint64_t kLargestIndexRead = QuoteIndexFile::kLargestIndex + QuoteIndexFile::kEntrySize - 1;
const std::ios::openmode kRead = std::ios::in | std::ios::binary;

// The file's size, with the stream left at its start; -1 on failure.
int64_t size_of(std::ifstream& file)
{
    if (!file.seekg(0, std::ios::end))
        return -1;
    const std::streamoff size = file.tellg();
    if (size < 0 || !file.seekg(0))
        return -1;
    return size;
}

}  // namespace

const char* const VolumeReader::kNotRegularText = "not a regular file (a folder, pipe or device)";

VolumeReader::VolumeReader()
    : m_count(0), m_index_size(0), m_data_size(0), m_failure(kNoFailure), m_index_failed(false),
      m_failed_size(0), m_chunk_first(0), m_uses(0), m_last(0)
{
    m_blocks.reserve(kBlocksKept);
    m_chunk.reserve(kChunkEntries);
    m_entry_bytes.reserve(static_cast<size_t>(kChunkEntries) * kEntrySize);
}

VolumeReader::~VolumeReader() = default;

int VolumeReader::open(const zstring& data_name, const zstring& index_name)
{
    if (!open_data(data_name))
        return 0;
    m_index_failed = true;
    if (!open_file(m_index, index_name, kLargestIndexRead, m_index_size))
        return 0;
    m_index_failed = false;
    m_count = static_cast<uint32_t>(m_index_size / kEntrySize);
    return 1;
}

int VolumeReader::open_data(const zstring& data_name)
{
    m_index_failed = false;
    return open_file(m_data, data_name, QuoteIndexFile::kLargestData, m_data_size);
}

// The kind of file is looked at before it is opened: opening a pipe for
// reading waits for a writer, and a folder opens on some systems and then
// seems to hold 2^63 bytes.
int VolumeReader::open_file(std::ifstream& file, const zstring& name, uint64_t largest,
                            uint64_t& size)
{
    const FilePath::Kind kind = FilePath::KindOf(name.c_str());
    m_failure = kind == FilePath::kMissing      ? kMissing
                : kind == FilePath::kNotRegular ? kNotRegular
                : kind == FilePath::kUnknown    ? kCannotOpen
                                                : kNoFailure;
    if (m_failure != kNoFailure)
        return 0;
    file.open(name.c_str(), kRead);
    const int64_t found = file.is_open() ? size_of(file) : -1;
    if (found < 0) {
        m_failure = kCannotOpen;
        return 0;
    }
    if (static_cast<uint64_t>(found) > largest) {
        m_failure = kTooLarge;
        m_failed_size = static_cast<uint64_t>(found);
        return 0;
    }
    size = static_cast<uint64_t>(found);
    return 1;
}

std::string VolumeReader::failure_text() const
{
    switch (m_failure) {
    case kMissing:
        return "no such file";
    case kNotRegular:
        return kNotRegularText;
    case kTooLarge:
        if (m_index_failed)
            return std::to_string(m_failed_size) + " bytes, more entries than a volume can hold (" +
                   std::to_string(kLargestIndexRead / kEntrySize) + " at most)";
        return std::to_string(m_failed_size) + " bytes, larger than a volume's data file can be (" +
               std::to_string(QuoteIndexFile::kLargestData >> 30) + " GiB at most)";
    case kCannotOpen:
    case kNoFailure:
        break;
    }
    return "cannot be read";
}

int VolumeReader::load_index()
{
    m_entries.clear();
    if (m_count > m_entries.max_size())
        return 0;
    try {
        m_entries.resize(m_count);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    // 64 bits: the last chunk of a full index ends at 2^32.
    for (uint64_t first = 0; first < m_count; first += kChunkEntries) {
        const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(kChunkEntries, m_count - first));
        if (!read_entries(static_cast<uint32_t>(first), n, &m_entries[first])) {
            m_entries.clear();
            return 0;
        }
    }
    return 1;
}

int VolumeReader::read_entries(uint32_t first, uint32_t n, uint32_t* out)
{
    m_entry_bytes.resize(static_cast<size_t>(n) * kEntrySize);
    m_index.clear();
    if (!m_index.seekg(static_cast<std::streamoff>(first) * kEntrySize) ||
        !m_index.read(reinterpret_cast<char*>(m_entry_bytes.data()),
                      static_cast<std::streamsize>(m_entry_bytes.size())))
        return 0;
    for (uint32_t i = 0; i < n; ++i)
        out[i] = entry_from_bytes(&m_entry_bytes[static_cast<size_t>(i) * kEntrySize]);
    return 1;
}

int VolumeReader::read_chunk(uint32_t first)
{
    m_chunk.resize(std::min(kChunkEntries, m_count - first));
    m_chunk_first = first;
    if (read_entries(first, static_cast<uint32_t>(m_chunk.size()), m_chunk.data()))
        return 1;
    m_chunk.clear();
    return 0;
}

int VolumeReader::read_entry(uint32_t n, uint32_t& offset)
{
    if (n >= m_count)
        return 0;
    if (!m_entries.empty()) {
        offset = m_entries[n];
        return 1;
    }
    const bool in_chunk = n >= m_chunk_first && n - m_chunk_first < m_chunk.size();
    if (!in_chunk && !read_chunk(n - n % kChunkEntries))
        return 0;
    offset = m_chunk[n - m_chunk_first];
    return 1;
}

int VolumeReader::read_item(uint32_t n, StoredQuote& item)
{
    const char* bytes = nullptr;
    uint64_t size = 0;
    return read_item_bytes(n, item, bytes, size);
}

int VolumeReader::read_item_bytes(uint32_t n, StoredQuote& item, const char*& bytes,
                                  uint64_t& size)
{
    uint32_t offset = 0;
    if (!read_entry(n, offset) || offset == QuoteIndexFile::kErased)
        return 0;
    return read_record(offset, item, bytes, size);
}

int VolumeReader::read_record_at(uint32_t offset, StoredQuote& item, uint64_t& size)
{
    const char* bytes = nullptr;
    return read_record(offset, item, bytes, size);
}

int VolumeReader::read_record(uint32_t offset, StoredQuote& item, const char*& record,
                              uint64_t& size)
{
    record = nullptr;
    if (offset >= m_data_size)
        return 0;
    // The first look stays inside the offset's block when it can.
    const size_t in_block = kBlockSize - static_cast<size_t>(offset % kBlockSize);
    size_t available = 0;
    const char* bytes = bytes_at(offset, in_block < kRecordProbe ? in_block : kRecordProbe, available);
    if (!bytes)
        return 0;
    size_t used = 0;
    StoredQuote::DecodeResult result = item.decode_record(bytes, available, used, m_scratch);
    if (result == StoredQuote::kTruncated && available < m_data_size - offset &&
        (used == 0 || (used > available && offset + used <= m_data_size))) {
        // The record runs on past the block: read it whole.
        bytes = bytes_at(offset, used > 0 ? used : kRecordProbe, available);
        if (!bytes)
            return 0;
        result = item.decode_record(bytes, available, used, m_scratch);
    }
    if (result == StoredQuote::kDecoded || result == StoredQuote::kAsWritten) {
        if (result == StoredQuote::kAsWritten)
            record = bytes;
        size = used;
        return 1;
    }
    // Truncated at the end of the file, or not in the form this program
    // writes: the stream reader decides, exactly as for a single read.
    return read_with_stream(offset, item, size);
}

// Reads as a fresh item would: a record that lacks fields must not leave a
// reused item holding those of the one before.
int VolumeReader::read_with_stream(uint32_t offset, StoredQuote& item, uint64_t& size)
{
    m_data.clear();
    if (!m_data.seekg(offset))
        return 0;
    StoredQuote fresh;
    if (!fresh.read_record(m_data))
        return 0;
    const std::streamoff end = m_data.tellg();
    size = end > static_cast<std::streamoff>(offset) ? static_cast<uint64_t>(end) - offset : 0;
    item.copy_from(fresh);
    return 1;
}

const char* VolumeReader::bytes_at(uint64_t offset, size_t want, size_t& available)
{
    const size_t within = static_cast<size_t>(offset % kBlockSize);
    if (within + want > kBlockSize && offset + kBlockSize - within < m_data_size)
        return read_spanning(offset, want, available);
    const Block* found = block(offset / kBlockSize);
    if (!found || within > found->bytes.size())
        return nullptr;
    available = found->bytes.size() - within;
    return found->bytes.data() + within;
}

const VolumeReader::Block* VolumeReader::block(uint64_t number)
{
    // Most reads fall in the block the read before used.
    if (m_last < m_blocks.size() && m_blocks[m_last].number == number)
        return &m_blocks[m_last];
    Block* oldest = nullptr;
    for (Block& b : m_blocks) {
        if (b.number == number) {
            b.last_use = ++m_uses;
            m_last = static_cast<size_t>(&b - m_blocks.data());
            return &b;
        }
        if (!oldest || b.last_use < oldest->last_use)
            oldest = &b;
    }
    if (m_blocks.size() < kBlocksKept) {
        m_blocks.emplace_back();
        oldest = &m_blocks.back();
    }
    const uint64_t start = number * kBlockSize;
    const uint64_t left = m_data_size > start ? m_data_size - start : 0;
    oldest->bytes.resize(static_cast<size_t>(left < kBlockSize ? left : kBlockSize));
    m_data.clear();
    if (!m_data.seekg(static_cast<std::streamoff>(start)) ||
        !m_data.read(oldest->bytes.data(), static_cast<std::streamsize>(oldest->bytes.size()))) {
        oldest->last_use = 0;
        oldest->number = ~0ull;
        return nullptr;
    }
    oldest->number = number;
    oldest->last_use = ++m_uses;
    m_last = static_cast<size_t>(oldest - m_blocks.data());
    return oldest;
}

// Bytes that cross a block's end are read on their own.
const char* VolumeReader::read_spanning(uint64_t offset, size_t want, size_t& available)
{
    const uint64_t left = m_data_size > offset ? m_data_size - offset : 0;
    m_spanning.resize(static_cast<size_t>(left < want ? left : want));
    m_data.clear();
    if (!m_data.seekg(static_cast<std::streamoff>(offset)) ||
        !m_data.read(m_spanning.data(), static_cast<std::streamsize>(m_spanning.size())))
        return nullptr;
    available = m_spanning.size();
    return m_spanning.data();
}
