#pragma once

#include <string>

#include "frame/dialog_base.h"

// Find: the words to look for, and whether their case must match. The
// text is kept as the characters the user typed.
class FindDialog : public DialogBase {
public:
    FindDialog(const std::wstring& text, bool match_case);

    int Initialise() override;
    int TakeOver() override;

    // 1 when Find Next ended the dialog with words to look for.
    int Accepted() const { return Result() == 1 && !m_text.empty(); }
    const std::wstring& Text() const { return m_text; }
    bool MatchCase() const { return m_match_case; }

private:
    std::wstring m_text;
    bool m_match_case;
};
