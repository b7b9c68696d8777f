#include "alarms/item_dialogs.h"

#include <cstdint>
#include <string>
#include <vector>

#include "base/stored_text.h"
#include "base/zstring.h"
#include "db/quote_item.h"
#include "frame/message_box.h"
#include "frame/procedure_guard.h"
#include "res/orvalis_ids.h"

namespace {

// The item number a text names: digits only, white space around them
// allowed, at most 2147483647; -1 for any other text.
int64_t ItemNumber(const char* text)
{
    if (!text)
        return -1;
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    const char* const digits = p;
    int64_t number = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        number = number * 10 + (*p - '0');
        if (number > INT32_MAX)
            return -1;
    }
    if (p == digits)
        return -1;
    while (*p == ' ' || *p == '\t')
        ++p;
    return *p ? -1 : number;
}

}  // namespace

zstring EditText(ControlBinding* edit)
{
    HWND control = edit ? edit->Control() : nullptr;
    if (!control)
        return zstring();
    std::vector<char> buffer(static_cast<size_t>(GetWindowTextLengthA(control)) + 1);
    edit->GetText(buffer.data(), buffer.size());
    return zstring(buffer.data());
}

namespace {

// The characters a stored text stands for, into an edit control whose
// length limit is lifted first.
void SetWideText(HWND control, const StoredText& texts, const zstring& stored)
{
    SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextW(control, texts.to_wide(std::string(stored.c_str())).c_str());
}

// What an edit control holds, stored by the rule; a text no volume can
// hold (a U+0000) keeps the stored one.
zstring StoredFrom(HWND control, const StoredText& texts, const zstring& kept)
{
    std::vector<wchar_t> typed(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    GetWindowTextW(control, typed.data(), static_cast<int>(typed.size()));
    std::string stored;
    if (texts.from_wide(std::wstring(typed.data()), stored) == StoredText::kNotText)
        return kept;
    return zstring(stored.c_str());
}

}  // namespace

EntryEditor::EntryEditor(QuoteEntry* entry, const StoredText* texts)
    : DialogBase("EDIT"),
      m_cancel(1),
      m_category(nullptr),
      m_text(nullptr),
      m_ok(nullptr),
      m_cancel_button(nullptr),
      m_entry(entry),
      m_texts(texts)
{
}

int EntryEditor::Initialise()
{
    m_category = new EditBinding(this, ORV_EDIT_CATEGORY);
    m_text = new EditBinding(this, ORV_EDIT_TEXT);
    m_ok = new ControlBinding(this, IDOK);
    m_cancel_button = new ControlBinding(this, IDCANCEL);
    if (m_entry && m_texts) {
        SetWideText(m_category->Control(), *m_texts, m_entry->classification());
        SetWideText(m_text->Control(), *m_texts, m_entry->text());
    } else if (m_entry) {
        m_category->SetText(m_entry->classification().c_str());
        m_text->SetText(m_entry->text().c_str());
    }
    return 1;
}

int EntryEditor::OnCommand(ControlBinding* binding, LPARAM)
{
    if (binding == m_ok)
        m_cancel = 0;
    else if (binding == m_cancel_button)
        m_cancel = 1;
    return 0;
}

int EntryEditor::TakeOver()
{
    if (m_cancel || !m_entry)
        return 0;
    if (m_texts) {
        m_entry->set_text(StoredFrom(m_text->Control(), *m_texts, m_entry->text()));
        m_entry->set_classification(
            StoredFrom(m_category->Control(), *m_texts, m_entry->classification()));
        return 1;
    }
    m_entry->set_text(EditText(m_text));
    m_entry->set_classification(EditText(m_category));
    return 1;
}

int EntryEditor::Help()
{
    InformationBox("QEdit the item in the dialog: OKAY records, CANCEL ignores and changes.",
                   "QUICK HELP", Window());
    return 1;
}

QuoteLookup::QuoteLookup()
    : DialogBase("GET_FIELD"),
      m_number_edit(nullptr),
      m_ok(nullptr),
      m_cancel_button(nullptr),
      m_cancel(1),
      m_number(-1)
{
    m_number_edit = new EditBinding(this, ORV_LOOKUP_NUMBER);
    m_ok = new ControlBinding(this, IDOK);
    m_cancel_button = new ControlBinding(this, IDCANCEL);
}

// The dialog's system focus goes to the first control in tab order that
// takes it; the number field is brought before the buttons, so typing goes
// straight into it and Tab then reaches OK and Cancel.
int QuoteLookup::Initialise()
{
    HWND dialog = Window();
    SetWindowPos(GetDlgItem(dialog, ORV_LOOKUP_NUMBER), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&CheckingProcedure));
    return 1;
}

INT_PTR CALLBACK QuoteLookup::CheckingProcedure(HWND window, UINT message, WPARAM wparam,
                                                LPARAM lparam)
{
    return Guarded<INT_PTR>(0, [&]() -> INT_PTR {
        // The dialog's own procedure ends the dialog on exactly this
        // command (the OK button, or Enter).
        if (message == WM_COMMAND && wparam == IDOK) {
            QuoteLookup* lookup = static_cast<QuoteLookup*>(FromHandle(window));
            if (lookup && !lookup->Acceptable())
                return 1;
        }
        return Procedure(window, message, wparam, lparam);
    });
}

int QuoteLookup::Acceptable()
{
    const zstring text = EditText(m_number_edit);
    if (ItemNumber(text.c_str()) >= 0)
        return 1;
    // A long text is named by its start.
    const size_t kNamed = 40;
    std::string named(text.c_str());
    if (named.size() > kNamed)
        named = named.substr(0, kNamed) + "...";
    const std::string refusal =
        "\"" + named + "\" is not an item number. Type a whole number, 0 or more.";
    InformationBox(refusal.c_str(), "Message", Window());
    SendMessageA(Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_number_edit->Control()),
                 TRUE);
    return 0;
}

int QuoteLookup::OnCommand(ControlBinding* binding, LPARAM)
{
    if (binding == m_ok) {
        const int64_t number = ItemNumber(EditText(m_number_edit).c_str());
        m_cancel = number < 0 ? 1 : 0;
        m_number = static_cast<int32_t>(number);
    } else if (binding == m_cancel_button) {
        m_cancel = 1;
    }
    return 0;
}

AboutBox::AboutBox() : DialogBase("KV_SHARE") {}

int AboutBox::Initialise()
{
    return 1;
}

int AboutBox::OnCommand(ControlBinding*, LPARAM)
{
    return 1;
}
