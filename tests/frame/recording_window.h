#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "frame/base_window.h"

// A framework window that counts handler calls, keeps what some got and takes set answers.
class RecordingWindow : public BaseWindow {
public:
    using Hook = std::function<void(RecordingWindow&)>;
    explicit RecordingWindow(const char* name = "FrameTestWindow") : m_name(name) {}

    int Count(const std::string& name) const { return counts.count(name) ? counts.at(name) : 0; }
    int IsDone() override { return done(*this); }

    std::map<std::string, int> counts;
    std::function<int(RecordingWindow&)> done = [](RecordingWindow&) { return 1; };
    COLORREF paint_colour = CLR_INVALID;
    Hook on_created = [](RecordingWindow&) {}, on_tick = on_created, on_destroyed = on_created;
    std::function<void(BuiltInToolBar&)> before_tool_bar = [](BuiltInToolBar&) {};

    HBRUSH class_brush = nullptr;
    HMENU menu = nullptr;
    WindowEvent command;
    std::vector<UINT_PTR> ticks;

protected:
    const char* ResourceName() override { return m_name; }
    void FillClass(WNDCLASSA& window_class) override
    {
        BaseWindow::FillClass(window_class);
        class_brush = window_class.hbrBackground;
        ++counts["FillClass"];
    }
    void FillCreation(WindowSpec& fields) override
    {
        BaseWindow::FillCreation(fields);
        menu = fields.menu;
    }
    void OnTimer(TimerEvent& event) override { ticks.push_back(event.id); on_tick(*this); }
    void OnCreated(WindowEvent&) override { ++counts["OnCreated"]; on_created(*this); }
    void OnDestroyed(WindowEvent& event) override
    {
        BaseWindow::OnDestroyed(event);
        on_destroyed(*this);  // may end the object's life
    }
    int keep_files = 0;    LRESULT OnUserMessage(WindowEvent&) override { return ++counts["OnUserMessage"]; }
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
    void BeforeToolBar(BuiltInToolBar& tool_bar) override { before_tool_bar(tool_bar); }

private:
    const char* m_name;
};
