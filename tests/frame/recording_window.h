#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/drop_info.h"
#include "frame/base_window.h"

// A framework window for tests that notes which handlers ran with what.
class RecordingWindow : public BaseWindow {
    // It keeps the last record each handler got and lets a test change its
    // creation values and answers; otherwise it behaves as BaseWindow does.
public:
    explicit RecordingWindow(const char* name = "FrameTestWindow") : m_name(name) {}
    ~RecordingWindow() override { delete kept_files; }

    int Count(const std::string& handler) const
    {
        auto found = counts.find(handler);
        return found == counts.end() ? 0 : found->second;
    }

    std::map<std::string, int> counts;
    // FillClass calls per class name, across all windows of the process.
    static std::map<std::string, int>& ClassFills()
    {
        static std::map<std::string, int> fills;
        return fills;
    }

    // What the test can change.
    DWORD style = 0;          // replaces the creation style when nonzero
    int break_class = 0;      // 1 makes the class registration fail
    int is_done = 1;
    std::function<int(RecordingWindow&)> done;  // replaces is_done when set
    int instance_reply = 0;
    LRESULT user_result = 0;
    int command_result = 1;
    int keep_files = 0;
    WindowRect default_rect = {10, 10, 400, 200};
    COLORREF paint_colour = CLR_INVALID;  // OnPaint fills the client area with it
    std::function<void(RecordingWindow&)> on_created;
    std::function<void(RecordingWindow&)> on_destroyed;
    std::function<void(RecordingWindow&, BuiltInToolBar&)> before_tool_bar;

    // What the handlers saw.
    HBRUSH class_brush = nullptr;
    HMENU menu = nullptr;
    SizeEvent size;
    MoveEvent move;
    TimerEvent timer;
    HitTestEvent hit;
    PositionEvent position;
    KeyRecord key_down;
    KeyRecord key_up;
    MouseMoveRecord mouse;
    ButtonRecord button;
    std::vector<ScrollRecord> scrolls;
    PaintRecord paint;
    RECT paint_clip = {};
    WindowEvent command;
    WindowEvent private_message;
    WindowEvent user_message;
    std::vector<UINT_PTR> ticks;
    DropInfo* kept_files = nullptr;
    unsigned dropped_count = 0;

    using BaseWindow::ClaimLoop;

protected:
    const char* ResourceName() override { return m_name; }
    void DefaultRect(WindowRect& rect) override { rect = default_rect; }

    void FillClass(WNDCLASSA& window_class) override
    {
        BaseWindow::FillClass(window_class);
        class_brush = window_class.hbrBackground;
        ++ClassFills()[m_name];
        if (break_class)
            window_class.cbWndExtra = -1;
    }
    void FillCreation(WindowSpec& fields) override
    {
        BaseWindow::FillCreation(fields);
        menu = fields.menu;
        if (style)
            fields.style = style;
    }
    void OnTimer(TimerEvent& event) override
    {
        Note("OnTimer");
        timer = event;
        ticks.push_back(event.id);
    }
    void OnMinimized(SizeEvent& event) override { Note("OnMinimized"); size = event; }
    void OnMaximized(SizeEvent& event) override { Note("OnMaximized"); size = event; }
    void OnSized(SizeEvent& event) override { Note("OnSized"); size = event; }
    void OnMoved(MoveEvent& event) override { Note("OnMoved"); move = event; }
    void OnCreated(WindowEvent&) override
    {
        Note("OnCreated");
        if (on_created)
            on_created(*this);
    }
    void OnDestroyed(WindowEvent& event) override
    {
        Note("OnDestroyed");
        if (on_destroyed)
            on_destroyed(*this);
        BaseWindow::OnDestroyed(event);
    }
    void OnPositionChanging(PositionEvent& event) override
    {
        Note("OnPositionChanging");
        position = event;
    }
    void OnHitTest(HitTestEvent& event) override { Note("OnHitTest"); hit = event; }
    void OnInstanceQuery(InstanceQueryEvent& event) override
    {
        Note("OnInstanceQuery");
        event.reply = instance_reply;
    }
    void OnKeyDown(KeyRecord& key) override
    {
        Note("OnKeyDown");
        key_down = key;
        BaseWindow::OnKeyDown(key);
    }
    int OnKeyUp(KeyRecord& key) override
    {
        Note("OnKeyUp");
        key_up = key;
        return 0;
    }
    void OnPrivateMessage(WindowEvent& event) override
    {
        Note("OnPrivateMessage");
        private_message = event;
    }
    LRESULT OnUserMessage(WindowEvent& event) override
    {
        Note("OnUserMessage");
        user_message = event;
        return user_result;
    }
    int OnCommand(WindowEvent& event) override
    {
        Note("OnCommand");
        command = event;
        return command_result;
    }
    void OnPaint(PaintRecord& record) override
    {
        Note("OnPaint");
        paint = record;
        GetClipBox(record.dc, &paint_clip);
        if (paint_colour != CLR_INVALID) {
            RECT client = {};
            GetClientRect(record.window, &client);
            HBRUSH brush = CreateSolidBrush(paint_colour);
            FillRect(record.dc, &client, brush);
            DeleteObject(brush);
        }
    }
    void OnMouseMove(MouseMoveRecord& record) override { Note("OnMouseMove"); mouse = record; }
    void OnMouseButton(ButtonRecord& record) override { Note("OnMouseButton"); button = record; }
    void OnScroll(ScrollRecord& record) override
    {
        Note("OnScroll");
        scrolls.push_back(record);
    }
    int OnFilesDropped(DropInfo* files) override
    {
        Note("OnFilesDropped");
        dropped_count = files->Count();
        if (keep_files)
            kept_files = files;
        return keep_files;
    }
    void BeforeToolBar(BuiltInToolBar& tool_bar) override
    {
        if (before_tool_bar)
            before_tool_bar(*this, tool_bar);
    }

public:
    int IsDone() override
    {
        Note("IsDone");
        return done ? done(*this) : is_done;
    }

private:
    void Note(const char* handler) { ++counts[handler]; }

    const char* m_name;
};
