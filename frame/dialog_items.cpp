#include "frame/dialog_items.h"

namespace {

// EM_SETSEL's end for "everything": past any text an edit control can hold.
const LPARAM kSelectionEnd = 0xFFFF0000;

}  // namespace

int SetEditText(HWND dialog, int id, const char* text)
{
    SendDlgItemMessageA(dialog, id, EM_SETSEL, 0, kSelectionEnd);
    SendDlgItemMessageA(dialog, id, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text ? text : ""));
    return 1;
}

int ClearEditText(HWND dialog, int id)
{
    return SetEditText(dialog, id, " ");
}

int ClearList(HWND dialog, int id)
{
    SendDlgItemMessageA(dialog, id, LB_RESETCONTENT, 0, 0);
    return 1;
}

void DeleteListEntries(HWND dialog, int id, int n)
{
    for (int i = 0; i < n; ++i)
        SendDlgItemMessageA(dialog, id, LB_DELETESTRING, i, 0);
}

int AddToList(HWND dialog, int id, const char* text)
{
    const LPARAM entry = reinterpret_cast<LPARAM>(text ? text : "");
    LRESULT result = SendDlgItemMessageA(dialog, id, LB_ADDSTRING, 0, entry);
    if (result == LB_ERRSPACE) {
        const LRESULT count = SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0);
        if (count == LB_ERR)
            return 0;
        DeleteListEntries(dialog, id, static_cast<int>(count / 4));
        result = SendDlgItemMessageA(dialog, id, LB_ADDSTRING, 0, entry);
        return (result != LB_ERR && result != LB_ERRSPACE) ? 1 : 0;
    }
    if (result == LB_ERR) {
        ClearList(dialog, id);
        return 0;
    }
    return 1;
}

int IsStandardIcon(unsigned icon_id)
{
    return icon_id >= kIconApplication && icon_id <= kIconAsterisk;
}

int DrawStandardIcon(HWND dialog, int id, unsigned icon_id)
{
    if (!IsStandardIcon(icon_id))
        return 0;
    // GetDC of a null window would paint on the screen itself.
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        return 0;
    HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(icon_id));
    HDC dc = GetDC(control);
    DrawIcon(dc, -1, -1, icon);
    ReleaseDC(control, dc);
    return 1;
}

int DrawRectangle(HDC dc, const RECT& rect)
{
    return Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}
