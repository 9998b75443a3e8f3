#ifndef MINITOOLBARS_CONTROLLER_H
#define MINITOOLBARS_CONTROLLER_H

#include "MiniToolbarsGlobal.h"

#include <vector>

namespace MiniToolbars {

class ControllerObserver;
class MiniToolbar;
class Options;

// The host's entry point for showing and managing toolbars.
class MINITOOLBARS_EXPORT Controller
{
public:
    Controller(const Controller&) = default;
    Controller& operator=(const Controller&) = default;
    virtual ~Controller();

    virtual bool showToolbar(MiniToolbar* toolbar, int x, int y, ControllerObserver* observer,
                             bool deferred = false) = 0;
    virtual void closeToolbar(MiniToolbar* toolbar) = 0;
    virtual void setSuspended(MiniToolbar* toolbar, bool suspended) = 0;
    virtual bool isSuspended(MiniToolbar* toolbar) = 0;
    virtual void pointerMoved(int x, int y) = 0;
    virtual void moveAllToolbars(MiniToolbar* toolbar, int dx, int dy) = 0;
    virtual void setClipRect(int x, int y, int width, int height) = 0;
    virtual void moveToolbar(MiniToolbar* toolbar, int x, int y, bool relative) = 0;
    virtual void getToolbarPosition(MiniToolbar* toolbar, int& x, int& y) = 0;
    virtual void updateLayout(MiniToolbar* toolbar, bool force) = 0;
    virtual void setOptions(const Options& options) = 0;
    virtual const Options& getOptions() = 0;
    virtual void getVisibleToolbars(std::vector<MiniToolbar*>& toolbars) = 0;
    virtual void getSuspendedToolbars(std::vector<MiniToolbar*>& toolbars, bool clearFirst) = 0;
    virtual void suspendToolbar(MiniToolbar* toolbar) = 0;
    virtual void resumeToolbar(MiniToolbar* toolbar) = 0;
    virtual void clearEntryFocus(MiniToolbar* toolbar) = 0;

    // Hands the keyboard to a shown toolbar (from a shortcut the host binds,
    // say): arrows, Home and End move a focus ring over its items, Return and
    // Space click, Alt+Down and F4 open a list, and Escape gives the keyboard
    // back to the widget that had it. False when the toolbar is not shown or
    // has nothing to focus. Nothing else moves the keyboard to a toolbar.
    bool giveKeyboardTo(MiniToolbar* toolbar);

    // A new controller with default options; the caller owns it.
    static Controller* createInstance();
    static bool resetWindowsHook();

protected:
    Controller() = default;
};

} // namespace MiniToolbars

#endif
