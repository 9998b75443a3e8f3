#include "Qt/QmtbAutoFade.h"
#include "Qt/QmtbController.h"
#include "Qt/QmtbLogging.h"
#include "Qt/QmtbWindowRegistry.h"

#include "Core/LiveToolbars.h"
#include "Core/MTBxFlowLayout.h"
#include "Core/Style.h"
#include "MiniToolbars/ControllerObserver.h"
#include "MiniToolbars/MiniToolbar.h"
#include "MiniToolbars/MTBxItem.h"
#include "Qt/QmtbView.h"

#include <QGuiApplication>

#include <map>

namespace MiniToolbars {

namespace {

void appendToolbars(const QList<QmtbView*>& windows, std::vector<MiniToolbar*>& toolbars)
{
    for (const QmtbView* window : windows) {
        if (MiniToolbar* toolbar = window->view() ? window->view()->toolbar() : nullptr)
            toolbars.push_back(toolbar);
    }
}

} // namespace

QmtbController::QmtbController()
{
    Style::addUse();
}

// Other controllers and the item views of toolbars still shown keep the style
// alive; it goes with the last of them.
QmtbController::~QmtbController()
{
    Style::releaseUse();
    Style::destroy();
}

namespace {

std::map<const MiniToolbar*, Options::WindowStrategy>& strategies()
{
    static std::map<const MiniToolbar*, Options::WindowStrategy> strategies;
    return strategies;
}

} // namespace

void QmtbController::setWindowStrategy(const MiniToolbar* toolbar, Options::WindowStrategy strategy)
{
    if (toolbar)
        strategies()[toolbar] = strategy;
}

void QmtbController::forgetWindowStrategy(const MiniToolbar* toolbar)
{
    strategies().erase(toolbar);
}

// Wayland places no window where it is asked to: there the toolbar lies in
// the host's window unless asked otherwise.
WindowKind QmtbController::windowKindFor(const MiniToolbar* toolbar) const
{
    const auto own = strategies().find(toolbar);
    const Options::WindowStrategy strategy = own != strategies().end() ? own->second : m_options.windowStrategy();
    if (strategy == Options::TopLevelWindows)
        return WindowKind::TopLevel;
    if (strategy == Options::OverlayWindows)
        return WindowKind::Overlay;
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ? WindowKind::Overlay
                                                                                : WindowKind::TopLevel;
}

QmtbView* QmtbController::windowOf(const MiniToolbar* toolbar)
{
    if (!toolbar || !toolbar->view())
        return nullptr;
    return dynamic_cast<QmtbView*>(toolbar->view()->window());
}

// One show at a time in the process: a callback of the show under way may ask
// any controller to show the same toolbar, which would give it two views.
// Nothing of this controller is touched after a host callback, which may
// delete the controller or the toolbar.
bool QmtbController::showToolbar(MiniToolbar* toolbar, int x, int y, ControllerObserver* observer,
                                 bool deferred)
{
    static bool s_showing = false;
    if (!observer || s_showing || !toolbar) {
        qCInfo(lcMiniToolbars) << "showToolbar refused:"
                               << (!toolbar ? "no toolbar" : !observer ? "no observer" : "a show is under way");
        return false;
    }
    s_showing = true;
    MTBxView* view = toolbar->view();
    if (!view) {
        const HWND parent = observer->getParentHwnd();
        if (!LiveToolbars::contains(toolbar)) {
            s_showing = false;
            return false;
        }
        view = new MTBxFlowLayout(toolbar, observer);
        view->setWindowKind(windowKindFor(toolbar));
        view->createHost(parent);
        toolbar->setView(view);
        view->setName(toolbar->name());
    }
    // The window is not activated: the keyboard stays with the host. Only a
    // part that needs typing may take it, and that part asks for it itself.
    view->show(static_cast<float>(x), static_cast<float>(y), deferred);
    s_showing = false;
    return true;
}

void QmtbController::closeToolbar(MiniToolbar* toolbar)
{
    if (!toolbar || !toolbar->view())
        return;
    MTBxView* view = toolbar->view();
    if (QmtbView* window = windowOf(toolbar))
        window->hideToolbar();
    if (view->window() && view->window()->guard().isDelivering())
        return;
    toolbar->clear();
    toolbar->setView(nullptr);
    delete view;
}

void QmtbController::setSuspended(MiniToolbar* toolbar, bool suspended)
{
    if (QmtbView* window = windowOf(toolbar))
        window->setSuspended(suspended);
}

bool QmtbController::isSuspended(MiniToolbar* toolbar)
{
    const QmtbView* window = windowOf(toolbar);
    return window ? window->isSuspended() : true;
}

void QmtbController::pointerMoved(int x, int y)
{
    QmtbWindowRegistry::fadeAll(x, y);
}

void QmtbController::moveAllToolbars(MiniToolbar* toolbar, int dx, int dy)
{
    if (windowOf(toolbar))
        QmtbWindowRegistry::moveAll(dx, dy);
}

void QmtbController::setClipRect(int x, int y, int width, int height)
{
    QmtbWindowRegistry::setParentClip(x, y, width, height);
}

void QmtbController::moveToolbar(MiniToolbar* toolbar, int x, int y, bool relative)
{
    if (QmtbView* window = windowOf(toolbar))
        window->moveOrigin(x, y, relative);
}

void QmtbController::getToolbarPosition(MiniToolbar* toolbar, int& x, int& y)
{
    if (const QmtbView* window = windowOf(toolbar))
        window->getOrigin(x, y);
}

void QmtbController::updateLayout(MiniToolbar* toolbar, bool force)
{
    if (QmtbView* window = windowOf(toolbar))
        window->relayout(force);
}

void QmtbController::setOptions(const Options& options)
{
    Style* style = Style::instance();
    const int theme = static_cast<int>(options.theme());
    if (theme == Options::Light || theme == Options::Dark) {
        style->setTheme(theme);
        m_options.setTheme(options.theme());
    }
    m_options.setIconTheme(options.iconTheme());
    m_options.setPopupStyleSheet(options.popupStyleSheet());
    style->setPopupStyleSheet(options.popupStyleSheet());
    m_options.setWindowStrategy(options.windowStrategy());
    const float factor = options.scalingFactor();
    if (factor >= 0.0f) {
        style->setScalingFactor(factor);
        m_options.setScalingFactor(factor);
    }
    if (options.autoFade() != m_options.autoFade()) {
        for (QmtbView* window : QmtbWindowRegistry::visibleWindows()) {
            if (window->fade().isAnimating()) {
                window->fade().stopAnimation();
                window->refresh();
            }
        }
    }
    m_options.setAutoFade(options.autoFade());
    style->setAutoFade(options.autoFade());
}

const Options& QmtbController::getOptions()
{
    return m_options;
}

void QmtbController::getVisibleToolbars(std::vector<MiniToolbar*>& toolbars)
{
    toolbars.clear();
    appendToolbars(QmtbWindowRegistry::visibleWindows(), toolbars);
}

void QmtbController::getSuspendedToolbars(std::vector<MiniToolbar*>& toolbars, bool clearFirst)
{
    if (clearFirst)
        toolbars.clear();
    appendToolbars(QmtbWindowRegistry::suspendedWindows(), toolbars);
}

void QmtbController::suspendToolbar(MiniToolbar* toolbar)
{
    setSuspended(toolbar, true);
}

void QmtbController::resumeToolbar(MiniToolbar* toolbar)
{
    setSuspended(toolbar, false);
}

void QmtbController::clearEntryFocus(MiniToolbar* toolbar)
{
    if (!toolbar)
        return;
    for (int i = 0; toolbar->hasItem(i); ++i) {
        MTBxItem* item = toolbar->item(i);
        if (item && item->itemType() == MTBxItem::DropDownEntry)
            item->clearFocus(true);
    }
}

} // namespace MiniToolbars
