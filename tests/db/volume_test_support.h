#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "db/quote_database.h"
#include "db/quote_item.h"
#include "scratch_folder.h"

#ifdef _WIN32
// Holds a file open (created when missing) as another program would;
// share mode 0 means it can be neither moved nor deleted.
struct HeldHandle {
    HeldHandle(const char* name, DWORD access, DWORD share)
        : handle(CreateFileA(name, access, share, nullptr, OPEN_ALWAYS, 0, nullptr)) {}
    ~HeldHandle() { if (held()) CloseHandle(handle); }
    HeldHandle(const HeldHandle&) = delete;
    bool held() const { return handle != INVALID_HANDLE_VALUE; }
    const HANDLE handle;
};
#endif

std::string file_bytes(const std::string& name);
void write_bytes(const std::string& name, const std::string& bytes);
inline bool file_exists(const std::string& name)
{
    std::error_code ignored;
    return std::filesystem::exists(name, ignored);
}
// One index entry: the offset as 4 little-endian bytes.
std::string entry_bytes(uint32_t offset);

// A record with the fields version, 12, -3, "plain", text; scrambled unless plain.
std::string record_bytes(const char* version, const char* text, bool plain = false);
QuoteEntry make_quote(int number, const std::string& classification, const std::string& text);
// Appends "quote 0" ... "quote n-1" in the category "cat".
void append_quotes(QuoteVolume& volume, int n);
// Item n as the program reads the item it shows: knowing its position.
QuoteEntry stored_entry(QuoteVolume& volume, uint32_t n);
// Marks item n deleted, as the program does.
void delete_item(QuoteDatabaseV2& volume, uint32_t n);
// The text of every item by number; "?" for an item that cannot be read.
std::vector<std::string> item_texts(QuoteVolume& volume);
std::vector<std::string> quote_texts(int first, int last);

// Each test in a fresh scratch folder, on its Volume01.STD.
class VolumeTest : public testing::Test {
protected:
    ScratchFolder folder;
    QuoteDatabaseV2 db;
};
