#include "bench/quote_generator.h"

#include <cstddef>
#include <string>

namespace {

const char* const kWords[] = {
    "the", "of", "and", "a", "to", "in", "is", "you", "that", "it", "he", "was", "for", "on",
    "are", "as", "with", "his", "they", "at", "be", "this", "have", "from", "or", "one", "had",
    "by", "word", "but", "not", "what", "all", "were", "we", "when", "your", "can", "said",
    "there", "each", "which", "she", "do", "how", "their", "if", "will", "up", "other", "about",
    "out", "many", "then", "them", "so", "some", "her", "would", "make", "like", "him", "into",
    "time", "has", "look", "more", "write", "go", "see", "no", "way", "could", "people", "my",
    "than", "first", "water", "been", "who", "its", "now", "find", "long", "down", "day",
    "get", "come", "made", "may", "part", "wisdom", "courage", "patience", "silence", "truth",
    "river", "mountain", "friendship", "nothing", "everything", "tomorrow", "yesterday",
    "imagination", "knowledge", "happiness", "failure", "success", "world", "heart", "mind"};
const char* const kCategories[] = {"Wisdom", "Humor", "Life", "Love", "Science", "Work",
                                   "Friends", "Courage", "Art", "Time", "Nature", "Proverbs"};
const char* const kAuthors[] = {"Anonymous", "Old proverb", "M. Keldovane", "A. Torrance",
                                "L. Okafor", "J. Varga", "S. Lindqvist"};

template <typename T, size_t N>
const T& pick(Random& random, const T (&list)[N])
{
    return list[random.below(N)];
}

// Short quotes are the common case: the body length leans towards 40 bytes
// and never passes 560, leaving room for an attribution line.
std::string make_text(Random& random)
{
    const double u = random.unit();
    const size_t target = 40 + static_cast<size_t>(520.0 * u * u);
    // About one quote in twelve is set as lines (a verse, an attribution).
    const bool lines = random.below(12) == 0;
    std::string text;
    bool sentence_start = true;
    while (text.size() < target) {
        std::string word = pick(random, kWords);
        if (sentence_start)
            word[0] = static_cast<char>(word[0] - 'a' + 'A');
        text += text.empty() ? "" : (sentence_start && lines ? "\r\n" : " ");
        text += word;
        const bool pause = random.below(9) == 0;
        sentence_start = pause && random.below(4) != 0;
        if (pause)
            text += sentence_start ? "." : ",";
    }
    // A pause on the last word gives way to the closing full stop.
    if (text.back() == '.' || text.back() == ',')
        text.pop_back();
    text += ".";
    if (lines)
        text += std::string("\r\n-- ") + pick(random, kAuthors);
    return text;
}

}  // namespace

std::vector<QuoteEntry> make_quotes(uint32_t n, uint64_t seed)
{
    Random random(seed);
    std::vector<QuoteEntry> quotes(n);
    for (uint32_t i = 0; i < n; ++i) {
        quotes[i].set_quote_number(static_cast<int32_t>(i));
        quotes[i].set_classification(zstring(pick(random, kCategories)));
        quotes[i].set_text(zstring(make_text(random).c_str()));
    }
    return quotes;
}
