// The record of a stored quote built and taken apart in memory, so that a
// copy of a whole volume costs no stream work per field. The bytes are those
// of the FieldRecord form: marker "2 1" 01, then "<L> " and the L scrambled
// bytes of the plain body "5 " + five length-prefixed fields.
#include "db/quote_item.h"

#include <charconv>
#include <cstring>
#include <locale>
#include <sstream>

#include "db/field_record.h"

namespace {

const char* const kMarker = FieldRecord::kWrittenMarker;
const size_t kMarkerSize = sizeof FieldRecord::kWrittenMarker;
const unsigned kFieldCount = 5;
// Longer texts go to the stream reader, which reads them in pieces; no
// record this program writes comes near it.
const uint64_t kLongestField = 1u << 30;

void append_number(std::string& out, int64_t n)
{
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, n);
    out.append(digits, end.ptr);
}

void append_field(std::string& out, const char* text, size_t n)
{
    append_number(out, static_cast<int64_t>(n));
    out.push_back(' ');
    out.append(text, n);
}

// Reads decimal digits at p (at least one, no sign or space) into value.
// Returns the position after them, or null when there are none or the
// number passes limit. plain is cleared by a leading zero of a longer
// number, which this program never prints.
const char* read_length(const char* p, const char* end, uint64_t limit, uint64_t& value,
                        bool& plain)
{
    if (p == end || *p < '0' || *p > '9')
        return nullptr;
    const char* first = p;
    value = 0;
    for (; p != end && *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + static_cast<uint64_t>(*p - '0');
        if (value > limit)
            return nullptr;
    }
    if (*first == '0' && p - first > 1)
        plain = false;
    return p;
}

// A whole field text that is a 32-bit decimal number; plain is cleared
// unless it is printed as this program prints numbers.
bool read_int(const char* p, size_t n, int32_t& value, bool& plain)
{
    const char* end = p + n;
    const bool negative = n > 0 && *p == '-';
    uint64_t magnitude = 0;
    if (read_length(p + (negative ? 1 : 0), end, 0x80000000u, magnitude, plain) != end)
        return false;
    if (!negative && magnitude > 0x7FFFFFFF)
        return false;
    if (negative && magnitude == 0)
        plain = false;
    value = static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude) : magnitude);
    return true;
}

struct Field {
    const char* text;
    size_t size;
};

// The five fields of an unscrambled body; false for anything but the
// plain form (the count must be exactly 5, every field whole). plain is
// cleared by any byte encode_record would not have written.
bool split_body(const char* p, size_t size, Field (&fields)[kFieldCount], bool& plain)
{
    const char* end = p + size;
    if (size < 2 || p[0] != '5' || p[1] != ' ')
        return false;
    p += 2;
    for (Field& field : fields) {
        uint64_t n = 0;
        p = read_length(p, end, kLongestField, n, plain);
        if (!p || p == end || static_cast<uint64_t>(end - p - 1) < n)
            return false;
        if (*p++ != ' ')
            plain = false;  // any separator byte reads, only a space is written
        field = {p, static_cast<size_t>(n)};
        p += n;
    }
    if (p != end)
        plain = false;  // bytes after the fifth field are read past
    return true;
}

}  // namespace

void StoredQuote::encode_record(std::string& out) const
{
    std::string body = "5 ";
    if (record_version() == 3.0) {
        body.append("1 3");
    } else {
        std::ostringstream version;
        version.imbue(std::locale::classic());
        version << record_version();
        const std::string text = version.str();
        append_field(body, text.data(), text.size());
    }
    std::string number;
    append_number(number, quote_number());
    append_field(body, number.data(), number.size());
    number.clear();
    append_number(number, frequency());
    append_field(body, number.data(), number.size());
    append_field(body, classification().c_str(), classification().length());
    append_field(body, text().c_str(), text().length());
    scramble(body);

    out.append(kMarker, kMarkerSize);
    append_number(out, static_cast<int64_t>(body.size()));
    out.push_back(' ');
    out.append(body);
}

StoredQuote::DecodeResult StoredQuote::decode_record(const char* p, size_t n, size_t& size)
{
    std::string scratch;
    return decode_record(p, n, size, scratch);
}

StoredQuote::DecodeResult StoredQuote::decode_record(const char* p, size_t n, size_t& size,
                                                     std::string& scratch)
{
    size = 0;
    const char* end = p + n;
    if (n < kMarkerSize)
        return std::memcmp(p, kMarker, n) == 0 ? kTruncated : kOtherForm;
    if (std::memcmp(p, kMarker, kMarkerSize) != 0 || record_version() != 3.0)
        return kOtherForm;
    bool plain = true;
    uint64_t body_size = 0;
    const char* body_start = read_length(p + kMarkerSize, end, kLongestField, body_size, plain);
    if (!body_start)
        return p + kMarkerSize == end ? kTruncated : kOtherForm;
    if (body_start == end)
        return kTruncated;
    if (*body_start++ != ' ')
        plain = false;
    const size_t whole = static_cast<size_t>(body_start - p) + static_cast<size_t>(body_size);
    if (whole > n) {
        size = whole;
        return kTruncated;
    }

    std::string& body = scratch;
    if (body.size() < body_size)
        body.resize(static_cast<size_t>(body_size));  // grows only: no refill per record
    // The stream reader's texts end at a zero byte: such a record is its to read.
    if (unscramble_copy(&body[0], body_start, static_cast<size_t>(body_size)))
        return kOtherForm;
    Field fields[kFieldCount];
    int32_t number = 0;
    int32_t frequency = 0;
    if (!split_body(body.data(), static_cast<size_t>(body_size), fields, plain) || fields[0].size != 1 ||
        fields[0].text[0] != '3' || !read_int(fields[1].text, fields[1].size, number, plain) ||
        !read_int(fields[2].text, fields[2].size, frequency, plain))
        return kOtherForm;
    set_quote_number(number);
    set_frequency(frequency);
    set_texts(fields[3].text, fields[3].size, fields[4].text, fields[4].size);
    size = whole;
    return plain ? kAsWritten : kDecoded;
}
