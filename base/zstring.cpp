#include "base/zstring.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <functional>
#include <istream>
#include <locale>
#include <ostream>
#include <string>

#include "base/stream_bytes.h"

const unsigned zstring::npos;
const unsigned zstring::default_iomax;
const unsigned zstring::default_growth;

namespace {

// The growth is kept small enough that growth + length + 4 stays far from
// the top of the 32-bit range for any text that fits in memory.
const unsigned kMaxGrowth = 65536;
const unsigned kTokenScratch = 1024;

unsigned measure(const char* s)
{
    return s ? static_cast<unsigned>(std::strlen(s)) : 0;
}

// Whether p lies inside the block [begin, begin + size); std::less gives a
// total order even for pointers into different blocks.
bool points_into(const char* p, const char* begin, unsigned size)
{
    std::less<const char*> before;
    return !before(p, begin) && before(p, begin + size);
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction, assignment, ownership

void zstring::_init()
{
    m_capacity = default_growth + 4;
    m_text = new char[m_capacity]();
    m_iomax = default_iomax;
    m_growth = default_growth;
}

zstring::zstring()
{
    _init();
}

zstring::zstring(const zstring& other)
{
    _init();
    assign(other);
}

zstring::zstring(const char* s)
{
    _init();
    assign(s);
}

zstring::zstring(char c)
{
    _init();
    assign(c);
}

zstring::~zstring()
{
    delete[] m_text;
}

// The assignment rule: a buffer is reused only while it is small for the
// growth and the text fits; otherwise it is replaced by one of the exact
// size, so a long buffer is given back as soon as a shorter text arrives.
// s may point into the current buffer.
void zstring::replace_text(const char* s, unsigned n)
{
    if (m_capacity < m_growth + m_growth / 4 && n < m_capacity) {
        std::memmove(m_text, s, n);
        m_text[n] = 0;
        return;
    }
    const unsigned size = m_growth + n + 4;
    char* block = new char[size]();
    std::memcpy(block, s, n);
    delete[] m_text;
    m_text = block;
    m_capacity = size;
}

// The growth rule for appending and inserting: grow to the text, the added
// bytes, the growth and 4 spare bytes; never shrink.
void zstring::reserve_for(unsigned added)
{
    const unsigned len = length();
    if (m_capacity >= len + added + 4)
        return;
    const unsigned size = len + added + m_growth + 4;
    char* block = new char[size]();
    std::memcpy(block, m_text, len + 1);
    delete[] m_text;
    m_text = block;
    m_capacity = size;
}

zstring& zstring::operator=(const zstring& other)
{
    return assign(other);
}

zstring& zstring::operator=(const char* s)
{
    return assign(s);
}

zstring& zstring::operator=(char c)
{
    return assign(c);
}

zstring& zstring::operator=(int n)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", n);
    return assign(digits);
}

zstring& zstring::assign(const zstring& other)
{
    return assign(other.m_text);
}

zstring& zstring::assign(const char* s)
{
    replace_text(s ? s : "", measure(s));
    return *this;
}

zstring& zstring::assign(char c)
{
    const char text[2] = {c, 0};
    return assign(text);
}

zstring& zstring::assign(const char* s, unsigned start, unsigned end)
{
    const unsigned len = length();
    char* part = _substr(s, start, end < len ? end : len);
    assign(part);
    delete[] part;
    return *this;
}

char* zstring::own(char* p)
{
    return own(p, measure(p));
}

char* zstring::own(char* p, unsigned cap)
{
    if (!p) {
        // The buffer must never be null: adopting nothing empties the text.
        assign("");
        return p;
    }
    if (p != m_text)
        delete[] m_text;
    m_text = p;
    m_capacity = cap;
    return p;
}

unsigned zstring::length() const
{
    return measure(m_text);
}

char& zstring::operator[](unsigned i) const
{
    if (i < m_capacity)
        return m_text[i];
    // Outside the buffer: hand out a byte of our own, cleared each time so
    // a read never sees what an earlier stray write left there.
    thread_local char scratch;
    scratch = 0;
    return scratch;
}

unsigned zstring::iomax(unsigned n)
{
    m_iomax = (n == npos) ? default_iomax : n;
    return m_iomax;
}

unsigned zstring::instance_growth_space(unsigned n)
{
    if (n == npos || n < default_growth)
        m_growth = default_growth;
    else
        m_growth = n > kMaxGrowth ? kMaxGrowth : n;
    return m_growth;
}

// ---------------------------------------------------------------------------
// Appending and inserting

zstring& zstring::append(const char* s)
{
    return insert(npos, s);
}

zstring& zstring::append(const zstring& s)
{
    return insert(npos, s.m_text);
}

zstring& zstring::append(char c)
{
    const char text[2] = {c, 0};
    return insert(npos, text);
}

zstring& zstring::append(const char* s, unsigned start, unsigned end)
{
    const unsigned len = length();
    char* part = _substr(s, start, end < len ? end : len);
    insert(npos, part);
    delete[] part;
    return *this;
}

zstring& zstring::prepend(const char* s)
{
    return insert(0, s);
}

zstring& zstring::prepend(const zstring& s)
{
    return insert(0, s.m_text);
}

zstring& zstring::prepend(char c)
{
    const char text[2] = {c, 0};
    return insert(0, text);
}

zstring& zstring::insert(unsigned pos, const char* s)
{
    const unsigned n = measure(s);
    if (n == 0)
        return *this;
    // Growing frees the buffer and shifting moves its bytes, so a source
    // inside our own block is copied out first. An adopted block may be
    // said to be smaller than its text; the text's own end bounds it then.
    const unsigned len = length();
    std::string copy;
    if (points_into(s, m_text, m_capacity > len ? m_capacity : len + 1)) {
        copy.assign(s, n);
        s = copy.c_str();
    }
    reserve_for(n);
    if (pos > len)
        pos = len;
    std::memmove(m_text + pos + n, m_text + pos, len - pos + 1);
    std::memcpy(m_text + pos, s, n);
    return *this;
}

zstring& zstring::insert(unsigned pos, const zstring& s)
{
    return insert(pos, s.m_text);
}

// ---------------------------------------------------------------------------
// Removing

zstring& zstring::remove(unsigned pos)
{
    if (pos < length())
        m_text[pos] = 0;
    return *this;
}

zstring& zstring::remove_bytes(unsigned pos, unsigned n)
{
    const unsigned len = length();
    if (n == 0 || pos >= len)
        return *this;
    if (n >= len - pos)
        m_text[pos] = 0;
    else
        std::memmove(m_text + pos, m_text + pos + n, len - pos - n + 1);
    return *this;
}

zstring& zstring::remove_pos(unsigned start, unsigned end)
{
    const unsigned len = length();
    if (end > len)
        end = len;
    if (start < end)
        remove_bytes(start, end - start);
    return *this;
}

zstring& zstring::remove_prefix(const zstring& p, int ci)
{
    unsigned n = 0;
    for (; m_text[n] && p.m_text[n]; ++n) {
        const unsigned char a = static_cast<unsigned char>(m_text[n]);
        const unsigned char b = static_cast<unsigned char>(p.m_text[n]);
        if (ci ? std::toupper(a) != std::toupper(b) : a != b)
            break;
    }
    return remove_bytes(0, n);
}

unsigned zstring::strip(strip_type t, char c)
{
    if (t != leading && t != trailing && t != both)
        return 0;
    unsigned removed = 0;
    if (t != leading) {
        unsigned len = length();
        while (len > 0 && m_text[len - 1] == c) {
            m_text[--len] = 0;
            ++removed;
        }
    }
    if (t != trailing) {
        unsigned n = 0;
        while (m_text[n] && m_text[n] == c)
            ++n;
        remove_bytes(0, n);
        removed += n;
    }
    return removed;
}

int zstring::snip(char c)
{
    const unsigned first = find(c, 0, 0);
    if (first == npos)
        return 0;
    unsigned n = first;
    while (m_text[n] == c)
        ++n;
    remove_bytes(0, n);
    return 1;
}

// ---------------------------------------------------------------------------
// Changing in place

zstring& zstring::to_upper()
{
    for (char* p = m_text; *p; ++p)
        *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    return *this;
}

zstring& zstring::to_lower()
{
    for (char* p = m_text; *p; ++p)
        *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    return *this;
}

zstring& zstring::reverse()
{
    strrev(m_text);
    return *this;
}

// ---------------------------------------------------------------------------
// Protected and private helpers

char* zstring::_substr(const char* s, unsigned start, unsigned end)
{
    const unsigned len = measure(s);
    if (end > len)
        end = len;
    if (!s || start >= end)
        return nullptr;
    char* part = new char[end - start + 1];
    std::memcpy(part, s + start, end - start);
    part[end - start] = 0;
    return part;
}

char* zstring::strrev(char* s)
{
    for (unsigned left = 0, right = measure(s); left + 1 < right; ++left) {
        --right;
        const char c = s[left];
        s[left] = s[right];
        s[right] = c;
    }
    return s;
}

// ---------------------------------------------------------------------------
// Streams

std::ostream& zstring::write(std::ostream& os) const
{
    return os << m_text;
}

std::istream& zstring::read(std::istream& is)
{
    return read_word(is, m_iomax);
}

std::ostream& zstring::write_stream(std::ostream& os) const
{
    const unsigned len = length();
    os << len << ' ';
    return os.write(m_text, static_cast<std::streamsize>(len));
}

std::istream& zstring::read_stream(std::istream& is)
{
    assign("");
    if (!is)
        return is;
    unsigned n = 0;
    if (!(is >> n))
        return is;
    // The length comes from the file: refuse one whose buffer size would
    // not fit in 32 bits before reading anything more.
    if (static_cast<unsigned long long>(m_growth) + n + 4 > 0xFFFFFFFFull) {
        is.setstate(std::ios::failbit);
        return is;
    }
    is.get();  // the separator, whatever byte it is
    std::string text;
    read_exactly(is, n, text);
    if (!is)
        return is;  // short input: get() or read() marked the stream failed
    const unsigned size = m_growth + n + 4;
    char* block = new char[size]();
    std::memcpy(block, text.data(), n);
    delete[] m_text;
    m_text = block;
    m_capacity = size;
    return is;
}

std::ostream& zstring::write_string(std::ostream& os) const
{
    os.write(m_text, static_cast<std::streamsize>(length()));
    return os.put(0);
}

// One word as operator>>(char*) takes it, into a scratch buffer of the given
// size (terminator included). The rest of a longer word stays in the stream,
// and the word is gathered as it arrives rather than in a buffer that big.
std::istream& zstring::read_word(std::istream& is, unsigned scratch)
{
    std::string word;
    std::istream::sentry ok(is);
    if (ok) {
        unsigned limit = scratch > 1 ? scratch - 1 : 0;
        const std::streamsize width = is.width();
        if (width > 0 && static_cast<unsigned long long>(width) - 1 < limit)
            limit = static_cast<unsigned>(width - 1);
        is.width(0);
        const std::ctype<char>& ct = std::use_facet<std::ctype<char>>(is.getloc());
        std::streambuf* sb = is.rdbuf();
        typedef std::char_traits<char> traits;
        std::ios::iostate state = std::ios::goodbit;
        traits::int_type c = sb->sgetc();
        while (word.size() < limit && !traits::eq_int_type(c, traits::eof()) &&
               !ct.is(std::ctype_base::space, traits::to_char_type(c))) {
            word.push_back(traits::to_char_type(c));
            c = sb->snextc();
        }
        if (traits::eq_int_type(c, traits::eof()))
            state |= std::ios::eofbit;
        if (word.empty())
            state |= std::ios::failbit;
        is.setstate(state);
    }
    assign(word.c_str());
    return is;
}

std::istream& zstring::read_token(std::istream& is)
{
    return read_word(is, kTokenScratch);
}

// One line of at most iomax - 1 bytes, as istream::getline takes it except
// that a longer line is not a failure: its rest is the next line read.
std::istream& zstring::readline(std::istream& is, char delim)
{
    std::string line;
    std::istream::sentry ok(is, true);
    if (ok) {
        typedef std::char_traits<char> traits;
        const unsigned limit = m_iomax > 1 ? m_iomax - 1 : 0;
        std::streambuf* sb = is.rdbuf();
        std::ios::iostate state = std::ios::goodbit;
        for (;;) {
            const traits::int_type c = sb->sgetc();
            if (traits::eq_int_type(c, traits::eof())) {
                state |= line.empty() ? std::ios::eofbit | std::ios::failbit
                                      : std::ios::eofbit;
                break;
            }
            if (traits::to_char_type(c) == delim) {
                sb->sbumpc();
                break;
            }
            if (line.size() >= limit) {
                // With no room at all nothing can ever be taken; say so
                // rather than let a read-until-failure loop spin.
                if (limit == 0)
                    state |= std::ios::failbit;
                break;
            }
            line.push_back(traits::to_char_type(c));
            sb->sbumpc();
        }
        is.setstate(state);
    }
    assign(line.c_str());
    return is;
}

std::istream& zstring::read_line(std::istream& is, char delim)
{
    return readline(is, delim);
}

std::istream& zstring::read_string(std::istream& is, char delim)
{
    return readline(is, delim);
}

std::istream& zstring::read_to_delim(std::istream& is, char delim)
{
    return readline(is, delim);
}

std::ostream& operator<<(std::ostream& os, const zstring& s)
{
    return s.write(os);
}

std::istream& operator>>(std::istream& is, zstring& s)
{
    return s.read(is);
}
