#pragma once

#include <windows.h>

// Small helpers for the controls of a dialog, shared by the notice window
// and the program's dialogs. Each names the dialog and the control's id.

// Replaces the whole text of an edit control; returns 1.
int SetEditText(HWND dialog, int id, const char* text);
// Sets the edit text to a single space; returns 1.
int ClearEditText(HWND dialog, int id);
// Empties a list box; returns 1.
int ClearList(HWND dialog, int id);
// Deletes n entries one at a time at indexes 0, 1, ..., n - 1; as the list
// closes up after each, the entries first at 0, 2, 4, ... go.
void DeleteListEntries(HWND dialog, int id, int n);
// Adds text at the end of a list box; 1 when added. A full list sheds a
// quarter of its entries and tries once more; a list that refuses the text
// for another reason is emptied.
int AddToList(HWND dialog, int id, const char* text);
// Draws one of the standard icons (32512..32516) at the control's top left;
// 0 for any other icon id or a missing control.
int DrawStandardIcon(HWND dialog, int id, unsigned icon_id);
// Rectangle() with the current pen and brush; returns what it returns.
int DrawRectangle(HDC dc, const RECT& rect);

// The standard icons that the notice window and the prompts use, by the
// numbers they travel under in a message's parameter.
const unsigned kIconApplication = 32512;  // IDI_APPLICATION
const unsigned kIconHand = 32513;         // IDI_HAND
const unsigned kIconQuestion = 32514;     // IDI_QUESTION
const unsigned kIconExclamation = 32515;  // IDI_EXCLAMATION
const unsigned kIconAsterisk = 32516;     // IDI_ASTERISK

int IsStandardIcon(unsigned icon_id);
