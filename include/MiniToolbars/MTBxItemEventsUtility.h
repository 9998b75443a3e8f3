#ifndef MINITOOLBARS_MTBXITEMEVENTSUTILITY_H
#define MINITOOLBARS_MTBXITEMEVENTSUTILITY_H

#include "MTBxItemEvents.h"

namespace MiniToolbars {

/// The process-wide item sink. The library never deletes it.
class MINITOOLBARS_EXPORT MTBxItemEventsUtility
{
public:
    static void SetMTBxItemEvents(MTBxItemEvents* sink);
    static MTBxItemEvents* GetMTBxItemEvents();
};

} // namespace MiniToolbars

#endif
