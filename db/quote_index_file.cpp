#include "db/quote_index_file.h"

#include <fstream>

#include "base/file_path.h"
#include "base/output_file.h"
#include "db/quote_volume.h"

namespace {

const uint64_t kEntry = QuoteIndexFile::kEntrySize;

// The whole entries of an index (a partial last entry left out); an index
// that does not exist yet has none. 0 when it cannot be read.
int read_whole_entries(const zstring& name, std::string& bytes)
{
    bytes.clear();
    const FilePath::Kind kind = FilePath::KindOf(name.c_str());
    if (kind == FilePath::kMissing)
        return 1;
    std::ifstream file(name.c_str(), std::ios::in | std::ios::binary);
    if (kind != FilePath::kRegular || !file.is_open() || !file.seekg(0, std::ios::end))
        return 0;
    const uint64_t size = static_cast<uint64_t>(file.tellg());
    if (size > QuoteIndexFile::kLargestIndex)
        return 0;
    bytes.resize(static_cast<size_t>(size / kEntry * kEntry));
    return file.seekg(0) && file.read(&bytes[0], static_cast<std::streamsize>(bytes.size())) ? 1 : 0;
}

}  // namespace

void append_entry_bytes(std::string& out, uint32_t offset)
{
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>(offset >> shift & 0xFF);
}

uint32_t entry_from_bytes(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

int open_index_file(std::fstream& file, const zstring& name)
{
    const std::ios::openmode read_write = std::ios::in | std::ios::out | std::ios::binary;
    const FilePath::Kind kind = FilePath::KindOf(name.c_str());
    if (kind == FilePath::kRegular) {
        file.open(name.c_str(), read_write);
        return file.is_open() ? 1 : 0;
    }
    // Only a file that is really not there is made: one that another
    // program holds, or that cannot be read, must never be emptied. It is
    // made durably, before any record that it will make reachable.
    if (kind != FilePath::kMissing)
        return 0;
    OutputFile made;
    if (made.Open(name.c_str(), OutputFile::kCreateNew) && made.Sync() && made.Close())
        OutputFile::SyncFolder(name.c_str());
    file.open(name.c_str(), read_write);
    return file.is_open() ? 1 : 0;
}

QuoteIndexFile::QuoteIndexFile() : m_name("default.idx"), m_error(0) {}

QuoteIndexFile::~QuoteIndexFile() = default;

uint32_t QuoteIndexFile::count()
{
    std::fstream file;
    if (!open_index_file(file, m_name) || !file.seekg(0, std::ios::end))
        return kCannotOpen;
    // A partial last entry of 1 to 3 bytes does not count; an index too
    // long for a 32-bit count is no index of this program's.
    const uint64_t entries = static_cast<uint64_t>(file.tellg()) / kEntry;
    return entries < kCannotOpen ? static_cast<uint32_t>(entries) : kCannotOpen;
}

uint32_t QuoteIndexFile::append_entry(uint32_t offset)
{
    std::string entry;
    append_entry_bytes(entry, offset);
    return append_entries(entry);
}

uint32_t QuoteIndexFile::append_entries(const std::string& entries)
{
    m_error = 0;
    std::string bytes;
    if (!read_whole_entries(m_name, bytes))
        return kCannotOpen;
    bytes += entries;
    const uint64_t count = bytes.size() / kEntry;
    if (count >= kCannotOpen)
        return kCannotOpen;
    zstring temporary(m_name);
    temporary.append(".new");
    OutputFile file;
    const int written = file.Open(temporary.c_str(), OutputFile::kReplace) &&
                        file.Write(bytes.data(), bytes.size()) && file.Sync() && file.Close();
    // The move is the commit: before it the old index stands, after it the new.
    if (written && OutputFile::Replace(temporary.c_str(), m_name.c_str()))
        return static_cast<uint32_t>(count);
    m_error = file.Error();
    file.Close();
    delete_volume_file(temporary);
    return kCannotOpen;
}

uint32_t QuoteIndexFile::write_entry(uint32_t n, uint32_t offset)
{
    m_error = 0;
    // An entry past the last whole one is refused, so a write never extends
    // the index with entries of zeros (offset 0 would point into the header).
    uint32_t old_offset = 0;
    if (!read_entry(n, old_offset))
        return 0;
    const uint64_t position = static_cast<uint64_t>(n) * kEntry;
    std::string entry;
    append_entry_bytes(entry, offset);
    OutputFile file;
    if (!file.Open(m_name.c_str(), OutputFile::kExisting))
        return 0;
    if (file.Seek(position) && file.Write(entry.data(), entry.size()) && file.Sync()) {
        // Flushed, the entry is made; closing cannot take it back.
        file.Close();
        return 1;
    }
    m_error = file.Error();
    // A write that may or may not have reached the disk is taken back, so
    // that a failure means the entry is as it was.
    std::string old_entry;
    append_entry_bytes(old_entry, old_offset);
    if (file.Seek(position) && file.Write(old_entry.data(), old_entry.size()))
        file.Sync();
    return 0;
}

uint32_t QuoteIndexFile::erase_entry(uint32_t n)
{
    return write_entry(n, kErased);
}

uint32_t QuoteIndexFile::read_entry(uint32_t n, uint32_t& offset)
{
    // Reading needs no write access: items stay readable while another
    // program holds the index open for reading only.
    const uint64_t position = static_cast<uint64_t>(n) * kEntry;
    std::ifstream file;
    if (FilePath::KindOf(m_name.c_str()) == FilePath::kRegular)
        file.open(m_name.c_str(), std::ios::in | std::ios::binary);
    if (!file.is_open() || !file.seekg(0, std::ios::end) ||
        static_cast<uint64_t>(file.tellg()) < position + kEntry ||
        !file.seekg(static_cast<std::streamoff>(position)))
        return 0;
    unsigned char bytes[kEntrySize];
    if (!file.read(reinterpret_cast<char*>(bytes), sizeof bytes))
        return 0;
    offset = entry_from_bytes(bytes);
    return 1;
}
