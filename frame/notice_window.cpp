#include "frame/notice_window.h"

#include <new>

#include "base/zstring.h"
#include "frame/dialog_items.h"
#include "frame/main_window_claim.h"
#include "frame/message_box.h"
#include "frame/procedure_guard.h"
#include "frame/program_instance.h"
#include "frame/window_events.h"
#include "res/resource_ids.h"

namespace {

const char kTemplateName[] = "GTMODELESS";

// The window's process-wide state. The text is a copy: the caller's text
// may be gone by the time a newly created window reads it.
HWND g_window = nullptr;
zstring g_text;
unsigned g_icon = 0;

// Out of memory, the earlier text stays.
void KeepText(const char* text)
{
    try {
        g_text = text ? text : "";
    } catch (const std::bad_alloc&) {
    }
}

}  // namespace

HWND NoticeWindow::Handle()
{
    return g_window;
}

const char* NoticeWindow::CurrentText()
{
    return g_text.c_str();
}

unsigned NoticeWindow::CurrentIcon()
{
    return g_icon;
}

void NoticeWindow::Show(int kind, const char* text)
{
    if (!g_window) {
        g_window = CreateDialogParamA(ProgramInstance(), kTemplateName, MessageBoxOwner(),
                                      &NoticeWindow::Procedure, 0);
        if (!g_window) {
            NoticeBox("Cannot create the modeless dialog box!");
            return;
        }
    }
    KeepText(text);
    switch (kind) {
    case kDestroy:
        DestroyWindow(g_window);
        return;
    case kHide:
    case 1:
        PostMessageA(g_window, WM_COMMAND, IDM_NOTICE_HIDE, kIconAsterisk);
        return;
    case kShow:
        PostMessageA(g_window, WM_COMMAND, IDM_NOTICE_SHOW, kIconApplication);
        return;
    default:
        // Sent, so the text is in the history before this returns.
        SendMessageA(g_window, WM_COMMAND, IDM_NOTICE_ADD, kIconHand);
        PostMessageA(g_window, WM_COMMAND, IDM_NOTICE_SHOW, kIconExclamation);
        return;
    }
}

INT_PTR NoticeWindow::OnCommand(HWND window, WPARAM wparam, LPARAM lparam)
{
    const unsigned icon = static_cast<unsigned>(lparam);
    if (IsStandardIcon(icon)) {
        DrawStandardIcon(window, IDC_NOTICE_ICON, icon);
        g_icon = icon;
    }
    switch (LOWORD(wparam)) {
    case IDM_NOTICE_HIDE:
        ShowWindow(window, SW_HIDE);
        return 1;
    case IDM_NOTICE_SHOW:
        ShowWindow(window, SW_SHOWNORMAL);
        SetFocus(window);
        return 1;
    case IDM_NOTICE_CLEAR:
        g_icon = 0;
        ClearList(window, IDC_NOTICE_HISTORY);
        ClearEditText(window, IDC_NOTICE_TEXT);
        return 1;
    case IDM_NOTICE_ADD:
        SetEditText(window, IDC_NOTICE_TEXT, CurrentText());
        AddToList(window, IDC_NOTICE_HISTORY, CurrentText());
        return 1;
    default:
        return 0;
    }
}

INT_PTR CALLBACK NoticeWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return Guarded<INT_PTR>(0, [&]() -> INT_PTR {
        switch (message) {
        case WM_INITDIALOG:
            SetEditText(window, IDC_NOTICE_TEXT, CurrentText());
            return 1;
        case WM_COMMAND:
            return OnCommand(window, wparam, lparam);
        case WM_SYSCOMMAND:
            if ((wparam & kSystemCommandMask) != SC_CLOSE)
                return 0;
            ShowWindow(window, SW_HIDE);
            return 1;
        case WM_DESTROY:
            // Also reached when the owner takes the window with it.
            if (window == g_window)
                g_window = nullptr;
            return 1;
        default:
            return 0;
        }
    });
}

void ModelessNotice(int kind, const char* text)
{
    NoticeWindow::Show(kind, text);
}

void ModelessNotice(const char* text)
{
    NoticeWindow::Show(NoticeWindow::kAdd, text);
}
