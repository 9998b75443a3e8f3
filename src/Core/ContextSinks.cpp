#include "Core/ContextSinks.h"

#include "MiniToolbars/MTBxItemEventsUtility.h"
#include "MiniToolbars/MTBxToolbarEventsUtility.h"

#include <unordered_map>

namespace MiniToolbars {
namespace ContextSinks {

namespace {

struct Route
{
    MTBxItemEvents* item = nullptr;
    MTBxToolbarEvents* toolbar = nullptr;
};

std::unordered_map<const void*, Route>& routes()
{
    static std::unordered_map<const void*, Route> s_routes;
    return s_routes;
}

const Route* find(const void* context)
{
    const auto found = routes().find(context);
    return found == routes().end() ? nullptr : &found->second;
}

} // namespace

void routeItem(const void* context, MTBxItemEvents* sink)
{
    routes()[context].item = sink;
}

void routeToolbar(const void* context, MTBxToolbarEvents* sink)
{
    routes()[context].toolbar = sink;
}

void unroute(const void* context)
{
    routes().erase(context);
}

MTBxItemEvents* itemSinkFor(const void* context)
{
    if (const Route* route = find(context))
        return route->item;
    return MTBxItemEventsUtility::GetMTBxItemEvents();
}

MTBxToolbarEvents* toolbarSinkFor(const void* context)
{
    if (const Route* route = find(context))
        return route->toolbar;
    return MTBxToolbarEventsUtility::GetMTBxToolbarEvents();
}

} // namespace ContextSinks
} // namespace MiniToolbars
