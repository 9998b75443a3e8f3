#include "MiniToolbars/MTBxToolbarEventsUtility.h"

namespace MiniToolbars {

namespace {
MTBxToolbarEvents* s_toolbarSink = nullptr;
}

void MTBxToolbarEventsUtility::SetMTBxToolbarEvents(MTBxToolbarEvents* sink)
{
    s_toolbarSink = sink;
}

MTBxToolbarEvents* MTBxToolbarEventsUtility::GetMTBxToolbarEvents()
{
    return s_toolbarSink;
}

} // namespace MiniToolbars
