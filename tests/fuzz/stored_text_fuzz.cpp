// Feeds arbitrary bytes to the stored-text rule as a stored text and as a
// search needle. Whatever the bytes, reading them and storing the text again
// keeps the text, and keeps the bytes themselves unless they were UTF-8 that
// the code page could have held (the rule then stores the code page's bytes);
// a second round changes nothing. The caseless search agrees with folding
// both texts and finding one in the other.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/stored_text.h"
#include "base/caseless_finder.h"

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void round_trip(const StoredText& rule, const std::string& bytes)
{
    std::u32string text;
    rule.to_unicode(bytes.data(), bytes.size(), text);
    std::string stored;
    const StoredText::Result result = rule.from_unicode(text, stored);
    check(result != StoredText::kNotText);
    std::u32string again;
    rule.to_unicode(stored.data(), stored.size(), again);
    check(again == text);
    const bool page_could_hold = StoredText::form_of(bytes) == StoredText::kUtf8 &&
                                 result == StoredText::kStoredInCodePage;
    check(page_could_hold || stored == bytes);
    std::string twice;
    check(rule.from_unicode(again, twice) == result && twice == stored);

    // The same through UTF-8 and UTF-16.
    const std::string utf8 = rule.to_utf8(bytes);
    check(StoredText::is_valid_utf8(utf8));
    std::string buffer;
    check(rule.utf8_view(bytes.data(), bytes.size(), buffer) == utf8);
    check(rule.from_utf8(utf8, twice) == result && twice == stored);
    check(rule.from_utf16(rule.to_utf16(bytes), twice) == result && twice == stored);
    const size_t cut = StoredText::utf8_cut(utf8.data(), utf8.size(), bytes.size() / 2);
    check(cut <= bytes.size() / 2 || cut == utf8.size());
    check(StoredText::is_valid_utf8(utf8.substr(0, cut)));
}

void search(const std::string& needle, const std::string& text)
{
    if (needle.empty())
        return;
    std::string folded_needle = needle;
    std::string folded_text = text;
    fold_case(folded_needle);
    fold_case(folded_text);
    const bool expected = folded_text.find(folded_needle) != std::string::npos;
    check(CaselessFinder(needle).found_in(text) == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the code page and where the needle ends.
    const uint8_t mode = data[0];
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    // No stored text holds a zero byte.
    bytes = bytes.substr(0, bytes.find('\0'));
    round_trip(StoredText(mode & 1 ? latin1_page() : windows_1252_page()), bytes);

    const StoredText rule(windows_1252_page());
    const size_t split = bytes.empty() ? 0 : (mode >> 1) % (bytes.size() + 1);
    search(rule.to_utf8(bytes.substr(0, split)), rule.to_utf8(bytes.substr(split)));
    return 0;
}
