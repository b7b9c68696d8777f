#include "base/drop_info.h"

#include <new>

#include "base/zstring.h"

namespace {

// DragQueryFileA's index that asks for the number of files.
const UINT kCountQuery = 0xFFFFFFFF;

}  // namespace

DropInfo::DropInfo(HDROP drop) : m_count(0), m_x(0), m_y(0), m_drop(drop)
{
    if (!m_drop)
        return;
    // The point is kept even when it lies outside the client area; the
    // window decides what such a drop means.
    POINT point = {0, 0};
    DragQueryPoint(m_drop, &point);
    m_x = point.x;
    m_y = point.y;
    m_count = DragQueryFileA(m_drop, kCountQuery, nullptr, 0);
}

DropInfo::~DropInfo()
{
    if (m_drop)
        DragFinish(m_drop);
}

int DropInfo::FileName(unsigned i, zstring& out)
{
    if (i >= m_count)
        return 0;
    // Asked with no buffer, the shell gives the name's length without its zero.
    const UINT length = DragQueryFileA(m_drop, i, nullptr, 0);
    // A new buffer for each name: names are read one at a time and rarely.
    std::unique_ptr<char[]> names(new (std::nothrow) char[length + 1]);
    if (!names)
        return 0;
    m_names = std::move(names);
    if (DragQueryFileA(m_drop, i, m_names.get(), length + 1) != length)
        return 0;
    try {
        out = m_names.get();
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}
