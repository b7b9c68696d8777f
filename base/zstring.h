#pragma once

#include <iosfwd>

#include "base/orv_export.h"

// The program's growable 8-bit string: a NUL-terminated heap buffer whose
// length is measured on every call. Capacity follows two per-object numbers
// (growth and capacity); one line read brings in at most iomax bytes.
class ORV_EXPORT zstring {
public:
    // Any other value of the type strips nothing.
    enum strip_type : int { leading = 0, trailing = 1, both = 2 };
    static const unsigned npos = 0xFFFFFFFFu;
    static const unsigned default_iomax = 10240;
    static const unsigned default_growth = 15;

    zstring();
    zstring(const zstring& other);
    zstring(const char* s);
    zstring(char c);
    virtual ~zstring();

    // Stream forms; n_stream makes write/read length-prefixed.
    virtual std::ostream& write(std::ostream& os) const;   // text bytes only
    virtual std::istream& read(std::istream& is);          // one word
    virtual std::ostream& write_stream(std::ostream& os) const;  // "3 abc"
    virtual std::istream& read_stream(std::istream& is);
    virtual std::ostream& write_string(std::ostream& os) const;  // text, 0x00

    // Assignment, ownership.
    zstring& operator=(const zstring& other);
    zstring& operator=(const char* s);
    zstring& operator=(char c);
    zstring& operator=(int n);
    zstring& assign(const zstring& other);
    zstring& assign(const char* s);
    zstring& assign(char c);
    zstring& assign(const char* s, unsigned start, unsigned end);
    // Adopts a block from new[]; the object deletes it with delete[].
    char* own(char* p);
    char* own(char* p, unsigned cap);

    const char* c_str() const { return m_text; }
    unsigned length() const;
    // No length check below the capacity; at or past it the reference is to
    // a scratch byte outside the text, so a stray write changes nothing.
    char& operator[](unsigned i) const;
    unsigned iomax() const { return m_iomax; }
    unsigned iomax(unsigned n);
    unsigned instance_growth_space() const { return m_growth; }
    unsigned instance_growth_space(unsigned n);
    unsigned capacity() const { return m_capacity; }

    // Appending and inserting.
    zstring& append(const char* s);
    zstring& append(const zstring& s);
    zstring& append(char c);
    zstring& append(const char* s, unsigned start, unsigned end);
    zstring& prepend(const char* s);
    zstring& prepend(const zstring& s);
    zstring& prepend(char c);
    zstring& insert(unsigned pos, const char* s);
    zstring& insert(unsigned pos, const zstring& s);

    // Removing.
    zstring& remove(unsigned pos);
    zstring& remove_bytes(unsigned pos, unsigned n);
    zstring& remove_pos(unsigned start, unsigned end);
    zstring& remove_prefix(const zstring& p, int ci = 0);
    unsigned remove_pattern(const zstring& p, int ci = 0);
    zstring remove_token(const zstring& p);
    unsigned replace(const zstring& old_text, const zstring& new_text, int ci = 0);
    unsigned strip(strip_type t, char c);
    int snip(char c);

    // Searching: a byte position or npos.
    unsigned find(char c, unsigned start = 0, int ci = 0) const;
    unsigned find(const char* s, unsigned start = 0, int ci = 0) const;
    unsigned find(const zstring& s, unsigned start = 0, int ci = 0) const;
    unsigned rfind(char c, unsigned start = 0, int ci = 0) const;
    unsigned rfind(const char* s, unsigned start = 0, int ci = 0) const;
    unsigned rfind(const zstring& s, unsigned start = 0, int ci = 0) const;
    unsigned find_last(char c, unsigned start = 0, int ci = 0) const;
    unsigned find_last(const char* s, unsigned start = 0, int ci = 0) const;
    unsigned tally(const zstring& p, int ci = 0) const;

    // Extracting.
    zstring substr(unsigned start, unsigned n = npos) const;
    zstring subpos(unsigned start, unsigned end) const;
    const char* substr(zstring& out, unsigned start) const;
    const char* copy_bytes(zstring& out, unsigned start, unsigned n) const;
    const char* copy_pos(zstring& out, unsigned start, unsigned end) const;
    zstring get_token(const zstring& p) const;
    int as_int() const;

    // Comparing: == and != are byte equality; < and > follow cmp, in which
    // the empty text sorts last and "ab" sorts after "abc".
    int operator==(const zstring& other) const;
    int operator!=(const zstring& other) const;
    int operator<(const zstring& other) const;
    int operator>(const zstring& other) const;
    int cmp(const zstring& other, int ci = 0) const;

    // Changing in place, testing.
    zstring& to_upper();
    zstring& to_lower();
    zstring& reverse();
    int mkwhite();
    int is_null() const;
    int is_white(char c) const;
    int is_white(unsigned i) const;
    int is_white() const;
    int is_space() const;
    int is_ascii() const;
    int is_alnum(unsigned i) const;
    int is_alpha(unsigned i) const;
    unsigned seek_binary(int allow_ws) const;

    // Line read: four names of one operation.
    std::istream& readline(std::istream& is, char delim = '\n');
    std::istream& read_line(std::istream& is, char delim = '\n');
    std::istream& read_string(std::istream& is, char delim = '\n');
    std::istream& read_to_delim(std::istream& is, char delim = '\n');
    std::istream& read_token(std::istream& is);

protected:
    // These leave the object alone. _substr returns a new[] block or null.
    static char* _substr(const char* s, unsigned start, unsigned end);
    static const char* ci_strstr(const char* text, const char* pat, int ci);
    static const char* ci_strchr(const char* text, char c, int ci);
    static int ci_strcmp(const char* a, const char* b, int ci);

private:
    void _init();
    static char* strrev(char* s);
    void replace_text(const char* s, unsigned n);
    void reserve_for(unsigned added);
    std::istream& read_word(std::istream& is, unsigned scratch);

    char* m_text;
    unsigned m_capacity;
    unsigned m_iomax;
    unsigned m_growth;
};

ORV_EXPORT std::ostream& operator<<(std::ostream& os, const zstring& s);
ORV_EXPORT std::istream& operator>>(std::istream& is, zstring& s);
