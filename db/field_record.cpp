#include "db/field_record.h"

#include <cstdint>
#include <cstring>
#include <istream>
#include <ostream>
#include <sstream>

#include "base/stream_bytes.h"

namespace {

const unsigned kKeyOffset = 0x33;

// The one byte after a decimal number, whatever its value.
void skip_separator(std::istream& is)
{
    if (is)
        is.get();
}

}  // namespace

FieldRecord::FieldRecord()
{
    const char marker[] = {'1', kScrambledFlag, 0};
    m_marker = zstring(marker);
}

int FieldRecord::is_scrambled() const
{
    return m_marker.length() >= 2 && m_marker[1] == kScrambledFlag;
}

const n_stream& FieldRecord::field(unsigned i) const
{
    static const n_stream kNoField;
    return i < m_fields.size() ? m_fields[i] : kNoField;
}

void FieldRecord::add_field(const zstring& text)
{
    m_fields.emplace_back(text);
}

std::string FieldRecord::plain_body() const
{
    std::ostringstream body(std::ios::out | std::ios::binary);
    body << field_count() << ' ';
    for (const n_stream& f : m_fields)
        f.write_stream(body);
    return body.str();
}

std::ostream& FieldRecord::write(std::ostream& os) const
{
    m_marker.write_stream(os);
    std::string body = plain_body();
    if (is_scrambled()) {
        scramble(body);
        os << static_cast<unsigned long long>(body.size()) << ' ';
    }
    return os.write(body.data(), static_cast<std::streamsize>(body.size()));
}

std::istream& FieldRecord::read(std::istream& is)
{
    m_fields.clear();
    m_marker.read_stream(is);
    if (!is)
        return is;
    return is_scrambled() ? read_scrambled_body(is) : read_body(is);
}

std::istream& FieldRecord::read_body(std::istream& is)
{
    unsigned count = 0;
    if (!(is >> count))
        return is;
    skip_separator(is);
    // The count comes from the file: the list grows only as fields arrive.
    for (unsigned i = 0; i < count && is; ++i) {
        n_stream text;
        if (text.read_stream(is))
            m_fields.push_back(text);
    }
    return is;
}

std::istream& FieldRecord::read_scrambled_body(std::istream& is)
{
    unsigned size = 0;
    if (!(is >> size))
        return is;
    skip_separator(is);
    std::string body;
    read_exactly(is, size, body);
    if (!is)
        return is;
    unscramble(body);
    std::istringstream in(body, std::ios::in | std::ios::binary);
    read_body(in);
    if (in.fail())
        is.setstate(std::ios::failbit);
    return is;
}

namespace {

// The key's byte for every position of a piece of body, as the amount to
// add: one table for scrambling and one for unscrambling. A piece is a
// whole number of key cycles long, so the key runs on across pieces and the
// per-byte work is a plain add the compiler can do many bytes at a time.
const size_t kKeyPiece = FieldRecord::kKeySize * 512;

struct KeyTables {
    unsigned char scramble[kKeyPiece];
    unsigned char unscramble[kKeyPiece];
    KeyTables()
    {
        for (size_t i = 0; i < kKeyPiece; ++i) {
            const unsigned key = FieldRecord::kKey[i % FieldRecord::kKeySize];
            scramble[i] = static_cast<unsigned char>((key - kKeyOffset) & 0xFF);
            unscramble[i] = static_cast<unsigned char>((kKeyOffset - key) & 0xFF);
        }
    }
};

const KeyTables& key_tables()
{
    static const KeyTables tables;
    return tables;
}

#ifndef __SSE2__
const uint32_t kLowBits = 0x01010101u;
const uint32_t kHighBits = 0x80808080u;

// Four byte-wise additions at once, no carry crossing a byte: about four
// times a byte loop on the i686 build, which may not use vector instructions.
uint32_t add_bytes(uint32_t a, uint32_t b)
{
    return ((a & ~kHighBits) + (b & ~kHighBits)) ^ ((a ^ b) & kHighBits);
}

// Non-zero when any byte of v is zero.
uint32_t zero_byte(uint32_t v)
{
    return (v - kLowBits) & ~v & kHighBits;
}
#endif

// Returns whether any resulting byte is zero, found in the same pass.
bool add_key(unsigned char* out, const unsigned char* in, size_t size, const unsigned char* table)
{
    uint32_t zero = 0;
    while (size > 0) {
        const size_t piece = size < kKeyPiece ? size : kKeyPiece;
        size_t i = 0;
#ifndef __SSE2__
        // With vector instructions the compiler does the byte loop below
        // many bytes at a time, faster still.
        for (; i + 4 <= piece; i += 4) {
            uint32_t bytes;
            uint32_t key;
            std::memcpy(&bytes, in + i, sizeof bytes);
            std::memcpy(&key, table + i, sizeof key);
            bytes = add_bytes(bytes, key);
            zero |= zero_byte(bytes);
            std::memcpy(out + i, &bytes, sizeof bytes);
        }
#endif
        for (; i < piece; ++i) {
            out[i] = static_cast<unsigned char>(in[i] + table[i]);
            zero |= out[i] == 0;
        }
        out += piece;
        in += piece;
        size -= piece;
    }
    return zero != 0;
}

}  // namespace

void scramble(char* body, size_t size)
{
    unsigned char* bytes = reinterpret_cast<unsigned char*>(body);
    add_key(bytes, bytes, size, key_tables().scramble);
}

void unscramble(char* body, size_t size)
{
    unscramble_copy(body, body, size);
}

bool unscramble_copy(char* out, const char* in, size_t size)
{
    return add_key(reinterpret_cast<unsigned char*>(out), reinterpret_cast<const unsigned char*>(in),
                   size, key_tables().unscramble);
}

void scramble(std::string& body)
{
    scramble(&body[0], body.size());
}

void unscramble(std::string& body)
{
    unscramble(&body[0], body.size());
}
