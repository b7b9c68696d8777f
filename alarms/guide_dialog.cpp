#include "alarms/guide_dialog.h"

#include <windows.h>

#include "frame/control_binding.h"
#include "frame/program_instance.h"
#include "res/orvalis_ids.h"

GuideDialog::GuideDialog() : DialogBase(ORV_DLG_USERS_GUIDE) {}

std::string GuideDialog::Text()
{
    HRSRC found = FindResourceA(ProgramInstance(), ORV_RES_USERS_GUIDE, RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(ProgramInstance(), found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes)
        return "";
    const DWORD size = SizeofResource(ProgramInstance(), found);
    // An edit control breaks lines only at CR LF.
    std::string text;
    text.reserve(size + size / 16);
    for (DWORD i = 0; i < size; ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            text += '\r';
        text += bytes[i];
    }
    return text;
}

int GuideDialog::Initialise()
{
    SetDlgItemTextA(Window(), ORV_GUIDE_TEXT, Text().c_str());
    // Nothing selected: the guide opens at its top, ready to scroll.
    SendDlgItemMessageA(Window(), ORV_GUIDE_TEXT, EM_SETSEL, 0, 0);
    SetFocus(GetDlgItem(Window(), IDOK));
    return 1;
}

int GuideDialog::OnCommand(ControlBinding*, LPARAM)
{
    return 1;
}
