#ifndef MINITOOLBARS_MTBXTOOLBAREVENTSUTILITY_H
#define MINITOOLBARS_MTBXTOOLBAREVENTSUTILITY_H

#include "MTBxToolbarEvents.h"

namespace MiniToolbars {

/// The process-wide toolbar sink. The library never deletes it.
class MINITOOLBARS_EXPORT MTBxToolbarEventsUtility
{
public:
    static void SetMTBxToolbarEvents(MTBxToolbarEvents* sink);
    static MTBxToolbarEvents* GetMTBxToolbarEvents();
};

} // namespace MiniToolbars

#endif
