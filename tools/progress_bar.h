#pragma once

#include <cstdint>
#include <iosfwd>

// A one-line progress bar for long runs on a terminal, redrawn each time
// another percent of the work is done. A disabled bar writes nothing, so
// callers need not test whether anyone is watching.
class ProgressBar {
public:
    // The stream is not owned.
    ProgressBar(std::ostream& out, uint64_t total, bool enabled);

    void advance_to(uint64_t done);
    // Clears the line; the bar shows nothing more.
    void finish();

private:
    void draw(unsigned percent);

    std::ostream& m_out;
    uint64_t m_total;
    unsigned m_percent;
    bool m_enabled;
};

// Whether standard error is a terminal (and not a file or a pipe).
bool standard_error_is_terminal();
