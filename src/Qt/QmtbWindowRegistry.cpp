#include "Qt/QmtbWindowRegistry.h"

#include "Qt/QmtbAutoFade.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QmtbView.h"

#include <QCoreApplication>

namespace MiniToolbars {

namespace {

QList<QmtbView*> s_visibleWindows;
QList<QmtbView*> s_suspendedWindows;
QRect s_parentClipRect;

void addTo(QList<QmtbView*>& list, QmtbView* window)
{
    if (!list.contains(window))
        list.append(window);
}

} // namespace

QList<QmtbView*> QmtbWindowRegistry::visibleWindows()
{
    return s_visibleWindows;
}

QList<QmtbView*> QmtbWindowRegistry::suspendedWindows()
{
    return s_suspendedWindows;
}

bool QmtbWindowRegistry::isVisible(const QmtbView* window)
{
    return s_visibleWindows.contains(const_cast<QmtbView*>(window));
}

void QmtbWindowRegistry::makeVisible(QmtbView* window)
{
    s_suspendedWindows.removeOne(window);
    addTo(s_visibleWindows, window);
}

void QmtbWindowRegistry::makeSuspended(QmtbView* window)
{
    addTo(s_suspendedWindows, window);
    s_visibleWindows.removeOne(window);
}

void QmtbWindowRegistry::remove(QmtbView* window)
{
    s_visibleWindows.removeOne(window);
    s_suspendedWindows.removeOne(window);
}

void QmtbWindowRegistry::forEachVisible(const std::function<void(QmtbView*)>& action)
{
    for (QmtbView* window : visibleWindows()) {
        if (s_visibleWindows.contains(window))
            action(window);
    }
}

QRect QmtbWindowRegistry::parentClipRect()
{
    return s_parentClipRect;
}

void QmtbWindowRegistry::setParentClipRect(const QRect& rect)
{
    s_parentClipRect = rect;
}

void QmtbWindowRegistry::moveAll(int dx, int dy)
{
    forEachVisible([=](QmtbView* window) { window->moveOrigin(dx, dy, true); });
}

void QmtbWindowRegistry::setParentClip(int x, int y, int width, int height)
{
    if (!QCoreApplication::instance())
        return;
    setParentClipRect(QRect(QmtbCoordinates::windowPoint(x, y),
                            QSize(QmtbCoordinates::clampCoordinate(width), QmtbCoordinates::clampCoordinate(height))));
    forEachVisible([](QmtbView* window) {
        window->placement().keepInsideParent();
        window->refresh();
    });
}

void QmtbWindowRegistry::fadeAll(int x, int y)
{
    // The origins are desktop-relative; so must the pointer be.
    const QPoint point = QmtbCoordinates::windowPoint(x, y);
    forEachVisible([=](QmtbView* window) {
        if (window->view() && window->fade().takesPartInAutoFade())
            window->fade().updateFade(point.x(), point.y());
    });
}

} // namespace MiniToolbars
