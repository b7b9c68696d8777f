#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/drop_info.h"
#include "frame/base_window.h"

// A framework window that counts handler calls, keeps what some got and takes set answers.
class RecordingWindow : public BaseWindow {
public:
    using Hook = std::function<void(RecordingWindow&)>;
    explicit RecordingWindow(const char* name = "FrameTestWindow") : m_name(name) {}
    ~RecordingWindow() override { delete kept_files; }

    int Count(const std::string& name) const { return counts.count(name) ? counts.at(name) : 0; }
    int IsDone() override { return done(*this); }

    std::map<std::string, int> counts;
    DWORD style = 0;      // replaces the creation style when nonzero
    int break_class = 0;  // 1 makes the class registration fail
    std::function<int(RecordingWindow&)> done = [](RecordingWindow&) { return 1; };
    int instance_reply = 0, keep_files = 0;
    COLORREF paint_colour = CLR_INVALID;
    Hook on_created = [](RecordingWindow&) {}, on_tick = on_created, on_destroyed = on_created;
    std::function<void(BuiltInToolBar&)> before_tool_bar = [](BuiltInToolBar&) {};

    HBRUSH class_brush = nullptr;
    HMENU menu = nullptr;
    HitTestEvent hit;
    std::vector<int> scroll_codes;
    WindowEvent command;
    std::vector<UINT_PTR> ticks;
    DropInfo* kept_files = nullptr;

protected:
    const char* ResourceName() override { return m_name; }
    void FillClass(WNDCLASSA& window_class) override
    {
        BaseWindow::FillClass(window_class);
        class_brush = window_class.hbrBackground;
        ++counts["FillClass"];
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
        BaseWindow::OnDestroyed(event);
        on_destroyed(*this);  // may end the object's life
    }
    void OnHitTest(HitTestEvent& event) override { hit = event; }
    void OnInstanceQuery(InstanceQueryEvent& event) override { event.reply = instance_reply; }
    LRESULT OnUserMessage(WindowEvent&) override { return ++counts["OnUserMessage"]; }
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
    void OnScroll(ScrollRecord& record) override { scroll_codes.push_back(record.code); }
    int OnFilesDropped(DropInfo* files) override
    {
        ++counts["OnFilesDropped"];
        kept_files = keep_files ? files : nullptr;
        return keep_files;
    }
    void BeforeToolBar(BuiltInToolBar& tool_bar) override { before_tool_bar(tool_bar); }

private:
    const char* m_name;
};
