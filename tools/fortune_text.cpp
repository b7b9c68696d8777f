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

std::string fortune_entry(const std::string& text, bool crlf)
{
    std::string out;
    out.reserve(text.size() + 2);
    if (crlf) {
        out = text;
    } else {
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                continue;
            out += text[i];
        }
    }
    out += crlf ? "\r\n" : "\n";
    return out;
}

FortuneWriter::FortuneWriter(std::ostream& out, const FortuneStyle& style)
    : m_out(out), m_style(style), m_written(0)
{
}

void FortuneWriter::write(const std::string& text)
{
    // The "%" line before this entry is written only now, so the last
    // entry's can still be left off.
    if (m_written > 0)
        write_delimiter();
    const std::string entry = fortune_entry(text, m_style.crlf);
    m_out.write(entry.data(), static_cast<std::streamsize>(entry.size()));
    ++m_written;
}

void FortuneWriter::finish()
{
    if (m_written > 0 && m_style.final_delimiter)
        write_delimiter();
}

void FortuneWriter::write_delimiter()
{
    m_out << kDelimiter << (m_style.crlf ? "\r\n" : "\n");
}
