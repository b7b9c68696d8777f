#include "tools/fortune_text.h"

#include <ostream>

namespace {

const char kDelimiter = '%';

bool first_line_end_is_crlf(const std::string& bytes)
{
    const size_t lf = bytes.find('\n');
    return lf != std::string::npos && lf > 0 && bytes[lf - 1] == '\r';
}

}  // namespace

FortuneReader::FortuneReader(const std::string& bytes)
    : m_bytes(bytes), m_position(0), m_empty_entries(0), m_crlf(first_line_end_is_crlf(bytes))
{
}

int FortuneReader::next(std::string& text)
{
    text.clear();
    bool has_lines = false;
    while (m_position < m_bytes.size()) {
        const size_t lf = m_bytes.find('\n', m_position);
        size_t end = lf == std::string::npos ? m_bytes.size() : lf;
        const size_t start = m_position;
        m_position = lf == std::string::npos ? m_bytes.size() : lf + 1;
        if (m_crlf && lf != std::string::npos && end > start && m_bytes[end - 1] == '\r')
            --end;
        if (end - start == 1 && m_bytes[start] == kDelimiter) {
            if (has_lines)
                return 1;
            ++m_empty_entries;
            continue;
        }
        if (has_lines)
            text += "\r\n";
        text.append(m_bytes, start, end - start);
        has_lines = true;
    }
    return has_lines ? 1 : 0;
}

size_t line_of_zero_byte(const std::string& bytes)
{
    const size_t zero = bytes.find('\0');
    if (zero == std::string::npos)
        return 0;
    size_t line = 1;
    for (size_t i = 0; i < zero; ++i)
        line += bytes[i] == '\n' ? 1 : 0;
    return line;
}

void append_fortune_entry(std::string& out, std::string_view text, bool crlf)
{
    if (crlf) {
        out.append(text.data(), text.size());
    } else {
        // Whole runs between the CRs, not a byte at a time: exports are large.
        size_t from = 0;
        for (size_t cr = text.find('\r'); cr != std::string_view::npos; cr = text.find('\r', cr + 1)) {
            if (cr + 1 < text.size() && text[cr + 1] == '\n') {
                out.append(text.data() + from, cr - from);
                from = cr + 1;
            }
        }
        out.append(text.data() + from, text.size() - from);
    }
    out += crlf ? "\r\n" : "\n";
}

std::string fortune_entry(std::string_view text, bool crlf)
{
    std::string out;
    out.reserve(text.size() + 2);
    append_fortune_entry(out, text, crlf);
    return out;
}

namespace {

// Entries gather up to this many bytes before they go to the stream.
const size_t kPendingSize = 1 << 16;

}  // namespace

FortuneWriter::FortuneWriter(std::ostream& out, const FortuneStyle& style)
    : m_out(out), m_style(style), m_written(0)
{
}

void FortuneWriter::write(std::string_view text)
{
    // The "%" line before this entry is written only now, so the last
    // entry's can still be left off.
    if (m_written > 0)
        m_pending += m_style.crlf ? "%\r\n" : "%\n";
    append_fortune_entry(m_pending, text, m_style.crlf);
    ++m_written;
    if (m_pending.size() >= kPendingSize)
        flush();
}

void FortuneWriter::finish()
{
    if (m_written > 0 && m_style.final_delimiter)
        m_pending += m_style.crlf ? "%\r\n" : "%\n";
    flush();
}

void FortuneWriter::flush()
{
    m_out.write(m_pending.data(), static_cast<std::streamsize>(m_pending.size()));
    m_pending.clear();
}
