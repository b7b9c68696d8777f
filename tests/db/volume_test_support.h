#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <string>
#include <vector>

#include "db/quote_database.h"
#include "db/quote_item.h"

// A fresh folder made current for one test and removed afterwards, so that
// the database's Volume01.STD lands there.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The absolute path of name inside the folder.
    std::string file(const std::string& name) const;
    // The names of the files in the folder, sorted.
    std::vector<std::string> listing() const;

private:
    std::string m_previous;
    std::string m_path;
};

#ifdef _WIN32
// Holds a file open as another program would, with the given access and
// share mode (0: no sharing, so it can be neither moved nor deleted);
// creates it when missing. Closed on destruction.
class FileLock {
public:
    FileLock(const char* name, DWORD access, DWORD share);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};
#endif

std::string file_bytes(const std::string& name);
void write_bytes(const std::string& name, const std::string& bytes);
bool file_exists(const std::string& name);
// One index entry: the offset as 4 little-endian bytes.
std::string entry_bytes(uint32_t offset);

// A record with the fields version, 12, -3, "plain" and text; scrambled
// unless plain.
std::string record_bytes(const char* version, const char* text, bool plain = false);
QuoteEntry make_quote(int number, const std::string& classification, const std::string& text);
// Appends "quote 0" ... "quote n-1" in the category "cat".
void append_quotes(QuoteVolume& volume, int n);
// Item n read as the program reads the item it shows: the entry knows its
// position.
QuoteEntry stored_entry(QuoteVolume& volume, uint32_t n);
// The text of every item by number; "?" for an item that cannot be read.
std::vector<std::string> item_texts(QuoteVolume& volume);
std::vector<std::string> quote_texts(int first, int last);
