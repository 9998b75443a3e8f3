#include "Core/LiveToolbars.h"

#include <unordered_set>

namespace MiniToolbars {

namespace {

std::unordered_set<const MiniToolbar*>& toolbars()
{
    static std::unordered_set<const MiniToolbar*> live;
    return live;
}

} // namespace

void LiveToolbars::add(const MiniToolbar* toolbar)
{
    toolbars().insert(toolbar);
}

void LiveToolbars::remove(const MiniToolbar* toolbar)
{
    toolbars().erase(toolbar);
}

bool LiveToolbars::contains(const MiniToolbar* toolbar)
{
    return toolbar && toolbars().count(toolbar) != 0;
}

} // namespace MiniToolbars
