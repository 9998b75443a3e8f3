#ifndef MINITOOLBARS_QMTBCONTROLLER_H
#define MINITOOLBARS_QMTBCONTROLLER_H

#include "Core/Backend.h"
#include "MiniToolbars/Controller.h"
#include "MiniToolbars/Options.h"

namespace MiniToolbars {

class QmtbView;

// The Qt controller: reaches each toolbar's window through the toolbar's view
// and applies the global options to the shared style.
class QmtbController : public Controller
{
public:
    QmtbController();
    // Destroys the shared style once no other controller or item view uses it.
    ~QmtbController() override;

    bool showToolbar(MiniToolbar* toolbar, int x, int y, ControllerObserver* observer,
                     bool deferred = false) override;
    void closeToolbar(MiniToolbar* toolbar) override;
    void setSuspended(MiniToolbar* toolbar, bool suspended) override;
    bool isSuspended(MiniToolbar* toolbar) override;
    void pointerMoved(int x, int y) override;
    void moveAllToolbars(MiniToolbar* toolbar, int dx, int dy) override;
    void setClipRect(int x, int y, int width, int height) override;
    void moveToolbar(MiniToolbar* toolbar, int x, int y, bool relative) override;
    void getToolbarPosition(MiniToolbar* toolbar, int& x, int& y) override;
    void updateLayout(MiniToolbar* toolbar, bool force) override;
    void setOptions(const Options& options) override;
    const Options& getOptions() override;
    void getVisibleToolbars(std::vector<MiniToolbar*>& toolbars) override;
    void getSuspendedToolbars(std::vector<MiniToolbar*>& toolbars, bool clearFirst) override;
    void suspendToolbar(MiniToolbar* toolbar) override;
    void resumeToolbar(MiniToolbar* toolbar) override;
    void clearEntryFocus(MiniToolbar* toolbar) override;

    // The toolbar's window, or null without view or window.
    static QmtbView* windowOf(const MiniToolbar* toolbar);
    // A window strategy for one toolbar, over the controller's options (the
    // Qt front end's own setting); forgotten with forgetWindowStrategy.
    static void setWindowStrategy(const MiniToolbar* toolbar, Options::WindowStrategy strategy);
    static void forgetWindowStrategy(const MiniToolbar* toolbar);
    // The kind of window a toolbar shown for the first time gets.
    WindowKind windowKindFor(const MiniToolbar* toolbar) const;

private:
    Options m_options;
};

} // namespace MiniToolbars

#endif
