#include "db/volume_reader.h"

#include "db/quote_index_file.h"
#include "db/quote_item.h"

namespace {

// What a record read asks for first: the whole of nearly every record.
const size_t kRecordProbe = 4096;
// Read after a jump to a far-off record.
const size_t kJumpWindow = 16 * 1024;
const size_t kDefaultWindow = kJumpWindow;
const std::ios::openmode kRead = std::ios::in | std::ios::binary;

uint32_t decode_entry(const unsigned char* b)
{
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
           static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

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

VolumeReader::VolumeReader()
    : m_count(0), m_data_size(0), m_window_size(kDefaultWindow), m_uses(0)
{
}

VolumeReader::~VolumeReader() = default;

int VolumeReader::open(const zstring& data_name, const zstring& index_name)
{
    m_index.open(index_name.c_str(), kRead);
    if (!m_index.is_open() || !open_data(data_name))
        return 0;
    const int64_t index_size = size_of(m_index);
    if (index_size < 0)
        return 0;
    m_count = static_cast<uint32_t>(static_cast<uint64_t>(index_size) / 4);
    return 1;
}

int VolumeReader::open_data(const zstring& data_name)
{
    m_data.open(data_name.c_str(), kRead);
    if (!m_data.is_open())
        return 0;
    const int64_t data_size = size_of(m_data);
    if (data_size < 0)
        return 0;
    m_data_size = static_cast<uint64_t>(data_size);
    return 1;
}

int VolumeReader::load_index()
{
    std::vector<unsigned char> bytes(static_cast<size_t>(m_count) * 4);
    m_index.clear();
    if (!m_index.seekg(0) ||
        !m_index.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        return 0;
    m_entries.resize(m_count);
    for (uint32_t i = 0; i < m_count; ++i)
        m_entries[i] = decode_entry(&bytes[static_cast<size_t>(i) * 4]);
    return 1;
}

int VolumeReader::read_entry(uint32_t n, uint32_t& offset)
{
    if (n >= m_count)
        return 0;
    if (!m_entries.empty()) {
        offset = m_entries[n];
        return 1;
    }
    unsigned char bytes[4];
    m_index.clear();
    if (!m_index.seekg(static_cast<std::streamoff>(n) * 4) ||
        !m_index.read(reinterpret_cast<char*>(bytes), sizeof bytes))
        return 0;
    offset = decode_entry(bytes);
    return 1;
}

int VolumeReader::read_item(uint32_t n, StoredQuote& item)
{
    uint32_t offset = 0;
    uint64_t size = 0;
    if (!read_entry(n, offset) || offset == QuoteIndexFile::kErased)
        return 0;
    return read_record_at(offset, item, size);
}

int VolumeReader::read_record_at(uint32_t offset, StoredQuote& item, uint64_t& size)
{
    if (offset >= m_data_size)
        return 0;
    size_t available = 0;
    const char* bytes = bytes_at(offset, kRecordProbe, available);
    if (!bytes)
        return 0;
    size_t used = 0;
    StoredQuote::DecodeResult result = item.decode_record(bytes, available, used);
    if (result == StoredQuote::kTruncated && used > available && offset + used <= m_data_size) {
        // A record longer than the window: read it whole.
        bytes = bytes_at(offset, used, available);
        if (!bytes)
            return 0;
        result = item.decode_record(bytes, available, used);
    }
    if (result == StoredQuote::kDecoded) {
        size = used;
        return 1;
    }
    // Truncated at the end of the file, or not in the form this program
    // writes: the stream reader decides, exactly as for a single read.
    return read_with_stream(offset, item, size);
}

int VolumeReader::read_with_stream(uint32_t offset, StoredQuote& item, uint64_t& size)
{
    m_data.clear();
    if (!m_data.seekg(offset))
        return 0;
    if (!item.read_record(m_data))
        return 0;
    const std::streamoff end = m_data.tellg();
    size = end > static_cast<std::streamoff>(offset) ? static_cast<uint64_t>(end) - offset : 0;
    return 1;
}

// Two windows: records mostly follow one another in the file, but an
// edited item's record lies far off at the end, and one window would be
// read again after every such jump.
const char* VolumeReader::bytes_at(uint64_t offset, size_t want, size_t& available)
{
    Window* window = nullptr;
    bool streaming = false;
    for (Window& w : m_windows) {
        const uint64_t end = w.start + w.bytes.size();
        if (offset < w.start || offset > end)
            continue;
        if (offset + want <= end || end == m_data_size)
            window = &w;
        else
            streaming = true;  // the records run on past this window
    }
    if (!window) {
        // Only a run of records earns a large read; a jump reads little, so
        // that a volume read in no order costs a small read per record.
        const size_t least = streaming ? m_window_size : kJumpWindow;
        window = m_windows[0].last_use < m_windows[1].last_use ? &m_windows[0] : &m_windows[1];
        if (!fill(*window, offset, want > least ? want : least))
            return nullptr;
    }
    window->last_use = ++m_uses;
    const size_t skip = static_cast<size_t>(offset - window->start);
    available = window->bytes.size() - skip;
    return window->bytes.data() + skip;
}

bool VolumeReader::fill(Window& window, uint64_t offset, size_t want)
{
    const uint64_t left = m_data_size > offset ? m_data_size - offset : 0;
    const size_t size = static_cast<size_t>(left < want ? left : want);
    window.bytes.resize(size);
    window.start = offset;
    m_data.clear();
    if (!m_data.seekg(static_cast<std::streamoff>(offset)) ||
        !m_data.read(window.bytes.data(), static_cast<std::streamsize>(size))) {
        window.bytes.clear();
        window.start = 0;
        return false;
    }
    return true;
}
