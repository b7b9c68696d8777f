#include "db/quote_item.h"

#include <cctype>
#include <cstring>
#include <istream>
#include <locale>
#include <ostream>
#include <sstream>
#include <string>

#include "db/field_record.h"

const char* const kTombstoneText = "               (QUOTE DELETED)";

namespace {

const char kDeletedFlag = 0x07;
const char* const kTombstonePrefix = "\aDELETED ";

// Record field numbers.
enum { kVersionField, kNumberField, kFrequencyField, kClassField, kTextField, kFieldTotal };

zstring print_int(int64_t n)
{
    return zstring(std::to_string(n).c_str());
}

// Field 0 as the double it was printed from ("3"); the whole text must be
// one number, so "3x" or "" is no version at all.
int parse_version(const zstring& text, double& version)
{
    std::istringstream in(text.c_str());
    in.imbue(std::locale::classic());
    if (!(in >> version))
        return 0;
    return in.peek() == std::char_traits<char>::eof();
}

// Writes the n bytes at p into text, in its own buffer when that is large
// enough (a copy of a whole volume then allocates nothing per item).
void put_text(zstring& text, const char* p, size_t n)
{
    if (text.capacity() <= n) {
        const size_t size = n + zstring::default_growth + 4;
        text.own(new char[size], static_cast<unsigned>(size));
    }
    char* buffer = &text[0];
    std::memcpy(buffer, p, n);
    buffer[n] = '\0';
}

int is_blank(char c)
{
    return std::isspace(static_cast<unsigned char>(c));
}

}  // namespace

QuoteItem::QuoteItem()
    : m_quote_number(0), m_frequency(0), m_classification("<NONE>"), m_text("<NONE>")
{
}

QuoteItem::~QuoteItem() = default;

void QuoteItem::clear()
{
    m_classification = "<none>";
    m_text = "<empty>";
}

int QuoteItem::has_text() const
{
    return m_text.length() > 0 && m_text != zstring("<NONE>");
}

int QuoteItem::is_deleted() const
{
    return m_classification.c_str()[0] == kDeletedFlag;
}

void QuoteItem::set_texts(const char* classification, size_t classification_size,
                          const char* text, size_t text_size)
{
    put_text(m_classification, classification, classification_size);
    put_text(m_text, text, text_size);
}

void QuoteItem::copy_from(const QuoteItem& other)
{
    m_quote_number = other.m_quote_number;
    m_frequency = other.m_frequency;
    m_classification = other.m_classification;
    m_text = other.m_text;
}

StoredQuote::~StoredQuote() = default;

double StoredQuote::record_version() const
{
    return 3.0;
}

std::ostream& StoredQuote::write_record(std::ostream& os) const
{
    std::string bytes;
    encode_record(bytes);
    return os.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

int StoredQuote::read_record(std::istream& is)
{
    FieldRecord record;
    if (!record.read(is))
        return 0;
    double version = 0.0;
    if (record.field_count() <= kVersionField ||
        !parse_version(record.field(kVersionField), version) || version != record_version())
        return 0;
    const unsigned count = record.field_count();
    if (count > kNumberField)
        set_quote_number(record.field(kNumberField).as_int());
    if (count > kFrequencyField)
        set_frequency(record.field(kFrequencyField).as_int());
    if (count > kClassField)
        set_classification(record.field(kClassField));
    if (count > kTextField)
        set_text(record.field(kTextField));
    return 1;
}

int StoredQuote::append_record(std::ostream& os, uint32_t& offset) const
{
    if (!os.seekp(0, std::ios::end))
        return 0;
    const std::streamoff end = os.tellp();
    if (end < 0 || end >= static_cast<std::streamoff>(0xFFFFFFFFu))
        return 0;
    offset = static_cast<uint32_t>(end);
    return write_record(os) ? 1 : 0;
}

QuoteEntry::QuoteEntry() : m_position(kNotStored) {}

QuoteEntry::~QuoteEntry() = default;

void QuoteEntry::clear()
{
    StoredQuote::clear();
    m_position = kNotStored;
}

zstring tombstone_classification(uint32_t old_offset)
{
    // The offset as a signed 32-bit number: past 2 GiB it prints negative.
    const int64_t signed_offset =
        old_offset > 0x7FFFFFFFu ? static_cast<int64_t>(old_offset) - 0x100000000LL : old_offset;
    zstring text(kTombstonePrefix);
    return text.append(print_int(signed_offset));
}

int tombstone_offset(const zstring& classification, uint32_t& old_offset)
{
    const char* p = classification.c_str();
    while (*p && is_blank(*p))
        ++p;
    while (*p && !is_blank(*p))
        ++p;
    while (*p && is_blank(*p))
        ++p;
    const int negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return 0;
    uint64_t value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        value = value * 10 + static_cast<uint64_t>(*p - '0');
        if (value > 0xFFFFFFFFu)
            return 0;
    }
    // A negative number is the signed print of an offset past 2 GiB.
    old_offset = static_cast<uint32_t>(negative ? (0x100000000ULL - value) & 0xFFFFFFFFu : value);
    return 1;
}
