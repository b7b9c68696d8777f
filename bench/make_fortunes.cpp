// Writes generated quotes as a fortune file: each entry followed by a line
// holding only "%", with LF line ends. The same quotes for the same count
// in every build, so that fortune, strfile and orvvol get the same text.
//
//   make_fortunes COUNT FILE
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/quote_generator.h"

namespace {

const uint64_t kSeed = 0x466F7274756E65ull;

std::string with_lf_lines(std::string text)
{
    std::string::size_type at = 0;
    while ((at = text.find("\r\n", at)) != std::string::npos)
        text.erase(at, 1);
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    const long count = argc == 3 ? std::atol(argv[1]) : 0;
    if (count <= 0 || count > 0x7FFFFFFF) {
        std::fprintf(stderr, "usage: make_fortunes COUNT FILE\n");
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    for (const QuoteEntry& quote : make_quotes(static_cast<uint32_t>(count), kSeed))
        out << with_lf_lines(quote.text().c_str()) << "\n%\n";
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_fortunes: %s: write failed\n", argv[2]);
        return 1;
    }
    return 0;
}
