#pragma once

#include <chrono>
#include <cstdint>

#include "db/quote_database.h"
#include "frame/progress_window.h"
#include "frame/window_thread.h"

// The application's database: while it copies a volume (and so while it
// packs one) it shows a progress window, run in a thread of its own so that
// it keeps drawing while this thread is busy copying.
class ProgressQuoteDatabase : public QuoteDatabaseV2 {
public:
    ProgressQuoteDatabase();
    // Ends the progress thread in order: its window is closed from its own
    // thread, and the thread is given a moment to finish.
    ~ProgressQuoteDatabase() override;

    uint32_t copy_to(const zstring& name) override;
    // A search that takes longer than half a second shows the progress
    // window from then on.
    int64_t find_item(uint32_t after, ItemTest& test) override;
    // During a copy, one step of the progress window per entry examined.
    uint32_t is_deleted(const QuoteItem& item) override;

    // -1 before the progress thread started, 1 while a copy runs, 2 while a
    // search runs, else 0.
    int32_t busy() const { return m_busy; }
    const ProgressWindow& progress() const { return m_progress; }

private:
    // Sends the steps counted since the last send: each send waits for a
    // repaint in the other thread, so they go about 60 times a second.
    void SendSteps(bool now);
    void StartProgress(bool wait);
    void ShowProgress();

    int32_t m_busy;
    ProgressWindow m_progress;
    WindowThread m_thread;
    unsigned m_pending;
    std::chrono::steady_clock::time_point m_last_send;
    std::chrono::steady_clock::time_point m_search_start;
    unsigned m_examined;  // items a search has looked at
    bool m_started;  // the progress thread was started
    bool m_shown;
};
