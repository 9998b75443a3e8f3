#ifndef MINITOOLBARS_MTBXVIEW_H
#define MINITOOLBARS_MTBXVIEW_H

#include "Core/Backend.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/MiniToolbarsGlobal.h"
#include "MiniToolbars/MTBxString.h"

#include <memory>
#include <vector>

namespace MiniToolbars {

class ControllerObserver;
class HostWidget;
class ItemView;
class MiniToolbar;
class MTBxRender;
class ToolbarWindow;

// The abstract view of one toolbar: owns the item views, the host widget and
// the toolbar window, and tracks the item view under the pointer.
class MTBxView
{
public:
    MTBxView(MiniToolbar* toolbar, ControllerObserver* observer);
    virtual ~MTBxView();
    MTBxView(const MTBxView&) = delete;
    MTBxView& operator=(const MTBxView&) = delete;

    virtual MiniToolbar* toolbar() const = 0;
    virtual ItemView* mouseMove(float x, float y) = 0;
    virtual ItemView* mousePress(float x, float y) = 0;
    virtual ItemView* mouseRelease(float x, float y, bool moved, int buttons) = 0;
    virtual void mouseWheel(float x, float y, int delta) = 0;
    virtual void keyDown(unsigned long wParam, long lParam) = 0;
    virtual void keyUp(unsigned long wParam, long lParam) = 0;
    // x, y in screen pixels. Creates the window on first use.
    virtual bool show(float x, float y, bool deferred);
    virtual void draw(MTBxRender* renderer, bool flag) = 0;
    virtual void rebuild(bool force) = 0;
    virtual void notifyFaded() = 0;
    virtual void getBounds(float& top, float& left, float& bottom, float& right) const;
    virtual void getNoFadeBounds(float& top, float& left, float& bottom, float& right) const;
    virtual void arrange(bool force) = 0;

    void createHost(HWND parentWindow);
    void setToolbar(MiniToolbar* toolbar);
    const MTBxString& name() const { return m_name; }
    void setName(const MTBxString& name);

    bool layoutDirty() const { return m_layoutDirty; }
    // Asks the window for one relayout when the flag turns on.
    void setLayoutDirty(bool dirty);
    bool shown() const { return m_shown; }
    void setShown(bool shown) { m_shown = shown; }
    bool hoverChanged() const { return m_hoverChanged; }
    bool pressChanged() const { return m_pressChanged; }
    bool hasNoFadeItems() const { return m_hasNoFadeItems; }
    ItemView* current() const { return m_current; }
    ToolbarWindow* window() const { return m_window.get(); }
    HostWidget* host() const { return m_host.get(); }
    ControllerObserver* observer() const { return m_observer; }
    int itemViewCount() const;
    ItemView* itemViewAt(int index) const;
    // The drag grip's view, drawn left of the items; null for views without one.
    virtual ItemView* gripView() const { return nullptr; }
    // The first enabled, non-label, non-separator item view under (x, y).
    ItemView* itemViewAt(float x, float y, bool& onSubArea) const;

    // The window was destroyed from outside (with the host window an overlay
    // lies in): the view and its item views let go of it, and the toolbar
    // no longer shows until it is shown again.
    void forgetWindow();
    // Installs a window made elsewhere (tests use a stand-in); takes ownership.
    void adoptWindow(std::unique_ptr<ToolbarWindow> window);
    // The kind of window the first show makes.
    WindowKind windowKind() const { return m_windowKind; }
    void setWindowKind(WindowKind kind) { m_windowKind = kind; }

protected:
    MiniToolbar* m_toolbar;
    std::unique_ptr<std::vector<ItemView*>> m_itemViews;
    ControllerObserver* m_observer;
    MTBxString m_name;
    bool m_shown;
    bool m_pressChanged;
    bool m_hoverChanged;
    ItemView* m_current;
    bool m_hasNoFadeItems;
    std::unique_ptr<HostWidget, ToolbarWindow::Release> m_host;
    std::unique_ptr<ToolbarWindow, ToolbarWindow::Release> m_window;
    bool m_layoutDirty;
    WindowKind m_windowKind = WindowKind::TopLevel;
};

} // namespace MiniToolbars

#endif
