#pragma once

// Resource, control and command identifiers of the program, grouped by the
// dialog or menu that uses them. They are plain macros so that resource
// scripts can include this header as well as the code.

// ---------------------------------------------------------------------------
// Modeless notice window (dialog template "GTMODELESS")

// Controls of the template. The program itself ships no such template; an
// application that wants the notice window supplies one with these ids.
#define IDC_NOTICE_HISTORY 108  // list box: the notices shown so far, newest last
#define IDC_NOTICE_TEXT 109     // edit control: the current notice
#define IDC_NOTICE_ICON 110     // static control: the icon of the current notice

// Commands the notice window accepts; the second message parameter of each
// names the standard icon to draw.
#define IDM_NOTICE_HIDE 105
#define IDM_NOTICE_SHOW 106
#define IDM_NOTICE_CLEAR 107
#define IDM_NOTICE_ADD 1150

// ---------------------------------------------------------------------------
// Framework windows

// Child id of the common-controls tool bar a framework window may hold.
#define IDC_BUILTIN_TOOLBAR 16087
