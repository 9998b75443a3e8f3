#ifndef MINITOOLBARS_MTBXTOOLBAREVENTS_H
#define MINITOOLBARS_MTBXTOOLBAREVENTS_H

#include "MiniToolbarsGlobal.h"

/// Implemented by the host: receives every toolbar notification.
class MINITOOLBARS_EXPORT MTBxToolbarEvents
{
public:
    enum EventType {
        ToolbarMoved = 1,
        ToolbarFaded = 2,
        ToolbarKeyDown = 3,
        ToolbarKeyUp = 4
    };

    MTBxToolbarEvents(const MTBxToolbarEvents&) = default;
    MTBxToolbarEvents& operator=(const MTBxToolbarEvents&) = default;
    virtual ~MTBxToolbarEvents();

    virtual void Notify(void* hostContext, EventType type, unsigned int* p1, unsigned int* p2) = 0;

protected:
    MTBxToolbarEvents() = default;
};

#endif
