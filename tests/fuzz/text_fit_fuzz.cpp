// Re-wraps arbitrary text at widths from 1 to 100 and checks what the
// re-wrap promises: it ends, it changes only spaces, CRs and LFs, and no
// line runs past W + 2 characters before its trailing white space (texts
// are UTF-8: a byte that continues a character takes no column).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/text_fit.h"

namespace {

std::string WithoutLineBreaksAndSpaces(std::string text)
{
    text.erase(std::remove_if(text.begin(), text.end(),
                              [](char c) { return c == '\r' || c == '\n' || c == ' '; }),
               text.end());
    return text;
}

// The longest line in characters, up to its last byte that is not white space.
size_t LongestLine(const std::string& text)
{
    size_t longest = 0, start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        size_t last = end;
        while (last > start && std::strchr(" \t\r", text[last - 1]))
            --last;
        size_t characters = 0;
        int expected = 0;  // continuation bytes still due after a lead byte
        for (size_t i = start; i < last; ++i) {
            const unsigned char byte = static_cast<unsigned char>(text[i]);
            if (expected > 0 && (byte & 0xC0) == 0x80) {
                --expected;
                continue;
            }
            expected = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
            ++characters;
        }
        longest = std::max(longest, characters);
        start = end + 1;
    }
    return longest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int width = 1 + data[0] % 100;
    // The text ends at its first NUL, as a zstring does.
    const std::string input(std::string(reinterpret_cast<const char*>(data) + 1, size - 1).c_str());
    zstring text(input.c_str());
    ReformatToFit(text, width);
    const std::string output(text.c_str());
    if (WithoutLineBreaksAndSpaces(output) != WithoutLineBreaksAndSpaces(input) ||
        LongestLine(output) > static_cast<size_t>(width) + 2 || output.size() > 3 * input.size())
        std::abort();
    return 0;
}
