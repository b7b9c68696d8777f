#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

// Quote collections in the plain-text "fortune" form that strfile and
// fortune read: entries separated by lines holding only "%". Item texts keep
// the program's own convention, lines joined by CR LF.

// Reads entries one at a time from the bytes of a whole file. The file's
// line-end style is that of its first line end: in a CR LF file the CR
// before each LF is dropped, in an LF file a CR is ordinary text. Empty
// entries (a leading "%", or two "%" lines in a row) are skipped, as strfile
// skips them. The bytes are not owned and must outlive the reader.
class FortuneReader {
public:
    explicit FortuneReader(const std::string& bytes);

    // 1 and the next entry's text, or 0 at the end of the bytes.
    int next(std::string& text);

    // Bytes consumed so far.
    size_t position() const { return m_position; }
    bool crlf() const { return m_crlf; }
    size_t empty_entries() const { return m_empty_entries; }

private:
    const std::string& m_bytes;
    size_t m_position;
    size_t m_empty_entries;
    bool m_crlf;
};

// 1-based line number of the first zero byte, or 0 when there is none: a
// quote text cannot hold one, so such a file is refused whole.
size_t line_of_zero_byte(const std::string& bytes);

struct FortuneStyle {
    bool crlf = false;            // CR LF texts and "%" lines kept as CR LF
    bool final_delimiter = true;  // a "%" line after the last entry too
};

// Writes item texts in the fortune form: each text, with its CR LF line
// breaks as LF unless the style keeps them, then a line end, with a "%"
// line between entries (and after the last, unless the style leaves it off).
// The entries reach the stream in large pieces; finish writes the last.
class FortuneWriter {
public:
    // The stream is not owned.
    FortuneWriter(std::ostream& out, const FortuneStyle& style);

    void write(std::string_view text);
    // Ends the last entry and hands everything to the stream; call once,
    // after the last write.
    void finish();

    size_t written() const { return m_written; }

private:
    void flush();

    std::ostream& m_out;
    FortuneStyle m_style;
    size_t m_written;
    std::string m_pending;
};

// Appends a text as write puts it: CR LF as LF unless crlf, then one line end.
void append_fortune_entry(std::string& out, std::string_view text, bool crlf);
std::string fortune_entry(std::string_view text, bool crlf);
