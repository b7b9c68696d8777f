// Feeds arbitrary bytes to the readers of length-prefixed texts, persisted
// text lists, words and lines. Any crash or sanitizer report is a fault.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "base/n_stream.h"

namespace {

void read_texts(std::istream& in)
{
    n_stream text;
    for (int i = 0; i < 64 && in.good(); ++i) {
        text.read(in);
        if (in && text.length() > 0)
            (void)text[text.length() - 1];
    }
}

void read_words_and_lines(std::istream& in, unsigned iomax)
{
    zstring text;
    text.iomax(iomax);
    for (int i = 0; i < 64 && in.good(); ++i)
        (void)(i % 2 ? text.read(in) : text.readline(in));
    text.read_token(in);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t mode = data[0];
    std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1),
                          std::ios::in | std::ios::binary);
    std::vector<n_stream> list;
    if (mode % 3 == 0)
        read_texts(in);
    else if (mode % 3 == 1)
        read_text_list(in, list);
    else
        read_words_and_lines(in, 1u + (mode >> 2));
    return 0;
}
