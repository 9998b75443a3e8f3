#ifndef MINITOOLBARS_CONTROLLER_H
#define MINITOOLBARS_CONTROLLER_H

#include "MiniToolbarsGlobal.h"

#include <vector>

namespace MiniToolbars {

class ControllerObserver;
class MiniToolbar;
class Options;

// The host's entry point for showing and managing toolbars.
//
// Pointer and keyboard. While a toolbar shows, the library watches the
// application's native input and takes none of it away from the host: a
// text selection, a hover effect or a shortcut of the host's windows works as
// before. Every visible toolbar follows the pointer over all of the
// application's windows: it updates its hover and auto fade, and a drag
// begun on it follows the pointer wherever it goes and ends, with
// ToolbarMoved, at the release. Keys typed while the pointer rests on a
// toolbar reach the host as ToolbarKeyDown and ToolbarKeyUp with Windows
// virtual-key codes, and reach the host's focus widget as usual.
//
// Escape closes a popup that a toolbar has open (a drop-down menu, a list),
// and that press goes no further. Otherwise Escape belongs to the host: no
// toolbar reacts to it beyond the ToolbarKeyDown above.
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
    // Auto fade for a pointer at screen point (x, y). Motion over the
    // application's own windows is observed without it; an X client never
    // sees motion over other applications' windows, so a host that tracks the
    // pointer there reports it here.
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

    // A new controller with default options; the caller owns it.
    static Controller* createInstance();
    static bool resetWindowsHook();

protected:
    Controller() = default;
};

} // namespace MiniToolbars

#endif
