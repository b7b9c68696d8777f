#pragma once

#include <windows.h>
#include <shellapi.h>

#include <memory>

class zstring;

// The record of one drop of files on a window: how many, where, and the
// shell's drop handle, which the record finishes when it is destroyed.
class DropInfo {
public:
    explicit DropInfo(HDROP drop);
    ~DropInfo();
    DropInfo(const DropInfo&) = delete;
    DropInfo& operator=(const DropInfo&) = delete;

    unsigned Count() const { return m_count; }
    // The drop point in the client coordinates of the target window.
    int X() const { return m_x; }
    int Y() const { return m_y; }
    HDROP Handle() const { return m_drop; }
    // out = the name of dropped file i (from 0); 0, with out unchanged,
    // when there is no such file.
    int FileName(unsigned i, zstring& out);

private:
    unsigned m_count;
    int m_x;
    int m_y;
    HDROP m_drop;
    std::unique_ptr<char[]> m_names;  // holds the last name read
};
