#include "db/progress_quote_database.h"

namespace {

const std::chrono::milliseconds kSendInterval(16);
const DWORD kWindowWait = 5000;  // milliseconds

}  // namespace

ProgressQuoteDatabase::ProgressQuoteDatabase()
    : m_busy(-1), m_thread(1, 0), m_pending(0)
{
}

// The thread must end before the thread object goes.
ProgressQuoteDatabase::~ProgressQuoteDatabase()
{
    m_progress.CloseFromItsThread();
}

uint32_t ProgressQuoteDatabase::copy_to(const zstring& name)
{
    if (m_busy == -1) {
        // Without the thread the copy still runs, only unseen.
        if (m_thread.Start(&m_progress))
            m_thread.WaitForWindow(kWindowWait);
    }
    m_busy = 1;
    m_progress.Reset();
    m_pending = 0;
    m_last_send = std::chrono::steady_clock::now();
    if (m_progress.Handle())
        ShowWindow(m_progress.Handle(), SW_SHOW);
    if (current_index() != 0)
        select_index(0);
    const uint32_t result = QuoteDatabaseV2::copy_to(name);
    SendSteps(true);
    if (m_progress.Handle())
        ShowWindow(m_progress.Handle(), SW_HIDE);
    m_busy = 0;
    return result;
}

uint32_t ProgressQuoteDatabase::is_deleted(const QuoteItem& item)
{
    if (m_busy == 1) {
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
