#include "frame/window_descriptor.h"

#include <istream>
#include <ostream>

static_assert(sizeof(WINDOWPLACEMENT) == kPlacementLength, "placement record size");

WindowSpec::WindowSpec()
    : window(nullptr), placement(), ex_style(0), style(0), parent(nullptr), menu(nullptr),
      show_command(SW_SHOW)
{
}

std::ostream& WritePlacementRecord(std::ostream& out, const WINDOWPLACEMENT& placement)
{
    const WINDOWPLACEMENT& p = placement;
    out << p.length << ' ' << p.flags << ' ' << p.showCmd << ' ';
    out << p.ptMinPosition.x << ' ' << p.ptMinPosition.y << ' ';
    out << p.ptMaxPosition.x << ' ' << p.ptMaxPosition.y << ' ';
    out << p.rcNormalPosition.left << ' ' << p.rcNormalPosition.top << ' ';
    out << p.rcNormalPosition.right << ' ' << p.rcNormalPosition.bottom << ' ';
    return out;
}

int ReadPlacementRecord(std::istream& in, WINDOWPLACEMENT& placement)
{
    if (!in.good() || in.peek() == std::char_traits<char>::eof())
        return 0;
    // Read into a copy, so that a record cut short changes nothing.
    WINDOWPLACEMENT p = placement;
    in >> p.length >> p.flags >> p.showCmd;
    in >> p.ptMinPosition.x >> p.ptMinPosition.y;
    in >> p.ptMaxPosition.x >> p.ptMaxPosition.y;
    in >> p.rcNormalPosition.left >> p.rcNormalPosition.top;
    in >> p.rcNormalPosition.right >> p.rcNormalPosition.bottom;
    if (in.fail())
        return 0;
    placement = p;
    return 1;
}
