#pragma once

#include <windows.h>

#include <string>

class zstring;

// Plain text (CF_TEXT) to and from the system clipboard on behalf of one
// owner window. The clipboard is closed again before any operation returns.
class ClipboardText {
public:
    explicit ClipboardText(HWND owner = nullptr) : m_owner(owner) {}

    void SetOwner(HWND owner) { m_owner = owner; }
    // Replaces the clipboard's content with text (null counts as the empty
    // text); 1 on success, 0 on any failure.
    int PutText(const char* text);
    // A new zstring with the clipboard's text, which the caller deletes;
    // null when the clipboard cannot be opened or holds no text.
    zstring* GetText();

    // Unicode text (CF_UNICODETEXT) and its code page form (CF_TEXT, the
    // bytes and their zero) together; 1 when both were taken.
    int PutWideText(const std::wstring& text, const std::string& code_page_text);
    // The clipboard's Unicode text (the system makes it from CF_TEXT when a
    // program put only that); 0 when there is none.
    int GetWideText(std::wstring& text);

private:
    HWND m_owner;  // not owned
};
