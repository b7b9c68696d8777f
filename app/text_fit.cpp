#include "app/text_fit.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {

const int kMaxColumns = 60;
const int kMinWrapWidth = 40;
// A line shorter than the wrap width less this margin is joined to the next.
const int kJoinMargin = 14;
const std::string::size_type kNone = std::string::npos;

// Font sizes may come negative (a character height rather than a cell
// height) and, from a broken font or a damaged state file, 0 or INT_MIN.
// Those count as one pixel: the division stays defined and the text is
// judged against the most room the screen could give, so nothing is
// refused for want of a measure while the re-wrap keeps its 60-column cap.
int CharacterSize(int size)
{
    if (size == 0 || size == INT_MIN)
        return 1;
    return size < 0 ? -size : size;
}

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Texts are UTF-8: a byte that continues a character takes no column of
// its own, and no line is ever broken in front of one. A byte that only
// looks like one (no lead byte before it) counts as a character, as the
// code page's bytes of a text that is no UTF-8 do.
class Columns {
public:
    bool Continues(char c)
    {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (m_expected > 0 && (byte & 0xC0) == 0x80) {
            --m_expected;
            return true;
        }
        m_expected = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
        return false;
    }

private:
    int m_expected = 0;
};

// One pass over the text, tracking the column, the last white space on
// the line (the break point) and whether a paragraph has just begun.
class Wrapper {
public:
    Wrapper(std::string& text, int width) : m_text(text), m_width(width) {}

    void Run()
    {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (m_columns.Continues(c)) {
                ++m_pos;
                continue;
            }
            if (c == '\t' || c == '\r' || c == ' ')
                m_brk = m_pos;
            else if (c == '\n')
                LineFeed();
            else
                OtherByte();
            ++m_pos;
            ++m_col;
        }
    }

private:
    char Next() const
    {
        return m_pos + 1 < m_text.size() ? m_text[m_pos + 1] : '\0';
    }

    void Reset()
    {
        m_col = 0;
        m_brk = kNone;
    }

    void LineFeed()
    {
        if (IsLineEnd(Next())) {
            m_para = true;
            Reset();
        } else if (m_para || m_pos == 0 || m_col >= m_width - kJoinMargin) {
            Reset();
        } else {
            // A short line: join it to the next with a space.
            m_text[m_pos] = ' ';
            m_brk = m_pos - 1;
            if (m_text[m_pos - 1] == '\r')
                m_text.erase(m_pos - 1, 1);
        }
    }

    void OtherByte()
    {
        m_para = false;
        if (m_col <= m_width)
            return;
        if (m_brk == kNone || m_brk == 0) {
            // A word longer than the line: break it where it overflows.
            m_text.insert(m_pos, "\r\n");
            m_pos += 2;
            Reset();
        } else if (!IsLineEnd(Next()) || m_col > m_width + 1) {
            // A word that ends the line one byte past the width may stay;
            // further out, behind a run of white space, it would leave the
            // line too long, so it moves down as any other word.
            // The word is read again from its start on the new line.
            m_text.insert(m_brk + 1, "\r\n");
            m_pos = m_text.find('\n', m_brk);
            Reset();
            m_col = -1;
            m_columns = Columns();
        }
    }

    std::string& m_text;
    const int m_width;
    Columns m_columns;
    std::string::size_type m_pos = 0;
    std::string::size_type m_brk = kNone;
    int m_col = 0;
    bool m_para = true;
};

}  // namespace

TextRoom RoomOnScreen(const ScreenSize& screen)
{
    const int width = std::max(0, screen.screen_width - screen.frame_width);
    const int height = std::max(0, screen.screen_height - screen.frame_height);
    TextRoom room;
    room.columns = width / CharacterSize(screen.char_width);
    room.rows = height / CharacterSize(screen.char_height);
    room.capped_columns = std::min(room.columns, kMaxColumns);
    room.wrap_width = std::max(room.capped_columns, kMinWrapWidth);
    return room;
}

int TooLarge(const zstring& text, int columns, int rows)
{
    const long long room = static_cast<long long>(rows) * columns;
    long long characters = 0;
    unsigned line_feeds = 0;
    Columns bytes;
    for (const char* p = text.c_str(); *p; ++p) {
        characters += !bytes.Continues(*p);
        line_feeds += *p == '\n';
    }
    return characters >= room || static_cast<long long>(line_feeds) >= rows;
}

int TooWide(const zstring& text, int columns)
{
    int count = 0;
    Columns bytes;
    for (const char* p = text.c_str(); *p; ++p) {
        if (bytes.Continues(*p))
            continue;
        if (count > columns)
            return 1;
        if (*p == '\n')
            count = 0;
        ++count;
    }
    return 0;
}

int ReformatToFit(zstring& text, int width)
{
    std::string copy(text.c_str());
    Wrapper(copy, width).Run();
    text = copy.c_str();
    return 1;
}
