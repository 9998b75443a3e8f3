#ifndef MINITOOLBARS_MTBXTOOLBAREVENTSUTILITY_H
#define MINITOOLBARS_MTBXTOOLBAREVENTSUTILITY_H

#include "MTBxToolbarEvents.h"

namespace MiniToolbars {

/// The process-wide toolbar sink. The library never deletes it. GUI thread only.
/// \ingroup events
class MINITOOLBARS_EXPORT MTBxToolbarEventsUtility
{
public:
    /// Installs sink (not owned; null removes it). Events go to the sink set
    /// when they happen.
    static void SetMTBxToolbarEvents(MTBxToolbarEvents* sink);
    /// The sink last set, null initially.
    static MTBxToolbarEvents* GetMTBxToolbarEvents();
};

} // namespace MiniToolbars

#endif
