#include "volume_test_support.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "db/field_record.h"

std::string file_bytes(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const std::string& name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

std::string entry_bytes(uint32_t offset)
{
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>(offset >> shift & 0xFF);
    return bytes;
}

QuoteEntry stored_entry(QuoteVolume& volume, uint32_t n)
{
    QuoteEntry entry;
    EXPECT_EQ(1u, volume.read_item(n, entry)) << "item " << n;
    entry.set_position(static_cast<int32_t>(n));
    return entry;
}

void delete_item(QuoteDatabaseV2& volume, uint32_t n)
{
    QuoteEntry entry = stored_entry(volume, n);
    ASSERT_EQ(1u, volume.delete_item(entry)) << "item " << n;
}

std::string record_bytes(const char* version, const char* text, bool plain)
{
    FieldRecord record;
    if (plain)
        record.set_marker(zstring("10"));
    for (const char* field : {version, "12", "-3", "plain", text})
        record.add_field(zstring(field));
    std::ostringstream out(std::ios::out | std::ios::binary);
    record.write(out);
    return out.str();
}

QuoteEntry make_quote(int number, const std::string& classification, const std::string& text)
{
    QuoteEntry entry;
    entry.set_quote_number(number);
    entry.set_classification(zstring(classification.c_str()));
    entry.set_text(zstring(text.c_str()));
    return entry;
}

void append_quotes(QuoteVolume& volume, int n)
{
    for (int i = 0; i < n; ++i)
        ASSERT_EQ(1u, volume.append_item(make_quote(i, "cat", "quote " + std::to_string(i))));
}

std::vector<std::string> item_texts(QuoteVolume& volume)
{
    std::vector<std::string> texts;
    QuoteEntry entry;
    const uint32_t n = volume.count();
    if (n == QuoteIndexFile::kCannotOpen) {
        ADD_FAILURE() << volume.file_name().c_str() << " cannot be counted";
        return {"<cannot count>"};
    }
    for (uint32_t i = 0; i < n; ++i)
        texts.push_back(volume.read_item(i, entry) ? entry.text().c_str() : "?");
    return texts;
}

std::vector<std::string> quote_texts(int first, int last)
{
    std::vector<std::string> texts;
    while (first <= last)
        texts.push_back("quote " + std::to_string(first++));
    return texts;
}
