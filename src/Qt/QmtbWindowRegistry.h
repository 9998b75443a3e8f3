#ifndef MINITOOLBARS_QMTBWINDOWREGISTRY_H
#define MINITOOLBARS_QMTBWINDOWREGISTRY_H

#include <QList>
#include <QRect>

#include <functional>

namespace MiniToolbars {

class QmtbView;

// The process-wide lists of toolbar windows, in insertion order, and the clip
// rectangle that all their painting shares. Adding a window twice keeps one
// entry; removing an absent one does nothing.
class QmtbWindowRegistry
{
public:
    static QList<QmtbView*> visibleWindows();
    static QList<QmtbView*> suspendedWindows();
    static bool isVisible(const QmtbView* window);

    // Leaves the suspended list and joins the visible one.
    static void makeVisible(QmtbView* window);
    // Leaves the visible list and joins the suspended one.
    static void makeSuspended(QmtbView* window);
    static void remove(QmtbView* window);

    // Runs action on every window visible when the call starts that is still
    // visible when its turn comes: a host callback may close any of them.
    static void forEachVisible(const std::function<void(QmtbView*)>& action);

    // Desktop-relative; empty when painting is not clipped.
    static QRect parentClipRect();
    static void setParentClipRect(const QRect& rect);

    // What the controller does to every visible window, x, y in screen pixels.
    static void moveAll(int dx, int dy);
    // Clips every window's painting and keeps each toolbar inside its parent.
    static void setParentClip(int x, int y, int width, int height);
    // Auto fade of every visible window for a pointer at screen point (x, y).
    static void fadeAll(int x, int y);
};

} // namespace MiniToolbars

#endif
