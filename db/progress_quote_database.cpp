#include "db/progress_quote_database.h"

namespace {

const std::chrono::milliseconds kSendInterval(16);
const DWORD kWindowWait = 5000;  // milliseconds
// A search shorter than this shows no window.
const std::chrono::milliseconds kSearchQuiet(500);
const unsigned kClockEvery = 4096;

}  // namespace

ProgressQuoteDatabase::ProgressQuoteDatabase()
    : m_busy(-1), m_thread(1, 0), m_pending(0), m_examined(0), m_started(false), m_shown(false)
{
}

// The thread must end before the thread object goes.
ProgressQuoteDatabase::~ProgressQuoteDatabase()
{
    m_progress.CloseFromItsThread();
}

// A copy waits for the window to be made; a search goes on meanwhile and
// shows it once it is there.
void ProgressQuoteDatabase::StartProgress(bool wait)
{
    if (!m_started) {
        m_started = true;
        // Without the thread the work still runs, only unseen.
        if (m_thread.Start(&m_progress) && wait)
            m_thread.WaitForWindow(kWindowWait);
    }
    ShowProgress();
}

void ProgressQuoteDatabase::ShowProgress()
{
    if (!m_progress.Handle())
        return;
    m_progress.Reset();
    m_pending = 0;
    m_last_send = std::chrono::steady_clock::now();
    ShowWindow(m_progress.Handle(), SW_SHOW);
    m_shown = true;
}

uint32_t ProgressQuoteDatabase::copy_to(const zstring& name)
{
    StartProgress(true);
    m_busy = 1;
    if (current_index() != 0)
        select_index(0);
    const uint32_t result = QuoteDatabaseV2::copy_to(name);
    SendSteps(true);
    if (m_progress.Handle())
        ShowWindow(m_progress.Handle(), SW_HIDE);
    m_shown = false;
    m_busy = 0;
    return result;
}

int64_t ProgressQuoteDatabase::find_item(uint32_t after, ItemTest& test)
{
    m_busy = 2;
    m_shown = false;
    m_examined = 0;
    m_search_start = std::chrono::steady_clock::now();
    const int64_t found = QuoteDatabaseV2::find_item(after, test);
    if (m_shown) {
        SendSteps(true);
        if (m_progress.Handle())
            ShowWindow(m_progress.Handle(), SW_HIDE);
        m_shown = false;
    }
    m_busy = m_started ? 0 : -1;
    return found;
}

uint32_t ProgressQuoteDatabase::is_deleted(const QuoteItem& item)
{
    // The clock is read once every few thousand items.
    if (m_busy == 2 && !m_shown && ++m_examined % kClockEvery == 0 &&
        std::chrono::steady_clock::now() - m_search_start > kSearchQuiet)
        StartProgress(false);
    if (m_busy == 1 || (m_busy == 2 && m_shown)) {
        ++m_pending;
        SendSteps(false);
    }
    return QuoteDatabaseV2::is_deleted(item);
}

void ProgressQuoteDatabase::SendSteps(bool now)
{
    const auto time = std::chrono::steady_clock::now();
    if (!now && time - m_last_send < kSendInterval)
        return;
    m_progress.Step(m_pending);
    m_pending = 0;
    m_last_send = time;
}
