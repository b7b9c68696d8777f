#include "db/quote_index_file.h"

#include <fstream>

#include "base/file_path.h"

namespace {

const std::ios::openmode kReadWrite = std::ios::in | std::ios::out | std::ios::binary;

// Positions both pointers at entry n. An entry past the last whole one
// counts as a failed seek, so a write never extends the index with entries
// of zeros (offset 0 would point into the header).
bool seek_entry(std::fstream& file, uint32_t n)
{
    if (!file.seekg(0, std::ios::end))
        return false;
    const std::streamoff position = static_cast<std::streamoff>(n) * 4;
    if (position + 4 > file.tellg())
        return false;
    return static_cast<bool>(file.seekp(position)) && static_cast<bool>(file.seekg(position));
}

// Writes the entry and closes the file: 1 only when the bytes reached it.
int put_offset(std::fstream& file, uint32_t offset)
{
    std::string bytes;
    append_entry_bytes(bytes, offset);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return file.fail() ? 0 : 1;
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
    file.open(name.c_str(), kReadWrite);
    if (file.is_open())
        return 1;
    // Only a file that is really not there is made: one that another
    // program holds, or that cannot be read, must never be emptied.
    if (!FilePath::FileMissing(name.c_str()))
        return 0;
    std::ofstream(name.c_str(), std::ios::out | std::ios::binary);
    file.clear();
    file.open(name.c_str(), kReadWrite);
    return file.is_open() ? 1 : 0;
}

QuoteIndexFile::QuoteIndexFile() : m_name("default.idx") {}

QuoteIndexFile::~QuoteIndexFile() = default;

uint32_t QuoteIndexFile::count()
{
    std::fstream file;
    if (!open_index_file(file, m_name) || !file.seekg(0, std::ios::end))
        return kCannotOpen;
    // A partial last entry of 1 to 3 bytes does not count.
    return static_cast<uint32_t>(static_cast<uint64_t>(file.tellg()) / 4);
}

uint32_t QuoteIndexFile::append_entry(uint32_t offset)
{
    std::fstream file;
    if (!open_index_file(file, m_name) || !file.seekp(0, std::ios::end))
        return kCannotOpen;
    // Entries stay aligned even after a partial last entry.
    const uint64_t entries = static_cast<uint64_t>(file.tellp()) / 4;
    if (!file.seekp(static_cast<std::streamoff>(entries * 4)) || !put_offset(file, offset))
        return kCannotOpen;
    return static_cast<uint32_t>(entries + 1);
}

uint32_t QuoteIndexFile::write_entry(uint32_t n, uint32_t offset)
{
    std::fstream file;
    if (!open_index_file(file, m_name) || !seek_entry(file, n))
        return 0;
    return put_offset(file, offset);
}

uint32_t QuoteIndexFile::erase_entry(uint32_t n)
{
    return write_entry(n, kErased);
}

uint32_t QuoteIndexFile::read_entry(uint32_t n, uint32_t& offset)
{
    // Reading needs no write access: items stay readable while another
    // program holds the index open for reading only.
    std::ifstream file(m_name.c_str(), std::ios::in | std::ios::binary);
    if (!file.is_open() || !file.seekg(0, std::ios::end) ||
        static_cast<std::streamoff>(n) * 4 + 4 > file.tellg() ||
        !file.seekg(static_cast<std::streamoff>(n) * 4))
        return 0;
    unsigned char bytes[4];
    if (!file.read(reinterpret_cast<char*>(bytes), sizeof bytes))
        return 0;
    offset = entry_from_bytes(bytes);
    return 1;
}
