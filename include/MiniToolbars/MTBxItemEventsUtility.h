#ifndef MINITOOLBARS_MTBXITEMEVENTSUTILITY_H
#define MINITOOLBARS_MTBXITEMEVENTSUTILITY_H

#include "MTBxItemEvents.h"

namespace MiniToolbars {

/// The process-wide item sink. The library never deletes it. GUI thread only.
/// \ingroup events
class MINITOOLBARS_EXPORT MTBxItemEventsUtility
{
public:
    /// Installs sink (not owned; null removes it). Events go to the sink set
    /// when they happen.
    static void SetMTBxItemEvents(MTBxItemEvents* sink);
    /// The sink last set, null initially.
    static MTBxItemEvents* GetMTBxItemEvents();
};

} // namespace MiniToolbars

#endif
