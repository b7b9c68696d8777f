#pragma once

#include <iosfwd>
#include <vector>

#include "base/zstring.h"

// A zstring whose stream form is always length-prefixed ("3 abc"), so any
// text, spaces and line ends included, survives a trip through a file.
class ORV_EXPORT n_stream : public zstring {
public:
    n_stream() = default;
    n_stream(const zstring& other) : zstring(other) {}
    n_stream(const n_stream& other) : zstring(other) {}
    ~n_stream() override;

    n_stream& operator=(const zstring& other);
    n_stream& operator=(const n_stream& other);
    // zstring's other assignments: a number is stored as its decimal text.
    n_stream& operator=(const char* s);
    n_stream& operator=(char c);
    n_stream& operator=(int n);
    int operator==(const zstring& other) const;
    int operator==(const n_stream& other) const;

    std::ostream& write(std::ostream& os) const override;
    std::istream& read(std::istream& is) override;
};

// A persisted list of texts: the count in decimal, one separator byte, then
// each element in the length-prefixed form. Reading empties the list first
// and keeps the elements read before the stream failed; the element whose
// read failed stays in the list as its read left it.
ORV_EXPORT std::istream& read_text_list(std::istream& is, std::vector<n_stream>& list);
ORV_EXPORT std::ostream& write_text_list(std::ostream& os, const std::vector<n_stream>& list);
