#pragma once

#include <cstddef>
#include <istream>
#include <string>

// Reads exactly n bytes into out; a short read fails the stream and leaves
// out with what arrived. The length usually comes from a file, so the bytes
// are taken in pieces: a huge length from a damaged file costs memory only
// for the bytes that really arrive.
void read_exactly(std::istream& is, size_t n, std::string& out);
