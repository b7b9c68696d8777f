#include "frame/dialog_base.h"

#include <algorithm>

#include "frame/control_binding.h"
#include "frame/main_window_claim.h"
#include "frame/message_box.h"
#include "frame/procedure_guard.h"
#include "frame/program_instance.h"
#include "frame/window_events.h"

DialogBase::DialogBase(const char* template_name)
    : m_modal(1), m_window(nullptr), m_result(0), m_template(template_name ? template_name : ""),
      m_ending(0)
{
}

DialogBase::~DialogBase()
{
    End(0);
    // Each binding leaves the list as it is deleted.
    while (!m_controls.empty())
        delete m_controls.back();
}

void DialogBase::OnLeftButtonDown(WPARAM, LPARAM) {}

INT_PTR DialogBase::Create(HWND owner)
{
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    m_ending = 0;
    if (m_modal == 1) {
        const INT_PTR result =
            DialogBoxParamA(ProgramInstance(), m_template.c_str(), owner, Procedure, self);
        // Without an end request the platform's loop ended on a quit
        // message, which it has posted again.
        if (result != -1 && !m_ending) {
            m_result = 0;
            return 0;
        }
        return result;
    }
    HWND window = CreateDialogParamA(ProgramInstance(), m_template.c_str(), owner, Procedure, self);
    return window ? reinterpret_cast<INT_PTR>(window) : -1;
}

INT_PTR DialogBase::Run()
{
    return Create(MessageBoxOwner());
}

void DialogBase::End(int ok)
{
    if (m_window && m_ending)
        return;
    if (m_window)
        SendMessageA(m_window, kEndRequest, ok == 1 ? 1 : 0, 0);
    m_result = ok;
}

int DialogBase::Initialise()
{
    return 1;
}

int DialogBase::TakeOver()
{
    return 0;
}

int DialogBase::MayClose()
{
    return 0;
}

int DialogBase::OnCommand(ControlBinding*, LPARAM)
{
    return 1;
}

int DialogBase::Help()
{
    return 0;
}

void DialogBase::OnPaint(HDC) {}

void DialogBase::OnMouseMove(WPARAM, LPARAM) {}

void DialogBase::Register(ControlBinding* binding)
{
    m_controls.push_back(binding);
}

void DialogBase::Unregister(ControlBinding* binding)
{
    auto found = std::find(m_controls.begin(), m_controls.end(), binding);
    if (found != m_controls.end())
        m_controls.erase(found);
}

ControlBinding* DialogBase::BindingById(int id) const
{
    for (ControlBinding* binding : m_controls)
        if (binding->Id() == id)
            return binding;
    return nullptr;
}

ControlBinding* DialogBase::BindingByWindow(HWND window) const
{
    if (!m_window || !window)
        return nullptr;
    for (ControlBinding* binding : m_controls)
        if (GetDlgItem(m_window, binding->Id()) == window)
            return binding;
    return nullptr;
}

DialogBase* DialogBase::FromHandle(HWND window)
{
    return reinterpret_cast<DialogBase*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

INT_PTR CALLBACK DialogBase::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return Guarded<INT_PTR>(0, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG)
            return Bind(window, lparam);
        DialogBase* dialog = FromHandle(window);
        if (!dialog)
            return 0;
        if (message == WM_NCDESTROY) {
            // Nothing may reach the object through a window that is gone.
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            dialog->m_window = nullptr;
            return 0;
        }
        return dialog->Dispatch(message, wparam, lparam);
    });
}

INT_PTR DialogBase::Bind(HWND window, LPARAM object)
{
    SetLastError(0);
    SetWindowLongPtrA(window, GWLP_USERDATA, object);
    DialogBase* dialog = FromHandle(window);
    if (GetLastError() != 0 || !dialog) {
        ErrorBox("XDialog creation failed!", "Error!");
        return 0;
    }
    dialog->m_window = window;
    dialog->m_ending = 0;
    dialog->Initialise();
    BringWindowToTop(window);
    // A copy: Attach may make or drop bindings.
    const std::vector<ControlBinding*> controls = dialog->m_controls;
    for (ControlBinding* binding : controls)
        binding->Attach(dialog);
    return 1;
}

INT_PTR DialogBase::Dispatch(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_PAINT:
        return HandlePaint();
    case WM_NOTIFY:
        return HandleNotify(wparam, lparam);
    case WM_COMMAND:
        return HandleCommand(wparam, lparam);
    case WM_SYSCOMMAND:
        return HandleSysCommand(wparam);
    case WM_MOUSEMOVE:
        OnMouseMove(wparam, lparam);
        return 0;
    case WM_LBUTTONDOWN:
        HandleLeftButtonDown(wparam, lparam);
        return 0;
    case kEndRequest:
        return HandleEndRequest(wparam);
    default:
        return 0;
    }
}

INT_PTR DialogBase::HandlePaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_window, &paint);
    OnPaint(dc);
    EndPaint(m_window, &paint);
    return 1;
}

INT_PTR DialogBase::HandleNotify(WPARAM wparam, LPARAM lparam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
    ControlBinding* binding = BindingById(LOWORD(wparam));
    if (binding && header)
        binding->OnNotify(header->hwndFrom, header->idFrom, static_cast<int>(header->code));
    return 0;
}

INT_PTR DialogBase::HandleCommand(WPARAM wparam, LPARAM lparam)
{
    HWND window = m_window;
    ControlBinding* binding = BindingById(LOWORD(wparam));
    if (binding && OnCommand(binding, lparam) == 1)
        binding->OnCommand(wparam, lparam);
    if (wparam == IDOK || wparam == IDCANCEL)
        SendMessageA(window, kEndRequest, wparam, 0);
    else if (wparam == IDHELP && Help() != 1)
        SendMessageA(window, kEndRequest, IDHELP, 0);
    return 0;
}

INT_PTR DialogBase::HandleSysCommand(WPARAM wparam)
{
    if ((wparam & kSystemCommandMask) != SC_CLOSE)
        return 0;
    if (MayClose() == 1)
        SendMessageA(m_window, kEndRequest, IDCANCEL, 0);
    else
        MessageBeep(MB_ICONHAND);
    return 1;
}

void DialogBase::HandleLeftButtonDown(WPARAM wparam, LPARAM lparam)
{
    const POINT point = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    HWND under = ChildWindowFromPoint(m_window, point);
    if (under == m_window) {
        OnLeftButtonDown(wparam, lparam);
        return;
    }
    if (ControlBinding* binding = BindingByWindow(under))
        binding->OnLeftButtonDown(wparam, lparam);
}

INT_PTR DialogBase::HandleEndRequest(WPARAM wparam)
{
    if (m_ending)
        return 1;
    m_ending = 1;
    m_result = wparam == IDOK ? 1 : 0;
    TakeOver();
    if (m_modal == 1)
        EndDialog(m_window, m_result);
    else
        DestroyWindow(m_window);
    return 1;
}
