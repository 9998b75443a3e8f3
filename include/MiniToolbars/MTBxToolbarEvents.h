#ifndef MINITOOLBARS_MTBXTOOLBAREVENTS_H
#define MINITOOLBARS_MTBXTOOLBAREVENTS_H

#include "MiniToolbarsGlobal.h"

/// Implemented by the host: receives every toolbar notification.
///
/// Registered once per process with MiniToolbars::MTBxToolbarEventsUtility; the
/// host owns it and the library never deletes it. Events arrive on the GUI
/// thread, and the same deferral as for item events applies: the host may close
/// or destroy the toolbar during Notify().
/// \ingroup events
class MINITOOLBARS_EXPORT MTBxToolbarEvents
{
public:
    /// What happened, with the meaning of Notify()'s p1 and p2.
    enum EventType {
        /// The user dropped the toolbar after a drag; p1, p2: its new origin in
        /// desktop-relative screen pixels.
        ToolbarMoved = 1,
        /// Sent from the event loop while the toolbar rests faded out.
        ToolbarFaded = 2,
        /// A key went down while the pointer rested on the toolbar; p1: the
        /// Windows virtual-key code, p2: the key message's parameter.
        ToolbarKeyDown = 3,
        /// A key went up; p1 and p2 as for ToolbarKeyDown.
        ToolbarKeyUp = 4
    };

    /// Copyable; the base holds no data.
    /// @{
    MTBxToolbarEvents(const MTBxToolbarEvents&) = default;
    MTBxToolbarEvents& operator=(const MTBxToolbarEvents&) = default;
    /// @}
    virtual ~MTBxToolbarEvents();

    /// One event of the toolbar whose host context is hostContext (never null);
    /// p1 and p2 carry plain integers cast to pointers.
    virtual void Notify(void* hostContext, EventType type, unsigned int* p1, unsigned int* p2) = 0;

protected:
    MTBxToolbarEvents() = default;
};

#endif
