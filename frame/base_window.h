#pragma once

#include <windows.h>

#include <iosfwd>
#include <memory>

#include "base/zstring.h"
#include "frame/builtin_toolbar.h"
#include "frame/window_events.h"
#include "frame/window_descriptor.h"

class DropInfo;
class WindowThread;

// Where and how large a window opens when no saved placement is pending.
struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The framework's window: one object per Win32 window, with one virtual
// handler per kind of message.
class BaseWindow {
    // The object is bound to its window through the creation parameters and
    // the user data word; the one window procedure unpacks each message and
    // calls the handler. The virtual operations keep a fixed slot order,
    // which derived windows follow.
protected:
    // Slots 0-3: the window class and the creation values. ReleaseClass
    // runs when the class is unregistered, which the base destructor does
    // with the base ReleaseClass; a window that overrides ReleaseClass
    // calls UnregisterWindowClass in its own destructor.
    virtual void FillClass(WNDCLASSA& window_class);
    virtual void ReleaseClass(WNDCLASSA& window_class);
    virtual void FillCreation(WindowSpec& fields);

public:
    // Never asked by the framework.
    virtual int SpareQuery();

protected:
    // Slots 4-28: the message handlers.
    virtual void OnTimer(TimerEvent& event);
    virtual void OnMinimized(SizeEvent& event);
    virtual void OnMaximized(SizeEvent& event);
    virtual void OnSized(SizeEvent& event);
    virtual void OnMoved(MoveEvent& event);
    // Runs once the creation call has returned, from the posted WM_USER+9.
    // This handler and OnDestroyed may delete their own object.
    virtual void OnCreated(WindowEvent& event);
    virtual void OnDestroyed(WindowEvent& event);
    virtual void OnPositionChanging(PositionEvent& event);
    virtual void OnHitTest(HitTestEvent& event);
    virtual void OnFocus(WindowEvent& event);
    virtual void OnFocusLost(WindowEvent& event);
    virtual void OnInstanceQuery(InstanceQueryEvent& event);
    virtual void OnKeyDown(KeyRecord& key);
    virtual void OnPrivateMessage(WindowEvent& event);
    virtual LRESULT OnUserMessage(WindowEvent& event);
    // Nonzero when the command was handled.
    virtual int OnCommand(WindowEvent& event);
    // Draws through the record's device context for the whole window,
    // outside BeginPaint/EndPaint.
    virtual void OnPaint(PaintRecord& paint);
    virtual void OnMouseMove(MouseMoveRecord& mouse);
    virtual void OnMouseButton(ButtonRecord& button);
    virtual void OnScroll(ScrollRecord& scroll);
    // Nonzero when the handler keeps files (and deletes it later); on 0 the
    // framework deletes it.
    virtual int OnFilesDropped(DropInfo* files);
    virtual int OnKeyUp(KeyRecord& key);
    virtual void OnDrawItem(WindowEvent& event);
    virtual void BeforeToolBar(BuiltInToolBar& tool_bar);
    virtual void AfterToolBar(BuiltInToolBar& tool_bar);

public:
    BaseWindow();
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    // Slots 29-42.
    // Destroys a window that still exists and unregisters the class this
    // object registered.
    virtual ~BaseWindow();
    // Claims the message loop and starts thread with this window; the start
    // result, or -1 when the loop was already claimed.
    virtual int BecomeMain(WindowThread* thread, const WindowSpec& descriptor);
    // Reads a placement record (pending until the window exists), then
    // Create(parent).
    virtual int ReadStateAndCreate(std::istream& in, HWND parent);
    // Registers the class, then creates the window; 1 on success, 0 when
    // it cannot be made or this object's window still exists.
    virtual int Create(HWND parent);
    // Claims the loop, creates the window and runs the process's message
    // loop; the quit message's code, or -1.
    virtual int Run(const WindowSpec& descriptor);
    // The modal loop's stop test.
    virtual int IsDone();
    virtual int Destroy();
    // Runs the window as the main window in a thread of its own.
    virtual int RunInThread(int priority);
    virtual int Close();
    virtual int Spare(int value);
    virtual void DefaultRect(WindowRect& rect);
    virtual COLORREF BackgroundColour();
    // The class name, and the name of the window's menu, icon and cursor.
    virtual const char* ResourceName();
    virtual const char* CaptionText(int number);
    // Data another program sent with WM_COPYDATA; 1 when it was taken. The
    // data lives only during the call.
    virtual int OnCopyData(const COPYDATASTRUCT& data);

    // Creates and shows the window and serves only its messages until
    // IsDone; 1, or 0 when the window cannot be made. It takes the mouse
    // capture from whoever holds it, so that its window gets the clicks.
    int RunModal();
    // Registers the class once per class name per process; always 1.
    int RegisterWindowClass();

    // Placement: save takes the live window's placement; apply sets it and
    // ends a pending placement; the stream forms are the text record.
    int SavePlacement();
    int ApplyPlacement();
    std::ostream& WritePlacement(std::ostream& out);
    // 1 when a record was read: applied at once when the window exists,
    // otherwise pending until creation.
    int ReadPlacement(std::istream& in);

    void AcceptDroppedFiles();
    // The timer's id, or 0 when the window does not exist.
    UINT_PTR StartTimer(UINT_PTR id, UINT period);
    int StopTimer(UINT_PTR id);

    HWND Handle() const { return m_descriptor.window; }
    WindowSpec& Descriptor() { return m_descriptor; }
    const WindowSpec& Descriptor() const { return m_descriptor; }
    BuiltInToolBar& ToolBar() { return m_tool_bar; }
    WindowThread* Thread() const { return m_thread.get(); }
    const zstring& ClassName() const { return m_class_name; }
    ATOM ClassAtom() const { return m_class_atom; }
    int IsMain() const { return m_main; }
    int PlacementPending() const { return m_placement_pending; }
    unsigned SerialNumber() const { return m_serial; }
    const WindowRect& Rect() const { return m_rect; }
    const KeyRecord& Key() const { return m_key; }

    // The object bound to a window, or null.
    static BaseWindow* FromHandle(HWND window);
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    // The framework's private messages.
    static constexpr UINT kCreatedMessage = WM_USER + 9;
    static constexpr UINT kPrivateMessage = WM_USER + 126;
    static constexpr UINT kPaintMessage = WM_USER + 127;

protected:
    // The one-loop rule shared by Run and BecomeMain: 1 when this window
    // claimed the loop and took the descriptor; 0 after the refusal box.
    int ClaimLoop(const WindowSpec& descriptor);
    int CreateWindowWith(const char* caption, HWND parent);
    // Unregisters the class this object registered or found, once no
    // window of it is left, and then calls ReleaseClass; 1 when it went.
    int UnregisterWindowClass();

private:
    // One per message being handled for this object, on the stack, linked
    // innermost first. The destructor marks them all, so that a handler may
    // delete its own object: once it returns, nothing more of the object
    // is touched.
    struct Dispatching {
        Dispatching(BaseWindow& window, UINT message);
        ~Dispatching();
        Dispatching(const Dispatching&) = delete;
        Dispatching& operator=(const Dispatching&) = delete;

        BaseWindow& window;  // not to be used once deleted is set
        Dispatching* outer;
        UINT message;
        int deleted;
    };

    static LRESULT BindOnCreate(HWND window, LPARAM lparam);
    LRESULT Dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    template <class Result>
    Result Call(Result (BaseWindow::*handler)(WindowEvent&), const WindowEvent& event);
    void HandleCreated(const WindowEvent& event, const Dispatching& dispatch);
    void HandlePaint(const WindowEvent& event, const Dispatching& dispatch);
    void HandleMove(const WindowEvent& event);
    void HandleSize(const WindowEvent& event);
    void HandlePositionChanging(const WindowEvent& event);
    void HandleKey(const WindowEvent& event);
    void HandleTimer(const WindowEvent& event);
    LRESULT HandleDestroy(const WindowEvent& event, const Dispatching& dispatch);
    LRESULT HandleScroll(const WindowEvent& event, const Dispatching& dispatch);
    LRESULT HandleHitTest(const WindowEvent& event);
    LRESULT HandleDroppedFiles(const WindowEvent& event);
    void HandleMouse(const WindowEvent& event);
    void HandleToolTip(const WindowEvent& event);
    LRESULT HandleUserRange(const WindowEvent& event);
    void CopyDescriptor(const WindowSpec& descriptor);
    void ForgetClassAtom();

    WindowRect m_rect;
    KeyRecord m_key;
    MouseMoveRecord m_mouse_move;
    ButtonRecord m_button;
    ScrollRecord m_scroll;
    PaintRecord m_paint;
    PAINTSTRUCT m_paint_struct;
    WindowSpec m_descriptor;
    std::unique_ptr<WindowThread> m_thread;
    zstring m_class_name;
    int m_placement_pending;
    int m_main;
    ATOM m_class_atom;
    // 1 when m_class_atom is this object's entry in the local atom table,
    // which the destructor gives back; atoms of the class table or the
    // global table are not ours to delete.
    int m_class_atom_local;
    BuiltInToolBar m_tool_bar;
    unsigned m_serial;
    // The innermost message being handled for this object, or null.
    Dispatching* m_dispatching;
};
