#include "alarms/item_dialogs.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/zstring.h"
#include "db/quote_item.h"
#include "frame/message_box.h"
#include "res/orvalis_ids.h"

zstring EditText(ControlBinding* edit)
{
    HWND control = edit ? edit->Control() : nullptr;
    if (!control)
        return zstring();
    std::vector<char> buffer(static_cast<size_t>(GetWindowTextLengthA(control)) + 1);
    edit->GetText(buffer.data(), buffer.size());
    return zstring(buffer.data());
}

EntryEditor::EntryEditor(QuoteEntry* entry)
    : DialogBase("EDIT"),
      m_cancel(1),
      m_category(nullptr),
      m_text(nullptr),
      m_ok(nullptr),
      m_cancel_button(nullptr),
      m_entry(entry)
{
}

int EntryEditor::Initialise()
{
    m_category = new EditBinding(this, ORV_EDIT_CATEGORY);
    m_text = new EditBinding(this, ORV_EDIT_TEXT);
    m_ok = new ControlBinding(this, IDOK);
    m_cancel_button = new ControlBinding(this, IDCANCEL);
    if (m_entry) {
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

int QuoteLookup::Initialise()
{
    return 1;
}

int QuoteLookup::OnCommand(ControlBinding* binding, LPARAM)
{
    if (binding == m_ok) {
        m_cancel = 0;
        // Leading white space skipped, up to the first non-digit; 0 when
        // there is no number at all, and the nearest limit when it is huge.
        const long number = std::strtol(EditText(m_number_edit).c_str(), nullptr, 10);
        m_number = static_cast<int32_t>(number < INT32_MIN ? INT32_MIN
                                        : number > INT32_MAX ? INT32_MAX : number);
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
