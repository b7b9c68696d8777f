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

}  // namespace

int ClipboardText::PutText(const char* text)
{
    if (!OpenClipboard(m_owner))
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
    if (!OpenClipboard(m_owner))
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
