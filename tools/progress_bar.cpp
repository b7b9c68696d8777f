#include "tools/progress_bar.h"

#include <cstdio>
#include <ostream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

const unsigned kBarWidth = 40;

}  // namespace

ProgressBar::ProgressBar(std::ostream& out, uint64_t total, bool enabled)
    : m_out(out), m_total(total), m_percent(0), m_enabled(enabled && total > 0)
{
    if (m_enabled)
        draw(0);
}

void ProgressBar::advance_to(uint64_t done)
{
    if (!m_enabled)
        return;
    const unsigned percent = static_cast<unsigned>(done >= m_total ? 100 : done * 100 / m_total);
    if (percent != m_percent)
        draw(percent);
}

void ProgressBar::finish()
{
    if (!m_enabled)
        return;
    m_out << '\r' << std::string(kBarWidth + 8, ' ') << '\r' << std::flush;
    m_enabled = false;
}

void ProgressBar::draw(unsigned percent)
{
    m_percent = percent;
    const unsigned filled = percent * kBarWidth / 100;
    m_out << "\r[" << std::string(filled, '#') << std::string(kBarWidth - filled, ' ') << "] "
          << percent << '%' << std::flush;
}

bool standard_error_is_terminal()
{
#ifdef _WIN32
    // A console, not any character device: the runtime's isatty is also
    // true for NUL, and a bar drawn there a hundred times is slow to draw.
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}
