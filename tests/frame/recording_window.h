#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/drop_info.h"
#include "frame/base_window.h"

// A framework window for tests that counts its handler calls, keeps what some of them got
// and lets a test change its creation values and answers.
class RecordingWindow : public BaseWindow {
public:
    explicit RecordingWindow(const char* name = "FrameTestWindow") : m_name(name) {}
    ~RecordingWindow() override { delete kept_files; }

    int Count(const std::string& name) const { return counts.count(name) ? counts.at(name) : 0; }
    // FillClass calls per class name, across all windows of the process.
    static std::map<std::string, int>& ClassFills()
    {
        static std::map<std::string, int> fills;
        return fills;
    }
    int IsDone() override { return done ? done(*this) : is_done; }

    std::map<std::string, int> counts;
    DWORD style = 0;      // replaces the creation style when nonzero
    int break_class = 0;  // 1 makes the class registration fail
    int is_done = 1;
    std::function<int(RecordingWindow&)> done;  // replaces is_done when set
    int instance_reply = 0;
    LRESULT user_result = 0;
    int keep_files = 0;
    COLORREF paint_colour = CLR_INVALID;
    std::function<void(RecordingWindow&)> on_created = [](RecordingWindow&) {};
    std::function<void(RecordingWindow&)> on_tick = [](RecordingWindow&) {};
    std::function<void(BuiltInToolBar&)> before_tool_bar = [](BuiltInToolBar&) {};

    HBRUSH class_brush = nullptr;
    HMENU menu = nullptr;
    HitTestEvent hit;
    std::vector<ScrollRecord> scrolls;
    WindowEvent command;
    std::vector<UINT_PTR> ticks;
    DropInfo* kept_files = nullptr;

protected:
    const char* ResourceName() override { return m_name; }
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
    void OnTimer(TimerEvent& event) override { ticks.push_back(event.id); on_tick(*this); }
    void OnCreated(WindowEvent&) override { ++counts["OnCreated"]; on_created(*this); }
    void OnDestroyed(WindowEvent& event) override
    {
        ++counts["OnDestroyed"];
        BaseWindow::OnDestroyed(event);
    }
    void OnHitTest(HitTestEvent& event) override { hit = event; }
    void OnInstanceQuery(InstanceQueryEvent& event) override { event.reply = instance_reply; }
    LRESULT OnUserMessage(WindowEvent&) override { ++counts["OnUserMessage"]; return user_result; }
    int OnCommand(WindowEvent& event) override { ++counts["OnCommand"]; command = event; return 1; }
    void OnPaint(PaintRecord& record) override
    {
        ++counts["OnPaint"];
        RECT client = {};
        GetClientRect(record.window, &client);
        SetDCBrushColor(record.dc, paint_colour);
        if (paint_colour != CLR_INVALID)
            FillRect(record.dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    void OnMouseButton(ButtonRecord&) override { ++counts["OnMouseButton"]; }
    void OnScroll(ScrollRecord& record) override { scrolls.push_back(record); }
    int OnFilesDropped(DropInfo* files) override
    {
        ++counts["OnFilesDropped"];
        if (keep_files)
            kept_files = files;
        return keep_files;
    }
    void BeforeToolBar(BuiltInToolBar& tool_bar) override { before_tool_bar(tool_bar); }

private:
    const char* m_name;
};
