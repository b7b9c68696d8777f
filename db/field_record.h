#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "base/n_stream.h"

// One record of a quote volume's data file: a marker saying how the body is
// kept, then the body, a field count and the fields as length-prefixed
// texts, either plain or scrambled.
//
//   marker        "2 1" 01            (second marker byte 0x01: scrambled)
//   plain body    "5 " field field ...  each field "<length> <bytes>"
//   scrambled     "<L> " then the L scrambled bytes of the plain body
class FieldRecord {
public:
    static constexpr unsigned kKeySize = 11;
    static constexpr unsigned char kKey[kKeySize] = {0x52, 0x2B, 0x6F, 0x3D, 0x05, 0x74,
                                                      0x02, 0x79, 0x0E, 0x71, 0x26};
    // Marker byte 1 of a scrambled record.
    static constexpr char kScrambledFlag = 0x01;
    // How every record this program writes begins: the marker "1" 0x01 in
    // its length-prefixed form.
    static constexpr char kWrittenMarker[4] = {'2', ' ', '1', kScrambledFlag};

    // Starts with the scrambled marker "1" 0x01 and no fields.
    FieldRecord();

    const n_stream& marker() const { return m_marker; }
    void set_marker(const zstring& marker) { m_marker = marker; }
    // 1 when the marker's second byte is 0x01; a shorter marker is plain.
    int is_scrambled() const;

    unsigned field_count() const { return static_cast<unsigned>(m_fields.size()); }
    // Field i, or an empty text past the last field.
    const n_stream& field(unsigned i) const;
    void add_field(const zstring& text);
    void clear_fields() { m_fields.clear(); }

    std::ostream& write(std::ostream& os) const;
    // Replaces the marker and fields with those in the stream. A truncated
    // or malformed record fails the stream; the fields read before the
    // fault stay. Memory grows only with the bytes that really arrive.
    std::istream& read(std::istream& is);

    // The plain body: the count, one space, the fields back to back.
    std::string plain_body() const;

private:
    std::istream& read_body(std::istream& is);
    std::istream& read_scrambled_body(std::istream& is);

    n_stream m_marker;
    std::vector<n_stream> m_fields;
};

// The key restarts at byte 0 of every body; these work in place.
void scramble(std::string& body);
void unscramble(std::string& body);
void scramble(char* body, size_t size);
void unscramble(char* body, size_t size);
// Unscrambles the size bytes at in into out (which may be in); returns
// whether the plain bytes hold a zero byte.
bool unscramble_copy(char* out, const char* in, size_t size);
