#pragma once

#include <cstdint>
#include <cstddef>
#include <iosfwd>
#include <string>

#include "base/zstring.h"

// One quote in memory: its stored number and frequency (kept as data, never
// interpreted), its classification (the category line) and its text.
class QuoteItem {
public:
    QuoteItem();
    virtual ~QuoteItem();

    // Classification "<none>", text "<empty>": unlike the constructed
    // "<NONE>", a cleared item counts as having text.
    virtual void clear();
    // 0 when the text is empty or exactly "<NONE>".
    int has_text() const;
    // 1 when the classification starts with the byte 0x07 (a tombstone).
    int is_deleted() const;
    // Number, frequency, classification and text; nothing else.
    void copy_from(const QuoteItem& other);

    int32_t quote_number() const { return m_quote_number; }
    void set_quote_number(int32_t n) { m_quote_number = n; }
    int32_t frequency() const { return m_frequency; }
    const zstring& classification() const { return m_classification; }
    void set_classification(const zstring& text) { m_classification = text; }
    const zstring& text() const { return m_text; }

protected:
    void set_frequency(int32_t n) { m_frequency = n; }
    void set_text(const zstring& text) { m_text = text; }
    // Sets the classification and the text from bytes holding no zero
    // byte, in the buffers the item already has when they are large enough.
    void set_texts(const char* classification, size_t classification_size, const char* text,
                   size_t text_size);

private:
    int32_t m_quote_number;
    int32_t m_frequency;
    zstring m_classification;
    zstring m_text;
};

// A quote as the volume keeps it: a scrambled record of five fields,
// version "3", number, frequency, classification, text.
class StoredQuote : public QuoteItem {
public:
    ~StoredQuote() override;

    virtual double record_version() const;
    // Writes at the stream's current position; the caller checks the stream.
    virtual std::ostream& write_record(std::ostream& os) const;
    // Appends to out the bytes write_record writes.
    void encode_record(std::string& out) const;
    // Decodes the record at the start of the n bytes at p when it has the
    // form this program writes (scrambled, five fields, version "3", plain
    // decimal numbers, no zero byte in a text): kDecoded, with size set to
    // the record's length. kTruncated when the record runs past the n bytes
    // (size then says how many it needs, when that is known yet);
    // kOtherForm for anything else, which read_record then has to judge.
    // The item changes only when decoded, exactly as read_record would
    // change it. kAsWritten is kDecoded for a record whose bytes are exactly
    // what encode_record makes of the item, so a copy may take them as they are.
    enum DecodeResult { kDecoded, kAsWritten, kTruncated, kOtherForm };
    DecodeResult decode_record(const char* p, size_t n, size_t& size);
    // The same with a buffer for the plain body that the caller keeps from
    // record to record.
    DecodeResult decode_record(const char* p, size_t n, size_t& size, std::string& scratch);
    // 1 when a record of this version was read whole and its fields
    // assigned. 0 for a failed or truncated stream, a malformed record or
    // another version; the item is then left exactly as it was. Fields the
    // record lacks keep their values, and the item is never reset first.
    virtual int read_record(std::istream& is);

    // Seeks to the end, reports that position as the record's offset and
    // writes the record there. 1 when the stream is still good afterwards;
    // 0 without writing when the end lies beyond a 32-bit offset (0xFFFFFFFF
    // itself marks an erased index entry).
    int append_record(std::ostream& os, uint32_t& offset) const;
};

// The item on show: a stored quote plus its place in the volume's index.
class QuoteEntry : public StoredQuote {
public:
    // -1: not stored in the volume.
    static constexpr int32_t kNotStored = -1;

    QuoteEntry();
    ~QuoteEntry() override;

    void clear() override;
    using QuoteItem::set_text;

    int32_t position() const { return m_position; }
    void set_position(int32_t n) { m_position = n; }

private:
    int32_t m_position;
};

// A deleted item's record keeps its number and frequency and gets the
// classification "\aDELETED <old offset>" (offset printed as a signed 32-bit
// number) and the text of 15 spaces then "(QUOTE DELETED)".
extern const char* const kTombstoneText;
zstring tombstone_classification(uint32_t old_offset);
// The old offset back from a tombstone's classification: the number after
// the first word. 0 when there is none or it does not fit 32 bits.
int tombstone_offset(const zstring& classification, uint32_t& old_offset);
