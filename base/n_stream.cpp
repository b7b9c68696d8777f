#include "base/n_stream.h"

#include <cstring>
#include <istream>
#include <ostream>

n_stream::~n_stream() = default;

n_stream& n_stream::operator=(const zstring& other)
{
    assign(other);
    return *this;
}

n_stream& n_stream::operator=(const n_stream& other)
{
    assign(other);
    return *this;
}

n_stream& n_stream::operator=(const char* s)
{
    zstring::operator=(s);
    return *this;
}

n_stream& n_stream::operator=(char c)
{
    zstring::operator=(c);
    return *this;
}

n_stream& n_stream::operator=(int n)
{
    zstring::operator=(n);
    return *this;
}

int n_stream::operator==(const zstring& other) const
{
    return std::strcmp(c_str(), other.c_str()) == 0;
}

int n_stream::operator==(const n_stream& other) const
{
    return std::strcmp(c_str(), other.c_str()) == 0;
}

std::ostream& n_stream::write(std::ostream& os) const
{
    return write_stream(os);
}

std::istream& n_stream::read(std::istream& is)
{
    return read_stream(is);
}

std::istream& read_text_list(std::istream& is, std::vector<n_stream>& list)
{
    list.clear();
    if (!is)
        return is;
    unsigned count = 0;
    is >> count;
    if (!is.good())
        return is;
    is.get();
    // The count comes from the file: the list grows one element at a time
    // as elements actually arrive, never by the count up front.
    for (unsigned i = 0; i < count; ++i) {
        list.emplace_back();
        list.back().read(is);
        if (is.fail())
            break;
    }
    return is;
}

std::ostream& write_text_list(std::ostream& os, const std::vector<n_stream>& list)
{
    os << static_cast<unsigned>(list.size()) << ' ';
    for (const n_stream& text : list)
        text.write(os);
    return os;
}
