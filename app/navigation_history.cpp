#include "app/navigation_history.h"

#include <algorithm>

void NavigationHistory::Record(std::uint32_t number)
{
    if (m_top < 0)
        m_top = 0;
    if (m_top == kCapacity) {
        std::copy(m_entries + 1, m_entries + kCapacity, m_entries);
        --m_top;
    }
    m_entries[m_top++] = number;
}

int NavigationHistory::StepBack(std::uint32_t on_show, std::uint32_t& candidate)
{
    if (m_top == -1)
        return 0;
    --m_top;
    if (m_top < 0) {
        m_top = -1;
        return 0;
    }
    candidate = m_entries[m_top];
    if (candidate == on_show) {
        // The newest entry is the item on show: go one further back. When
        // that was the only entry the history is left empty.
        if (--m_top < 0) {
            m_top = -1;
            return 0;
        }
        candidate = m_entries[m_top];
    }
    return 1;
}
