#pragma once

#include <cstdint>

#include "frame/control_binding.h"
#include "frame/dialog_base.h"

class QuoteEntry;
class zstring;

// The whole text of a bound edit control, however long.
zstring EditText(ControlBinding* edit);

// The Entry Editor ("EDIT"): the category and the text of one item. The
// item changes only when the dialog ends with OK.
class EntryEditor : public DialogBase {
public:
    explicit EntryEditor(QuoteEntry* entry);

    int Initialise() override;
    int TakeOver() override;
    int OnCommand(ControlBinding* binding, LPARAM lparam) override;
    int Help() override;

    int Cancelled() const { return m_cancel; }

private:
    int m_cancel;
    EditBinding* m_category;  // the bindings belong to the dialog
    EditBinding* m_text;
    ControlBinding* m_ok;
    ControlBinding* m_cancel_button;
    QuoteEntry* m_entry;  // not owned
};

// Quote Lookup ("GET_FIELD"): asks for an item number.
class QuoteLookup : public DialogBase {
public:
    QuoteLookup();

    int Initialise() override;
    int OnCommand(ControlBinding* binding, LPARAM lparam) override;

    int Cancelled() const { return m_cancel; }
    int32_t Number() const { return m_number; }

private:
    EditBinding* m_number_edit;  // the bindings belong to the dialog
    ControlBinding* m_ok;
    ControlBinding* m_cancel_button;
    int m_cancel;
    int32_t m_number;
};

// The About box ("KV_SHARE").
class AboutBox : public DialogBase {
public:
    AboutBox();

    int Initialise() override;
    int OnCommand(ControlBinding* binding, LPARAM lparam) override;
};
