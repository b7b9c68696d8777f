// Times a pack of a 100,000-item volume by the plain database and by the
// application's progress database, whose progress window repaints in its
// own thread; the difference is what the progress display costs.
//
//   progress_bench [items]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/quote_generator.h"
#include "bench/scratch_files.h"
#include "db/progress_quote_database.h"

namespace {

const uint64_t kSeed = 0x4F7256616C6973ull;
const int kRuns = 3;

template <class Database>
double PackSeconds(uint32_t items, std::vector<QuoteEntry>& quotes)
{
    write_volume("Volume01.STD", quotes, items);
    Database db;
    const auto start = std::chrono::steady_clock::now();
    const uint32_t packed = db.pack();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (packed != 1 || db.count() != items) {
        std::fprintf(stderr, "pack failed\n");
        std::exit(1);
    }
    return took.count();
}

}  // namespace

int main(int argc, char** argv)
{
    const uint32_t items = argc > 1 ? static_cast<uint32_t>(std::atol(argv[1])) : 100000;
    ScratchFolder folder;
    std::vector<QuoteEntry> quotes = make_quotes(1000, kSeed);
    for (int run = 0; run < kRuns; ++run) {
        const double plain = PackSeconds<QuoteDatabaseV2>(items, quotes);
        const double shown = PackSeconds<ProgressQuoteDatabase>(items, quotes);
        std::printf("pack of %u items: plain %.3f s, with progress %.3f s (+%.1f%%)\n",
                    items, plain, shown, 100.0 * (shown - plain) / plain);
    }
    return 0;
}
