#include "alarms/find_dialog.h"

#include <windows.h>

#include <vector>

#include "res/orvalis_ids.h"

FindDialog::FindDialog(const std::wstring& text, bool match_case)
    : DialogBase(ORV_DLG_FIND), m_text(text), m_match_case(match_case)
{
}

int FindDialog::Initialise()
{
    SetDlgItemTextW(Window(), ORV_FIND_TEXT, m_text.c_str());
    CheckDlgButton(Window(), ORV_FIND_MATCH_CASE, m_match_case ? BST_CHECKED : BST_UNCHECKED);
    // The words typed replace the last ones.
    HWND text = GetDlgItem(Window(), ORV_FIND_TEXT);
    SendMessageW(text, EM_SETSEL, 0, -1);
    SetFocus(text);
    return 1;
}

int FindDialog::TakeOver()
{
    if (Result() != 1)
        return 0;
    HWND text = GetDlgItem(Window(), ORV_FIND_TEXT);
    std::vector<wchar_t> typed(static_cast<size_t>(GetWindowTextLengthW(text)) + 1, L'\0');
    GetWindowTextW(text, typed.data(), static_cast<int>(typed.size()));
    m_text = typed.data();
    m_match_case = IsDlgButtonChecked(Window(), ORV_FIND_MATCH_CASE) == BST_CHECKED;
    return 1;
}
