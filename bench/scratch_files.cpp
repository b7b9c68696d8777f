#include "bench/scratch_files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
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

#ifdef _WIN32
const char kFlushCall[] = "FlushFileBuffers";

namespace {

bool copy_flushed(const std::string& from, const std::string& to)
{
    const HANDLE in = CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const HANDLE out = CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    bool right = in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE;
    std::vector<char> chunk(kCopyChunk);
    DWORD got = 0, put = 0;
    while (right && (right = ReadFile(in, chunk.data(), static_cast<DWORD>(chunk.size()), &got,
                                      nullptr) != 0) &&
           got > 0)
        right = WriteFile(out, chunk.data(), got, &put, nullptr) && put == got;
    right = right && FlushFileBuffers(out);
    if (in != INVALID_HANDLE_VALUE)
        CloseHandle(in);
    if (out != INVALID_HANDLE_VALUE)
        right = CloseHandle(out) && right;
    return right;
}

}  // namespace
#else
const char kFlushCall[] = "fsync";

namespace {

bool copy_flushed(const std::string& from, const std::string& to)
{
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    bool right = in >= 0 && out >= 0;
    std::vector<char> chunk(kCopyChunk);
    ssize_t got = 0;
    while (right && (got = read(in, chunk.data(), chunk.size())) > 0)
        right = write(out, chunk.data(), static_cast<size_t>(got)) == got;
    right = right && got == 0 && fsync(out) == 0;
    if (in >= 0)
        close(in);
    if (out >= 0)
        right = close(out) == 0 && right;
    return right;
}

}  // namespace
#endif

std::string lock_of(const std::string& data_name)
{
    return lock_file_name(zstring(data_name.c_str())).c_str();
}

#ifdef _WIN32
const char kSharedLockCall[] = "CreateFileA + LockFileEx + CloseHandle";

bool under_shared_lock(const std::string& lock_name, const std::function<bool()>& read)
{
    const HANDLE file = CreateFileA(lock_name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    OVERLAPPED at = {};
    const bool right = LockFileEx(file, LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) && read();
    CloseHandle(file);
    return right;
}
#else
const char kSharedLockCall[] = "open + fcntl(F_OFD_SETLK) + close";

bool under_shared_lock(const std::string& lock_name, const std::function<bool()>& read)
{
    const int fd = open(lock_name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    struct flock range = {};
    range.l_type = F_RDLCK;
    range.l_whence = SEEK_SET;
    const bool right = fcntl(fd, F_OFD_SETLK, &range) == 0 && read();
    close(fd);
    return right;
}
#endif

bool copy_pair_flushed(const std::string& from, const std::string& to)
{
    return copy_flushed(from, to) && copy_flushed(index_of(from), index_of(to));
}

bool same_pair(const std::string& a, const std::string& b)
{
    return file_bytes(a) == file_bytes(b) && file_bytes(index_of(a)) == file_bytes(index_of(b));
}
