#include "base/clipboard_text.h"

#include <cstring>
#include <new>
#include <string>

#include "base/zstring.h"

namespace {

// Bytes past the text's zero in the block handed to the clipboard.
const SIZE_T kSpareBytes = 4;

// A movable, shareable block holding text and its zero; null on failure.
HGLOBAL make_text_block(const char* text)
{
    const SIZE_T length = std::strlen(text);
    HGLOBAL block = GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE | GMEM_ZEROINIT, length + kSpareBytes);
    if (!block)
        return nullptr;
    void* bytes = GlobalLock(block);
    if (!bytes) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(bytes, text, length + 1);
    GlobalUnlock(block);
    return block;
}

// The text of a locked clipboard block; another program's block may lack
// its zero, so the copy stops at the block's end.
zstring* copy_text(const char* bytes, SIZE_T size)
{
    try {
        const void* zero = std::memchr(bytes, 0, size);
        const std::string text(bytes, zero ? static_cast<const char*>(zero) : bytes + size);
        return new zstring(text.c_str());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// The same for UTF-16 text and its zero.
HGLOBAL make_wide_block(const std::wstring& text)
{
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE | GMEM_ZEROINIT, bytes + kSpareBytes);
    void* locked = block ? GlobalLock(block) : nullptr;
    if (!locked) {
        if (block)
            GlobalFree(block);
        return nullptr;
    }
    std::memcpy(locked, text.c_str(), bytes);
    GlobalUnlock(block);
    return block;
}

// Hands a block to the clipboard, which owns it once it accepts it.
bool give(UINT format, HGLOBAL block)
{
    if (!block)
        return false;
    if (SetClipboardData(format, block))
        return true;
    GlobalFree(block);
    return false;
}

// Another program may hold the clipboard open for a moment: a few tries
// before giving up.
bool open_clipboard(HWND owner)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (OpenClipboard(owner))
            return true;
        Sleep(10);
    }
    return false;
}

}  // namespace

int ClipboardText::PutWideText(const std::wstring& text, const std::string& code_page_text)
{
    if (!open_clipboard(m_owner))
        return 0;
    EmptyClipboard();
    const bool wide = give(CF_UNICODETEXT, make_wide_block(text));
    const bool narrow = give(CF_TEXT, make_text_block(code_page_text.c_str()));
    CloseClipboard();
    return wide && narrow ? 1 : 0;
}

int ClipboardText::GetWideText(std::wstring& text)
{
    if (!open_clipboard(m_owner))
        return 0;
    HANDLE block = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* units = block ? static_cast<const wchar_t*>(GlobalLock(block)) : nullptr;
    int found = 0;
    if (units) {
        // Another program's block may lack its zero: the copy stops at its end.
        const SIZE_T size = GlobalSize(block) / sizeof(wchar_t);
        SIZE_T n = 0;
        while (n < size && units[n])
            ++n;
        try {
            text.assign(units, n);
            found = 1;
        } catch (const std::bad_alloc&) {
        }
        GlobalUnlock(block);
    }
    CloseClipboard();
    return found;
}

int ClipboardText::PutText(const char* text)
{
    if (!open_clipboard(m_owner))
        return 0;
    EmptyClipboard();
    HGLOBAL block = make_text_block(text ? text : "");
    int done = 0;
    if (block) {
        done = SetClipboardData(CF_TEXT, block) != nullptr;
        // The system takes the block only when it accepts it.
        if (!done)
            GlobalFree(block);
    }
    CloseClipboard();
    return done;
}

zstring* ClipboardText::GetText()
{
    if (!open_clipboard(m_owner))
        return nullptr;
    zstring* text = nullptr;
    HANDLE block = GetClipboardData(CF_TEXT);
    const char* bytes = block ? static_cast<const char*>(GlobalLock(block)) : nullptr;
    if (bytes) {
        text = copy_text(bytes, GlobalSize(block));
        GlobalUnlock(block);
    }
    CloseClipboard();
    return text;
}
