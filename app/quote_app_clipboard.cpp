// Items to and from the clipboard: copy, cut, and a new item from the
// clipboard's text, tested against the screen and re-wrapped on request.
#include "app/quote_app.h"

#include <cstring>
#include <memory>
#include <string>

#include "app/text_fit.h"
#include "app/volume_messages.h"
#include "base/clipboard_text.h"
#include "frame/message_box.h"

namespace {

const uint32_t kNoCount = 0xFFFFFFFF;

}  // namespace

// Both forms go on the clipboard: Unicode for every program that reads
// it, and the code page's bytes for those that read only those.
int QuoteApp::CopyItem()
{
    const std::wstring text = WideText(m_current.text());
    const std::string code_page = NarrowText(text);
    const int copied = ClipboardText(Handle()).PutWideText(text, code_page);
    if (!copied)
        InformationBox("Clipboard unavailable", "Message");
    return copied;
}

int QuoteApp::CutItem()
{
    const int copied = CopyItem();
    if (copied != 1 || m_current.position() == QuoteEntry::kNotStored)
        return copied;
    // Only the copy is made when the volume may not be written.
    if (!MayWrite(m_database))
        return copied;
    const int32_t position = m_current.position();
    m_database.delete_item(m_current);
    ShowNeighbourOf(position);
    return copied;
}

// The text is fitted and re-wrapped as UTF-8, then stored by the rule.
// Unicode text is taken when the clipboard has it; a text handed in, or
// the clipboard's code page text, is the code page's bytes.
int QuoteApp::PasteItem(const char* given)
{
    std::unique_ptr<zstring> text;
    std::wstring wide;
    if (given) {
        text.reset(new zstring(Utf8Text(zstring(given)).c_str()));
    } else if (ClipboardText(Handle()).GetWideText(wide)) {
        std::string stored;
        if (m_texts.from_wide(wide, stored) != StoredText::kNotText)
            text.reset(new zstring(m_texts.to_utf8(stored).c_str()));
    } else if (zstring* bytes = ClipboardText(Handle()).GetText()) {
        text.reset(new zstring(Utf8Text(*bytes).c_str()));
        delete bytes;
    }
    if (!text) {
        InformationBox("There is nothing on the clipboard to paste into a new quote.", "Message");
        return 0;
    }
    if (TooLarge(*text)) {
        ErrorBox("The item is too large to fit on your screen. It cannot be placed into the "
                 "database.",
                 "Error!");
        return 0;
    }
    if (TooWide(*text) &&
        QuestionBox("The item is too wide to fit on your screen. Should Keldovane reformat it?",
                    "Notice"))
        ReformatToFit(*text);
    std::string stored;
    m_texts.from_utf8(std::string(text->c_str()), stored);
    QuoteEntry entry;
    entry.set_text(zstring(stored.c_str()));
    if (!AppendItem(entry, m_database)) {
        // "Out of disk space?" only when it is so; otherwise the reason,
        // and the volume the user asked for.
        const bool refused = m_refused_volume.length() != 0;
        const std::string text =
            m_database.failure() == QuoteVolume::kDiskFull && !refused
                ? std::string("Could not add a new item to database. Out of disk space?")
                : "Could not add a new item to database " +
                      (refused ? std::string(m_refused_volume.c_str())
                               : FullName(m_database.file_name())) +
                      ": " + (refused ? std::string("Orvalis cannot write this volume")
                                      : FailureText(m_database)) +
                      ".";
        ErrorBox(text.c_str(), "Error!");
        return 0;
    }
    ShowItem(entry);
    return 1;
}

// The screen in characters of the display font, less the main window's
// frame.
TextRoom QuoteApp::Room()
{
    ScreenSize screen;
    screen.screen_width = GetSystemMetrics(SM_CXSCREEN);
    screen.screen_height = GetSystemMetrics(SM_CYSCREEN);
    RECT window = {}, client = {};
    if (Handle()) {
        GetWindowRect(Handle(), &window);
        GetClientRect(Handle(), &client);
    }
    screen.frame_width = (window.right - window.left) - client.right;
    screen.frame_height = (window.bottom - window.top) - client.bottom;
    screen.char_width = m_font.Width();
    screen.char_height = m_font.Height();
    return RoomOnScreen(screen);
}

int QuoteApp::TooLarge(const zstring& text)
{
    const TextRoom room = Room();
    return ::TooLarge(text, room.columns, room.rows);
}

int QuoteApp::TooWide(const zstring& text)
{
    return ::TooWide(text, Room().capped_columns);
}

int QuoteApp::ReformatToFit(zstring& text)
{
    return ::ReformatToFit(text, Room().wrap_width);
}
