#ifndef MINITOOLBARS_CONTROLLER_H
#define MINITOOLBARS_CONTROLLER_H

#include "MiniToolbarsGlobal.h"

#include <vector>

namespace MiniToolbars {

class ControllerObserver;
class MiniToolbar;
class Options;

/// The host's entry point for showing, moving, suspending and closing toolbars.
///
/// Created by createInstance(); the caller owns the controller. The host owns
/// the MiniToolbar objects it passes in. Every call belongs on the GUI thread.
/// Points are screen pixels; a toolbar's position is its origin, the top-left
/// corner of its first row. Calls about a toolbar that has no window (null,
/// never shown, or closed) do nothing or leave their outputs untouched, and
/// isSuspended() answers true.
///
/// Pointer and keyboard. While a toolbar shows, the library watches the
/// application's native input and takes none of it away from the host: a
/// text selection, a hover effect or a shortcut of the host's windows works as
/// before. Every visible toolbar follows the pointer over all of the
/// application's windows: it updates its hover and auto fade, and a drag
/// begun on it follows the pointer wherever it goes and ends, with
/// ToolbarMoved, at the release. Keys typed while the pointer rests on a
/// toolbar reach the host as ToolbarKeyDown and ToolbarKeyUp with Windows
/// virtual-key codes, and reach the host's focus widget as usual.
///
/// Escape closes a popup that a toolbar has open (a drop-down menu, a list),
/// and that press goes no further. Otherwise Escape belongs to the host: no
/// toolbar reacts to it beyond the ToolbarKeyDown above.
/// \ingroup control
class MINITOOLBARS_EXPORT Controller
{
public:
    /// Copyable for derived controllers; this base holds no data.
    Controller(const Controller&) = default;
    /// Copyable for derived controllers; this base holds no data.
    Controller& operator=(const Controller&) = default;
    /// Close the toolbars this controller showed before deleting it.
    virtual ~Controller();

    /// Shows toolbar with its origin (top-left corner of its first row) at the screen
    /// point (x, y), in pixels. The first show creates the toolbar's view and window,
    /// parented to observer->getParentHwnd(); observer is not owned, and the first
    /// show's observer stays in use until the toolbar is closed or destroyed. With deferred the window appears from the event loop.
    /// Returns false, doing nothing, for a null toolbar or observer, for a toolbar
    /// already destroyed, and while another show is under way (from one of its
    /// callbacks).
    virtual bool showToolbar(MiniToolbar* toolbar, int x, int y, ControllerObserver* observer,
                             bool deferred = false) = 0;
    /// Hides toolbar, then deletes its items and its view; the toolbar itself stays
    /// with the host, empty, and can be filled and shown again. Called from one of the
    /// toolbar's own callbacks it only hides: the items and view go at the next close
    /// or when the toolbar is destroyed. No-op for null or a toolbar never shown.
    virtual void closeToolbar(MiniToolbar* toolbar) = 0;
    /// Suspending hides the toolbar's window and keeps its position and items;
    /// resuming shows it again. No-op without a window.
    virtual void setSuspended(MiniToolbar* toolbar, bool suspended) = 0;
    /// True while suspended, and for a null toolbar or one without a window.
    virtual bool isSuspended(MiniToolbar* toolbar) = 0;
    /// Auto fade for a pointer at screen point (x, y). Motion over the
    /// application's own windows is observed without it; an X client never
    /// sees motion over other applications' windows, so a host that tracks the
    /// pointer there reports it here.
    virtual void pointerMoved(int x, int y) = 0;
    /// Moves every visible toolbar by (dx, dy) screen pixels; does nothing unless
    /// toolbar itself has a window.
    virtual void moveAllToolbars(MiniToolbar* toolbar, int dx, int dy) = 0;
    /// Sets the process-wide clip rectangle, in screen pixels, for all toolbar
    /// painting and entry fields; an empty rectangle clips nothing. Visible toolbars
    /// move back inside their bounds and repaint. No-op before the QApplication exists.
    virtual void setClipRect(int x, int y, int width, int height) = 0;
    /// Moves the toolbar's origin to the screen point (x, y), or by (x, y) pixels
    /// when relative. No-op without a window.
    virtual void moveToolbar(MiniToolbar* toolbar, int x, int y, bool relative) = 0;
    /// The toolbar's origin in screen pixels; x and y stay untouched without a window.
    virtual void getToolbarPosition(MiniToolbar* toolbar, int& x, int& y) = 0;
    /// Lays the toolbar out now when its layout is out of date, or always with
    /// force. No-op without a window.
    virtual void updateLayout(MiniToolbar* toolbar, bool force) = 0;
    /// Applies theme, scaling factor and auto fade to every toolbar of the process
    /// and keeps a copy; an unknown theme keeps the current one.
    virtual void setOptions(const Options& options) = 0;
    /// The controller's copy of the options, valid while the controller lives.
    virtual const Options& getOptions() = 0;
    /// Replaces the contents of toolbars with every visible toolbar of the process,
    /// in the order they became visible. The toolbars are not owned by the list.
    virtual void getVisibleToolbars(std::vector<MiniToolbar*>& toolbars) = 0;
    /// Appends every suspended or hidden toolbar, in the order they were suspended;
    /// clears toolbars first when clearFirst.
    virtual void getSuspendedToolbars(std::vector<MiniToolbar*>& toolbars, bool clearFirst) = 0;
    /// Same as setSuspended(toolbar, true).
    virtual void suspendToolbar(MiniToolbar* toolbar) = 0;
    /// Same as setSuspended(toolbar, false).
    virtual void resumeToolbar(MiniToolbar* toolbar) = 0;
    /// Takes the keyboard focus from every entry field among the toolbar's direct
    /// items, as MTBxDropDownEntry::clearFocus(true) does. No-op for null.
    virtual void clearEntryFocus(MiniToolbar* toolbar) = 0;

    /// Hands the keyboard to a shown toolbar (from a shortcut the host binds,
    /// say): arrows, Home and End move a focus ring over its items, Return and
    /// Space click, Alt+Down and F4 open a list, and Escape gives the keyboard
    /// back to the widget that had it. False when the toolbar is not shown or
    /// has nothing to focus. Nothing else moves the keyboard to a toolbar.
    bool giveKeyboardTo(MiniToolbar* toolbar);

    /// A new controller with default options; the caller owns it.
    static Controller* createInstance();
    /// Re-installs the library's native event hook (after another component replaced
    /// it); returns true when the hook is in place.
    static bool resetWindowsHook();

protected:
    /// For the library's own controller; hosts call createInstance().
    Controller() = default;
};

} // namespace MiniToolbars

#endif
