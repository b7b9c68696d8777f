#pragma once

#include <windows.h>

#include <vector>

#include "base/zstring.h"

class ControlBinding;

// The base of every dialog: an object bound to a dialog template of the
// program's resources. One dialog procedure routes the window's messages
// to the virtual operations, whose slot order derived dialogs follow.
// Data goes into the controls in Initialise and comes out in TakeOver,
// which runs once, when the dialog ends: the first end request ends it,
// and any request or End after that, until the window is gone, does
// nothing.
class DialogBase {
public:
    // The private message that ends a dialog; its wParam is 1 for OK, 2 for
    // Cancel or Escape, 9 for a declined Help and 0 from End(0).
    static constexpr UINT kEndRequest = WM_USER + 133;

    explicit DialogBase(const char* template_name);
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    // Slot 0: a press on the dialog's own surface.
    virtual void OnLeftButtonDown(WPARAM wparam, LPARAM lparam);
    // Ends a dialog still open and deletes the bindings it owns.
    virtual ~DialogBase();
    // Modal: the dialog's result, or -1 when it cannot be made; a quit
    // message ends it with 0, without TakeOver, and is posted again for the
    // loop outside. Modeless: the dialog window, or -1.
    virtual INT_PTR Create(HWND owner);
    // Create, owned by the main window (the desktop when there is none).
    virtual INT_PTR Run();
    // Sends the end request (1 for ok == 1, else 0) and keeps ok as result;
    // does nothing while the dialog is already ending.
    virtual void End(int ok);
    virtual int Initialise();
    // 1 when something was taken over from the controls.
    virtual int TakeOver();
    // 1 to let the close box close the dialog.
    virtual int MayClose();
    // A command of a bound control; 1 lets the binding handle it too.
    virtual int OnCommand(ControlBinding* binding, LPARAM lparam);
    // 1 when help was given and the dialog stays open.
    virtual int Help();
    virtual void OnPaint(HDC dc);
    virtual void OnMouseMove(WPARAM wparam, LPARAM lparam);

    HWND Window() const { return m_window; }
    unsigned Result() const { return m_result; }
    int IsModal() const { return m_modal == 1; }
    void SetModal(int modal) { m_modal = modal ? 1 : 0; }
    const zstring& TemplateName() const { return m_template; }

    // Bindings join the list when made and leave it when destroyed; the
    // dialog deletes those still in it when it goes.
    void Register(ControlBinding* binding);
    void Unregister(ControlBinding* binding);
    // The first binding for control id, or null.
    ControlBinding* BindingById(int id) const;
    // The binding whose control is window, or null.
    ControlBinding* BindingByWindow(HWND window) const;

    // The object bound to a dialog window, or null.
    static DialogBase* FromHandle(HWND window);
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

private:
    static INT_PTR Bind(HWND window, LPARAM object);
    INT_PTR Dispatch(UINT message, WPARAM wparam, LPARAM lparam);
    INT_PTR HandlePaint();
    INT_PTR HandleNotify(WPARAM wparam, LPARAM lparam);
    INT_PTR HandleCommand(WPARAM wparam, LPARAM lparam);
    INT_PTR HandleSysCommand(WPARAM wparam);
    void HandleLeftButtonDown(WPARAM wparam, LPARAM lparam);
    INT_PTR HandleEndRequest(WPARAM wparam);

    std::vector<ControlBinding*> m_controls;  // first registered first
    unsigned m_modal;
    HWND m_window;
    unsigned m_result;
    zstring m_template;
    // 1 from the first end request until the dialog is made again.
    int m_ending;
};
