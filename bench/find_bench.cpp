// Find in the program's database over a million items whose only match is
// the item before the one on show, so the search reads the whole volume:
//   find_bench [--items N] [--runs R]
// Prints each run's time and the median; the progress window shows once a
// search has run half a second.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/item_words.h"
#include "base/stored_text.h"
#include "db/progress_quote_database.h"
#include "quote_generator.h"
#include "scratch_files.h"

int main(int argc, char** argv)
{
    uint32_t items = 1000000;
    int runs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--items"))
            items = static_cast<uint32_t>(std::atol(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--runs"))
            runs = std::atoi(argv[i + 1]);
    }
    ScratchFolder folder;
    std::vector<QuoteEntry> quotes = make_quotes(4096, 7);
    // The one match: a word none of the generated texts holds.
    quotes.resize(4096);
    write_volume("Volume01.STD", quotes, items);
    const uint32_t on_show = items / 2;
    {
        QuoteDatabaseV2 db;
        QuoteEntry needle;
        needle.set_text(zstring("the Zanzibar quotation"));
        db.replace_item(on_show - 1, needle);
    }
    ProgressQuoteDatabase db;
    StoredText texts(windows_1252_page());
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        ItemWords words(texts, "ZANZIBAR", false);
        const auto start = std::chrono::steady_clock::now();
        const int64_t found = db.find_item(on_show, words);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        seconds.push_back(took.count());
        std::printf("run %d: found %lld in %.3f s\n", run + 1, static_cast<long long>(found),
                    took.count());
        if (found != static_cast<int64_t>(on_show) - 1)
            return 1;
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("Find over %u items, the match just before the item on show: median %.3f s "
                "(target under 1.5 s)\n",
                items, seconds[seconds.size() / 2]);
    return 0;
}
