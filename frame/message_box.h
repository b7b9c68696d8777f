#pragma once

#include <windows.h>

#include "frame/main_window_claim.h"

class zstring;

// The message boxes through which the program tells the user everything.
// Each adds MB_SETFOREGROUND to its style and returns what MessageBoxA
// returns, unless said otherwise.

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style);
// Asterisk icon.
int InformationBox(const char* text, const char* caption, HWND owner = MessageBoxOwner());
// Stop icon.
int ErrorBox(const char* text, const char* caption, HWND owner = MessageBoxOwner());
// Yes and No buttons with the exclamation icon; 1 for Yes, 0 for any other
// way out of the box.
int QuestionBox(const char* text, const char* caption, HWND owner = MessageBoxOwner());
// The framework's last resort: a stop beep, then a box with no owner,
// captioned "NOTICE!". It needs no window of the program to exist.
int NoticeBox(const char* text);

// out = the system's message for code without its trailing line end, or
// the empty text when the system has none; returns out.c_str().
const char* SystemErrorText(zstring& out, DWORD code);
