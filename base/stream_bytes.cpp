#include "base/stream_bytes.h"

namespace {

const size_t kReadChunk = 65536;

}  // namespace

void read_exactly(std::istream& is, size_t n, std::string& out)
{
    out.clear();
    while (is && out.size() < n) {
        const size_t want = n - out.size() < kReadChunk ? n - out.size() : kReadChunk;
        const size_t have = out.size();
        out.resize(have + want);
        is.read(&out[have], static_cast<std::streamsize>(want));
        out.resize(have + static_cast<size_t>(is.gcount()));
    }
}
