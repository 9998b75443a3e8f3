#ifndef MINITOOLBARS_MTBXITEMEVENTS_H
#define MINITOOLBARS_MTBXITEMEVENTS_H

#include "MiniToolbarsGlobal.h"

/// Implemented by the host: receives every item notification.
///
/// Registered once per process with MiniToolbars::MTBxItemEventsUtility; the
/// host owns it and the library never deletes it. Events arrive on the GUI
/// thread. During Notify() the host may remove or destroy the item or its
/// toolbar, or close the toolbar: the library defers the deletion until the
/// call returns. Events of an ActionToolbar never reach this sink.
/// \ingroup events
class MINITOOLBARS_EXPORT MTBxItemEvents
{
public:
    /// What happened; the meaning of Notify()'s p1 follows each value (p2 is 0).
    enum EventType {
        /// The item was clicked, or its menu entry or list row chosen.
        Clicked = 0,
        /// The checked state changed; p1: the new state, 0 or 1.
        CheckedChanged = 1,
        /// The pointer entered the item, or the mouse wheel made it current.
        HoverEnter = 2,
        /// The pointer left the item.
        HoverLeave = 3,
        /// A menu or list is about to be filled from the item's children.
        DropDownAboutToShow = 4,
        /// The user edited an entry field; p1: a std::wstring* with the whole
        /// new text, valid only during the call.
        TextEdited = 5,
        /// An entry field gained (p1 1) or lost (p1 0) the keyboard focus.
        FocusChanged = 6,
        /// A key was pressed in an entry field, before the edit; p1: the Qt key code.
        KeyPressed = 7,
        /// A click with a keyboard modifier held, before its CheckedChanged and
        /// Clicked; p1: the Qt modifier and mouse button mask.
        ModifiedClick = 8,
        /// The remove button of the item's menu or list row was clicked; the host
        /// decides whether to remove it.
        RemoveRequested = 9
    };

    /// Copyable; the base holds no data.
    /// @{
    MTBxItemEvents(const MTBxItemEvents&) = default;
    MTBxItemEvents& operator=(const MTBxItemEvents&) = default;
    /// @}
    virtual ~MTBxItemEvents();

    /// One event of the item whose host context is hostContext (never null).
    /// p1 and p2 carry plain integers cast to pointers unless the event says otherwise.
    virtual void Notify(void* hostContext, EventType type, unsigned int* p1, unsigned int* p2) = 0;

protected:
    MTBxItemEvents() = default;
};

#endif
