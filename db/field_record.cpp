#include "db/field_record.h"

#include <istream>
#include <ostream>
#include <sstream>

namespace {

// A scrambled body's length comes from the file: its bytes are taken in
// pieces of this size, so a huge length costs memory only for what arrives.
const size_t kReadChunk = 65536;
const unsigned kKeyOffset = 0x33;

// Reads exactly n bytes into out; a short read fails the stream.
void read_bytes(std::istream& is, unsigned n, std::string& out)
{
    out.clear();
    while (is && out.size() < n) {
        const size_t want = n - out.size() < kReadChunk ? n - out.size() : kReadChunk;
        const size_t have = out.size();
        out.resize(have + want);
        is.read(&out[have], static_cast<std::streamsize>(want));
        out.resize(have + static_cast<size_t>(is.gcount()));
    }
}

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
    read_bytes(is, size, body);
    if (!is)
        return is;
    unscramble(body);
    std::istringstream in(body, std::ios::in | std::ios::binary);
    read_body(in);
    if (in.fail())
        is.setstate(std::ios::failbit);
    return is;
}

void scramble(std::string& body)
{
    for (size_t i = 0; i < body.size(); ++i) {
        const unsigned byte = static_cast<unsigned char>(body[i]);
        body[i] = static_cast<char>((byte + FieldRecord::kKey[i % FieldRecord::kKeySize] -
                                     kKeyOffset) & 0xFF);
    }
}

void unscramble(std::string& body)
{
    for (size_t i = 0; i < body.size(); ++i) {
        const unsigned byte = static_cast<unsigned char>(body[i]);
        body[i] = static_cast<char>((byte + kKeyOffset - FieldRecord::kKey[i % FieldRecord::kKeySize]) &
                                    0xFF);
    }
}
