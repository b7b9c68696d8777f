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
class StoredText;

class EntryEditor : public DialogBase {
public:
    // With texts, the fields show the characters the stored bytes stand
    // for and store what is typed by its rule; without, bytes as they are.
    explicit EntryEditor(QuoteEntry* entry, const StoredText* texts = nullptr);

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
    const StoredText* m_texts;  // not owned
};

// Quote Lookup ("GET_FIELD"): asks for an item number. The number field
// has the focus from the start. OK takes a whole number from 0 to
// 2147483647, white space around it allowed; any other text is refused with
// a box that names it, and the dialog stays open for another try.
class QuoteLookup : public DialogBase {
public:
    QuoteLookup();

    int Initialise() override;
    int OnCommand(ControlBinding* binding, LPARAM lparam) override;

    int Cancelled() const { return m_cancel; }
    int32_t Number() const { return m_number; }

private:
    // Sees the OK press before the dialog's own procedure would end the
    // dialog on it.
    static INT_PTR CALLBACK CheckingProcedure(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam);
    // 1 when the number field holds an item number; otherwise the refusal,
    // the field selected for another try, and 0.
    int Acceptable();

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
