// What reaches an ActionToolbar from outside its actions: the library's calls
// to the toolbar's host (observer, item and toolbar sinks, window observer)
// and the Qt events it watches, turned into updates of the mirror and the
// placement and into the ActionToolbar's signals.

#ifndef MINITOOLBARS_ACTIONTOOLBAREVENTS_H
#define MINITOOLBARS_ACTIONTOOLBAREVENTS_H

#include "Core/ToolbarWindow.h"
#include "MiniToolbars/ControllerObserver.h"
#include "MiniToolbars/MTBxItemEvents.h"
#include "MiniToolbars/MTBxToolbarEvents.h"

class QEvent;
class QObject;

namespace MiniToolbars {

class ActionToolbarPrivate;

class ActionToolbarEvents
    : public ControllerObserver, public MTBxItemEvents, public MTBxToolbarEvents, public ToolbarWindow::Observer
{
public:
    explicit ActionToolbarEvents(ActionToolbarPrivate& d);

    // ControllerObserver
    HWND getParentHwnd() override;
    void getMtbParentBounds(int, int, int& left, int& top, int& width, int& height) override;

    // ToolbarWindow::Observer
    void fadedInChanged(bool fadedIn) override;
    void wheelTurned(int delta) override;

    // Item contexts routed here are the mirror's entries; the toolbar's context is its Private.
    void Notify(void* context, MTBxItemEvents::EventType type, unsigned int* p1, unsigned int*) override;
    void Notify(void* context, MTBxToolbarEvents::EventType type, unsigned int* p1, unsigned int*) override;

    // The menus of drop-down actions and, while shown, the host's window and
    // the application. Only watches: every event goes on to its target.
    void filter(QObject* watched, QEvent* event);

private:
    ActionToolbarPrivate& d;
};

} // namespace MiniToolbars

#endif
