#include "frame/control_binding.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/zstring.h"
#include "frame/dialog_base.h"
#include "frame/dialog_items.h"

// ---- ControlBinding --------------------------------------------------------

namespace {

// The common-control notification codes, as the signed values they are.
enum : int {
    kOutOfMemory = -1,
    kClick = -2,
    kDoubleClick = -3,
    kReturn = -4,
    kRightClick = -5,
    kRightDoubleClick = -6,
    kSetFocus = -7,
    kKillFocus = -8,
};

}  // namespace

ControlBinding::ControlBinding() : m_owner(nullptr), m_id(-1) {}

ControlBinding::ControlBinding(DialogBase* owner, int id) : m_owner(owner), m_id(owner ? id : -1)
{
    if (m_owner)
        m_owner->Register(this);
}

ControlBinding::~ControlBinding()
{
    if (m_owner)
        m_owner->Unregister(this);
}

void ControlBinding::OnCommand(WPARAM, LPARAM) {}

LRESULT ControlBinding::OnNotify(HWND, UINT_PTR, int code)
{
    switch (code) {
    case kClick:
        return OnClick();
    case kDoubleClick:
        return OnDoubleClick();
    case kKillFocus:
        return OnKillFocus();
    case kOutOfMemory:
        return OnOutOfMemory();
    case kRightClick:
        return OnRightClick();
    case kRightDoubleClick:
        return OnRightDoubleClick();
    case kReturn:
        return OnReturn();
    case kSetFocus:
        return OnSetFocus();
    default:
        return code;
    }
}

LRESULT ControlBinding::OnClick() { return 0; }
LRESULT ControlBinding::OnDoubleClick() { return 0; }
LRESULT ControlBinding::OnKillFocus() { return 0; }
LRESULT ControlBinding::OnOutOfMemory() { return 0; }
LRESULT ControlBinding::OnRightClick() { return 0; }
LRESULT ControlBinding::OnRightDoubleClick() { return 0; }
LRESULT ControlBinding::OnReturn() { return 0; }
LRESULT ControlBinding::OnSetFocus() { return 0; }
void ControlBinding::Attach(DialogBase*) {}
void ControlBinding::OnLeftButtonDown(WPARAM, LPARAM) {}
int ControlBinding::GetValue(int&) { return 0; }
int ControlBinding::GetText(char*, size_t) { return 0; }
int ControlBinding::SetValue(int) { return 0; }
int ControlBinding::SetText(const char*) { return 0; }
int ControlBinding::Clear() { return 1; }
int ControlBinding::Reserved() { return 1; }
int ControlBinding::ReservedA(int value) { return value; }
int ControlBinding::ReservedB(int value) { return value; }

HWND ControlBinding::Control() const
{
    return m_owner && m_owner->Window() ? GetDlgItem(m_owner->Window(), m_id) : nullptr;
}

// ---- CheckBinding ----------------------------------------------------------

CheckBinding::CheckBinding(DialogBase* owner, int id) : ControlBinding(owner, id) {}

void CheckBinding::OnCommand(WPARAM wparam, LPARAM)
{
    switch (HIWORD(wparam)) {
    case BN_CLICKED: OnClicked(); break;
    case BN_PAINT: OnButtonPaint(); break;
    case BN_DISABLE: OnDisabled(); break;
    case BN_DOUBLECLICKED: OnDoubleClicked(); break;
    case BN_SETFOCUS: OnFocusGained(); break;
    case BN_KILLFOCUS: OnFocusLost(); break;
    default: break;
    }
}

int CheckBinding::GetValue(int& value)
{
    value = static_cast<int>(SendMessageA(Control(), BM_GETCHECK, 0, 0));
    return 1;
}

int CheckBinding::GetText(char* buffer, size_t size)
{
    if (!buffer || size < 2)
        return 0;
    int state = 0;
    GetValue(state);
    buffer[0] = state == BST_UNCHECKED ? '0' : state == BST_CHECKED ? '1' : '?';
    buffer[1] = '\0';
    return 1;
}

int CheckBinding::SetText(const char* text)
{
    if (!text || !*text)
        return 0;
    return SetCheck(text[0] == '0' ? BST_UNCHECKED : text[0] == '1' ? BST_CHECKED
                                                                     : BST_INDETERMINATE);
}

int CheckBinding::Clear()
{
    return SetCheck(BST_UNCHECKED);
}

void CheckBinding::OnClicked() {}
void CheckBinding::OnButtonPaint() {}
void CheckBinding::OnDisabled() {}
void CheckBinding::OnDoubleClicked() {}
void CheckBinding::OnFocusGained() {}
void CheckBinding::OnFocusLost() {}

int CheckBinding::SetCheck(int state)
{
    SendMessageA(Control(), BM_SETCHECK, static_cast<WPARAM>(state), 0);
    return 1;
}

// ---- EditBinding -----------------------------------------------------------

namespace {

// The longest number text GetValue reads, with its terminator.
const size_t kNumberBuffer = 132;

}  // namespace

EditBinding::EditBinding(DialogBase* owner, int id) : ControlBinding(owner, id) {}

void EditBinding::OnCommand(WPARAM wparam, LPARAM)
{
    switch (HIWORD(wparam)) {
    case EN_SETFOCUS: OnFocusGained(); break;
    case EN_KILLFOCUS: OnFocusLost(); break;
    case EN_CHANGE: OnChange(); break;
    case EN_UPDATE: OnUpdate(); break;
    case EN_ERRSPACE: OnOutOfSpace(); break;
    case EN_MAXTEXT: OnMaxText(); break;
    case EN_HSCROLL: OnHorizontalScroll(); break;
    case EN_VSCROLL: OnVerticalScroll(); break;
    default: break;
    }
}

int EditBinding::GetValue(int& value)
{
    char text[kNumberBuffer];
    const int got = GetText(text, sizeof text);
    // strtol skips leading white space and stops at the first non-digit;
    // a number beyond an int is held at the nearest end.
    const long n = got ? std::strtol(text, nullptr, 10) : 0;
    value = n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : static_cast<int>(n);
    return got;
}

int EditBinding::GetText(char* buffer, size_t size)
{
    if (!buffer || size == 0 || TextLength() == -1)
        return 0;
    buffer[0] = '\0';
    GetWindowTextA(Control(), buffer, static_cast<int>(size > INT_MAX ? INT_MAX : size));
    return 1;
}

int EditBinding::SetText(const char* text)
{
    HWND control = Control();
    if (!control)
        return 0;
    const char* wanted = text ? text : "";
    // An edit control takes 30,000 characters until told otherwise; 0
    // lifts its limit to the platform's maximum.
    SendMessageA(control, EM_SETLIMITTEXT, 0, 0);
    SetEditText(Owner()->Window(), Id(), wanted);
    // The length asked of the control may count more than it holds, never
    // less: short means the text was cut.
    return TextLength() < static_cast<LRESULT>(std::strlen(wanted)) ? 0 : 1;
}

int EditBinding::Clear() { return 1; }
int EditBinding::Reserved() { return 1; }
void EditBinding::OnFocusGained() {}
void EditBinding::OnFocusLost() {}
void EditBinding::OnChange() {}
void EditBinding::OnUpdate() {}
void EditBinding::OnOutOfSpace() {}
void EditBinding::OnMaxText() {}
void EditBinding::OnHorizontalScroll() {}
void EditBinding::OnVerticalScroll() {}

int EditBinding::GetString(zstring& text)
{
    const LRESULT length = TextLength();
    if (length == -1)
        return 0;
    std::vector<char> buffer(static_cast<size_t>(length) + 4, '\0');
    GetWindowTextA(Control(), buffer.data(), static_cast<int>(buffer.size()));
    text = buffer.data();
    return 1;
}

int EditBinding::SetNumber(int n)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", n);
    return SetText(text);
}

LRESULT EditBinding::TextLength() const
{
    HWND control = Control();
    if (!control)
        return -1;
    return SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
}
