#ifndef MINITOOLBARS_CONTROLLEROBSERVER_H
#define MINITOOLBARS_CONTROLLEROBSERVER_H

#include "MiniToolbarsGlobal.h"

namespace MiniToolbars {

/// Implemented by the host per toolbar: parent window, bounds and drag veto.
class MINITOOLBARS_EXPORT ControllerObserver
{
public:
    ControllerObserver(const ControllerObserver&) = default;
    ControllerObserver& operator=(const ControllerObserver&) = default;
    virtual ~ControllerObserver();

    /// Called for each drag step before the toolbar moves by (dx, dy); may change both.
    virtual void mtbMoved(int& dx, int& dy);
    /// The rectangle (screen pixels) the toolbar must stay inside. The default is
    /// the geometry of the screen that contains (x, y).
    virtual void getMtbParentBounds(int x, int y, int& left, int& top, int& width, int& height);
    /// The native window that parents the toolbar window. The default is null.
    virtual HWND getParentHwnd();

protected:
    ControllerObserver() = default;
};

} // namespace MiniToolbars

#endif
