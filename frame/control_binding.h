#pragma once

#include <windows.h>

#include <cstddef>

class DialogBase;
class zstring;

// The link between a dialog object and one of its controls, found by the
// control's id. A binding registers with its dialog when made and leaves
// it when destroyed. The virtual operations keep a fixed slot order.
class ControlBinding {
public:
    // A binding without a dialog; its id is -1.
    ControlBinding();
    ControlBinding(DialogBase* owner, int id);
    ControlBinding(const ControlBinding&) = delete;
    ControlBinding& operator=(const ControlBinding&) = delete;

    // Slots 0-11: notifications of the control and the dialog.
    virtual void OnCommand(WPARAM wparam, LPARAM lparam);
    // Routes the common notification codes to the handlers below and
    // returns the handler's result; other codes are returned as they are.
    virtual LRESULT OnNotify(HWND from, UINT_PTR id, int code);
    virtual LRESULT OnClick();
    virtual LRESULT OnDoubleClick();
    virtual LRESULT OnKillFocus();
    virtual LRESULT OnOutOfMemory();
    virtual LRESULT OnRightClick();
    virtual LRESULT OnRightDoubleClick();
    virtual LRESULT OnReturn();
    virtual LRESULT OnSetFocus();
    // Called for every binding once the dialog window is initialised.
    virtual void Attach(DialogBase* dialog);
    virtual void OnLeftButtonDown(WPARAM wparam, LPARAM lparam);
    virtual ~ControlBinding();

    // Slots 13-20: the control's value. Each returns 1 when it did its work.
    virtual int GetValue(int& value);
    // Copies the text into buffer, of size bytes with the terminator.
    virtual int GetText(char* buffer, size_t size);
    virtual int SetValue(int value);
    virtual int SetText(const char* text);
    virtual int Clear();
    virtual int Reserved();
    virtual int ReservedA(int value);
    virtual int ReservedB(int value);

    DialogBase* Owner() const { return m_owner; }
    int Id() const { return m_id; }
    // The control's window, or null while the dialog has none.
    HWND Control() const;

private:
    DialogBase* m_owner;  // not owned
    int m_id;
};

// A check box or radio button.
class CheckBinding : public ControlBinding {
public:
    CheckBinding(DialogBase* owner, int id);

    // Dispatches the button notification codes to the six handlers below.
    void OnCommand(WPARAM wparam, LPARAM lparam) override;
    // The check state: 0 unchecked, 1 checked, 2 indeterminate.
    int GetValue(int& value) override;
    // "0", "1", or "?" for any other state.
    int GetText(char* buffer, size_t size) override;
    // The first character decides: '0' unchecked, '1' checked, anything
    // else indeterminate. An empty text is refused and changes nothing.
    int SetText(const char* text) override;
    int Clear() override;

    // Slots 21-27.
    virtual void OnClicked();
    virtual void OnButtonPaint();
    virtual void OnDisabled();
    virtual void OnDoubleClicked();
    virtual void OnFocusGained();
    virtual void OnFocusLost();
    virtual int SetCheck(int state);
};

// An edit control.
class EditBinding : public ControlBinding {
public:
    EditBinding(DialogBase* owner, int id);

    // Dispatches the edit notification codes to the eight handlers below.
    void OnCommand(WPARAM wparam, LPARAM lparam) override;
    // The signed decimal number the text starts with (white space first
    // skipped), 0 when there is none; at most 131 characters are read.
    int GetValue(int& value) override;
    int GetText(char* buffer, size_t size) override;
    // Replaces the whole text, however long; 0 when the control kept less
    // than all of it or there is no control.
    int SetText(const char* text) override;
    int Clear() override;
    int Reserved() override;

    // Slots 21-30.
    virtual void OnFocusGained();
    virtual void OnFocusLost();
    virtual void OnChange();
    virtual void OnUpdate();
    virtual void OnOutOfSpace();
    virtual void OnMaxText();
    virtual void OnHorizontalScroll();
    virtual void OnVerticalScroll();
    // The whole text, however long.
    virtual int GetString(zstring& text);
    virtual int SetNumber(int n);

private:
    // The control's text length, or -1 when it cannot be asked.
    LRESULT TextLength() const;
};
