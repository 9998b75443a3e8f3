#ifndef MINITOOLBARS_CONTROLLEROBSERVER_H
#define MINITOOLBARS_CONTROLLEROBSERVER_H

#include "MiniToolbarsGlobal.h"

namespace MiniToolbars {

/// Implemented by the host per toolbar: parent window, bounds and drag veto.
///
/// Handed to Controller::showToolbar(); the host owns it. The observer of a
/// toolbar's first show stays in use until the toolbar is closed or destroyed. Called on the GUI thread. Points and rectangles are
/// screen pixels.
/// \ingroup control
class MINITOOLBARS_EXPORT ControllerObserver
{
public:
    /// Copyable; the base holds no data.
    /// @{
    ControllerObserver(const ControllerObserver&) = default;
    ControllerObserver& operator=(const ControllerObserver&) = default;
    /// @}
    /// The library never deletes an observer.
    virtual ~ControllerObserver();

    /// Called for each drag step before the toolbar moves by (dx, dy); may change both
    /// ((0, 0) keeps it in place). The default leaves them.
    virtual void mtbMoved(int& dx, int& dy);
    /// The rectangle (screen pixels) the toolbar must stay inside. The default is
    /// the geometry of the screen that contains (x, y), the toolbar's origin.
    /// The caller presets (0, 0, 100, 100) and uses what is left in the outputs.
    virtual void getMtbParentBounds(int x, int y, int& left, int& top, int& width, int& height);
    /// The native window (QWidget::winId()) that parents the toolbar window,
    /// asked once, at the first show. The default is null.
    virtual HWND getParentHwnd();

protected:
    /// For the host's subclass.
    ControllerObserver() = default;
};

} // namespace MiniToolbars

#endif
