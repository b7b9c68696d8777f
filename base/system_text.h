#pragma once

#include <windows.h>

#include <new>

#include "base/zstring.h"

// Reads a text of unknown length, a folder or a file name, from a system
// call that fills a buffer. fill(buffer, size) returns the length written
// without its zero; when the buffer is too small, the size it needs or the
// size it was given; 0 on failure. out takes the text; false, with out
// unchanged, on failure, past the longest name the system allows, or when
// memory runs out.
template <typename Fill>
bool read_system_text(zstring& out, Fill fill)
{
    const DWORD kLongestName = 32768;  // with "\\?\" names, the system's limit
    try {
        for (DWORD size = MAX_PATH; size <= 2 * kLongestName;) {
            zstring text;
            char* buffer = text.own(new char[size + 1](), size + 1);
            const DWORD n = fill(buffer, size);
            if (n == 0)
                return false;
            if (n < size) {
                out = text;
                return true;
            }
            size = n > size ? n : 2 * size;
        }
    } catch (const std::bad_alloc&) {
    }
    return false;
}
