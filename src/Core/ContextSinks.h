#ifndef MINITOOLBARS_CONTEXTSINKS_H
#define MINITOOLBARS_CONTEXTSINKS_H

#include "MiniToolbars/MTBxItemEvents.h"
#include "MiniToolbars/MTBxToolbarEvents.h"

namespace MiniToolbars {

// Host contexts that the library hands out itself (the action front end) name
// their own sink here. Events of those contexts go to it; every other context
// goes to the sink the host registered. The two never see each other's events,
// whichever of them was installed first.
namespace ContextSinks {
void routeItem(const void* context, MTBxItemEvents* sink);
void routeToolbar(const void* context, MTBxToolbarEvents* sink);
void unroute(const void* context);
MTBxItemEvents* itemSinkFor(const void* context);
MTBxToolbarEvents* toolbarSinkFor(const void* context);
} // namespace ContextSinks

} // namespace MiniToolbars

#endif
