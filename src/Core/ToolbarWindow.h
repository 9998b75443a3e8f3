#ifndef MINITOOLBARS_TOOLBARWINDOW_H
#define MINITOOLBARS_TOOLBARWINDOW_H

#include "Core/HostWidget.h"
#include "Core/NotificationGuard.h"
#include "Core/Point.h"

namespace MiniToolbars {

class MTBxView;

// What the core asks of the window that shows a toolbar. The Qt backend's
// window implements it; core tests use a stand-in. Owned by its view.
class ToolbarWindow
{
public:
    ToolbarWindow() : m_guard(*this) {}
    virtual ~ToolbarWindow() = default;
    ToolbarWindow(const ToolbarWindow&) = delete;
    ToolbarWindow& operator=(const ToolbarWindow&) = delete;

    virtual MTBxView* view() const = 0;
    // position in screen pixels.
    virtual void showAt(const Point& position, bool deferred) = 0;
    // Posts one relayout request; several calls in one event-loop pass coalesce.
    virtual void scheduleRelayout() = 0;
    // Desktop-relative pixel position of the layout origin.
    virtual void getOrigin(int& x, int& y) const = 0;
    virtual bool hasPopup() const = 0;
    // Opacity of the items that fade (1 when faded in).
    virtual double currentOpacity() const = 0;
    // The window shows its toolbar (it may be faded out).
    virtual bool isShown() const = 0;
    // Moves the layout origin to (x, y), or by (x, y) when relative, then
    // keeps the toolbar inside the host's bounds.
    virtual void moveOrigin(int x, int y, bool relative) = 0;
    // Closes the open popup because of a press on this window: the release
    // of that press does not open it again.
    virtual void closePopup() = 0;
    // Schedules a repaint.
    virtual void refresh() = 0;
    // Re-evaluates the fade lock (display-only-no-fade-items changed) and repaints.
    virtual void updateFadeLock() = 0;
    // Fades the toolbar in, as a pointer coming near would (nothing while the fade is locked).
    virtual void fadeIn() {}
    // What a front end hears of the window; not owned, null for none.
    class Observer
    {
    public:
        virtual ~Observer() = default;
        // The toolbar turned towards opaque (true) or faded (false).
        virtual void fadedInChanged(bool fadedIn) = 0;
        // The mouse wheel turned over the toolbar, by delta eighths of a degree
        // (Qt's angle delta).
        virtual void wheelTurned(int delta) = 0;
    };
    void setObserver(Observer* observer) { m_observer = observer; }
    Observer* observer() const { return m_observer; }
    // A show or relayout waits in the event queue: the toolbar's bounds may still change.
    virtual bool isLayoutPending() const { return false; }
    // Auto-hiding items rest at opacity 0 (faded out beside items that do not
    // fade): they are not drawn, so they take no input either.
    virtual bool autoHidingItemsHidden() const { return false; }
    // Leaves the registries, stops timers and tooltips, hides. Used when the
    // toolbar is destroyed during one of its deliveries.
    virtual void retire() = 0;
    // How the view deletes its window. The toolkit may still be dispatching
    // an event to it: the window then retires, lets go of the view and is
    // deleted once that dispatch is over.
    virtual void release() { delete this; }

    // Deleters for the owners of windows and host widgets.
    struct Release
    {
        void operator()(ToolbarWindow* window) const { window->release(); }
        void operator()(HostWidget* host) const { host->release(); }
    };

    NotificationGuard& guard() { return m_guard; }
    const NotificationGuard& guard() const { return m_guard; }

private:
    NotificationGuard m_guard;
    Observer* m_observer = nullptr;
};

} // namespace MiniToolbars

#endif
