#include "Qt/QmtbWindowRegistry.h"

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

} // namespace MiniToolbars
