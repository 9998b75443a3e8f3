#include "MiniToolbars/MTBxItemEventsUtility.h"

namespace MiniToolbars {

namespace {
MTBxItemEvents* s_itemSink = nullptr;
}

void MTBxItemEventsUtility::SetMTBxItemEvents(MTBxItemEvents* sink)
{
    s_itemSink = sink;
}

MTBxItemEvents* MTBxItemEventsUtility::GetMTBxItemEvents()
{
    return s_itemSink;
}

} // namespace MiniToolbars
