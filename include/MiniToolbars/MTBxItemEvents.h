#ifndef MINITOOLBARS_MTBXITEMEVENTS_H
#define MINITOOLBARS_MTBXITEMEVENTS_H

#include "MiniToolbarsGlobal.h"

/// Implemented by the host: receives every item notification.
class MINITOOLBARS_EXPORT MTBxItemEvents
{
public:
    enum EventType {
        Clicked = 0,
        CheckedChanged = 1,
        HoverEnter = 2,
        HoverLeave = 3,
        DropDownAboutToShow = 4,
        TextEdited = 5,
        FocusChanged = 6,
        KeyPressed = 7,
        ModifiedClick = 8,
        RemoveRequested = 9
    };

    MTBxItemEvents(const MTBxItemEvents&) = default;
    MTBxItemEvents& operator=(const MTBxItemEvents&) = default;
    virtual ~MTBxItemEvents();

    /// p1 and p2 carry plain integers cast to pointers unless the event says otherwise.
    virtual void Notify(void* hostContext, EventType type, unsigned int* p1, unsigned int* p2) = 0;

protected:
    MTBxItemEvents() = default;
};

#endif
