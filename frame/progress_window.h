#pragma once

#include <windows.h>

#include <atomic>

#include "base/zstring.h"
#include "frame/base_window.h"

// The small square window that shows long work going on: a running count
// of steps and a point that runs clockwise round the client area's border,
// one pixel per step, with no known total.
class ProgressWindow : public BaseWindow {
    // A step may come from another thread than the window's: the count is
    // raised there and the repaint command sent, which waits until the
    // window's thread has drawn it.
public:
    // The command that step sends to repaint the window.
    static constexpr WORD kRepaintCommand = 1221;

    ProgressWindow();
    // A window that another thread made is closed by that thread first.
    ~ProgressWindow() override;

    // Count 0, laps -1; nothing is drawn.
    void Reset();
    // Adds steps to the count and repaints the window before returning.
    void Step(unsigned steps);
    // The count as four or more digits: "0401".
    zstring Text() const;

    // Draws the whole picture for the current count into dc, whose client
    // area is client, and sets laps; a test can paint into a memory DC.
    void Draw(HDC dc, const RECT& client);

    // Closes a window that lives in another thread from that thread, and
    // waits (still answering messages sent here) until the thread has
    // ended; the destructor does the same.
    void CloseFromItsThread();

    unsigned Count() const { return m_count; }
    // 1 only when the last paint found the count a whole number of laps,
    // 0 otherwise, -1 before the first paint after a reset.
    int Laps() const { return m_laps; }

protected:
    void FillCreation(WindowSpec& fields) override;
    int OnCommand(WindowEvent& event) override;
    void OnPaint(PaintRecord& paint) override;

public:
    void DefaultRect(WindowRect& rect) override;
    const char* ResourceName() override;

private:
    // Where the point stands on the border, and the colour of that leg.
    struct BorderPoint {
        POINT at;
        COLORREF colour;
    };
    static BorderPoint PointOnBorder(const RECT& client, unsigned position);
    void Repaint();
    void DrawCount(HDC dc, const RECT& client, COLORREF background);

    std::atomic<int> m_laps;
    std::atomic<unsigned> m_count;
};
