#include "bench/scratch_files.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <fstream>
#include <sstream>

#include "db/file_header.h"
#include "db/volume_names.h"

namespace fs = std::filesystem;

namespace {

const size_t kCopyChunk = 65536;

bool copy_by_loop(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    std::vector<char> chunk(kCopyChunk);
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0)
        out.write(chunk.data(), in.gcount());
    return in.eof() && out.good();
}

}  // namespace

Layout write_volume(const std::string& name, std::vector<QuoteEntry>& quotes, uint32_t items)
{
    std::ofstream data(name, std::ios::binary | std::ios::trunc);
    std::ofstream index(index_of(name), std::ios::binary | std::ios::trunc);
    data << header_bytes();
    Layout layout;
    layout.offsets.reserve(items);
    for (uint32_t i = 0; i < items; ++i) {
        // The numbers go on counting past the end of the generated quotes;
        // each quote gets its own number back after use.
        QuoteEntry& quote = quotes[i % quotes.size()];
        const int32_t own = quote.quote_number();
        quote.set_quote_number(static_cast<int32_t>(i));
        uint32_t offset = 0;
        quote.append_record(data, offset);
        quote.set_quote_number(own);
        index << entry_bytes(offset);
        layout.offsets.push_back(offset);
    }
    layout.end = static_cast<uint32_t>(data.tellp());
    return layout;
}

std::string index_of(const std::string& data_name)
{
    return index_file_name(zstring(data_name.c_str())).c_str();
}

std::string file_bytes(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string header_bytes()
{
    FileHeader header;
    fill_volume_header(header);
    std::ostringstream out(std::ios::out | std::ios::binary);
    header.write(out);
    return out.str();
}

std::string entry_bytes(uint32_t offset)
{
    const char bytes[4] = {static_cast<char>(offset & 0xFF), static_cast<char>(offset >> 8 & 0xFF),
                           static_cast<char>(offset >> 16 & 0xFF),
                           static_cast<char>(offset >> 24 & 0xFF)};
    return std::string(bytes, 4);
}

void delete_pair(const std::string& data_name)
{
    std::error_code ignored;
    fs::remove(data_name, ignored);
    fs::remove(index_of(data_name), ignored);
}

#ifdef _WIN32
const char kCopyPairFloor[] = "CopyFileA";

bool copy_pair(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) &&
           CopyFileA(index_of(from).c_str(), index_of(to).c_str(), FALSE);
}
#else
const char kCopyPairFloor[] = "std::filesystem::copy_file";

bool copy_pair(const std::string& from, const std::string& to)
{
    const auto overwrite = fs::copy_options::overwrite_existing;
    std::error_code error;
    return fs::copy_file(from, to, overwrite, error) &&
           fs::copy_file(index_of(from), index_of(to), overwrite, error);
}
#endif

bool copy_pair_by_loop(const std::string& from, const std::string& to)
{
    return copy_by_loop(from, to) && copy_by_loop(index_of(from), index_of(to));
}

bool same_pair(const std::string& a, const std::string& b)
{
    return file_bytes(a) == file_bytes(b) && file_bytes(index_of(a)) == file_bytes(index_of(b));
}
