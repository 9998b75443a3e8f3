#ifndef MINITOOLBARS_QMTBPOINTERINPUT_H
#define MINITOOLBARS_QMTBPOINTERINPUT_H

#include <QPoint>

class QMouseEvent;

namespace MiniToolbars {

class MTBxItem;
class QmtbView;

// Press, drag, click, wheel and hover of one toolbar window, at window points
// (desktop-relative, so a drag's steps keep their meaning while the window
// moves under the pointer). Qt's mouse events and synthetic input end here.
class QmtbPointerInput
{
public:
    explicit QmtbPointerInput(QmtbView& window);

    // A window that was not shown starts hover and drag at its origin.
    void resetPoints(const QPoint& origin);

    void pressAt(const QPoint& point);
    void moveTo(const QPoint& point);
    // buttons: modifiers, button and buttons of the release as one mask.
    void releaseAt(const QPoint& point, int buttons);
    void wheelAt(const QPoint& point, int delta);
    void handleHover(int x, int y);
    // Sends the event on to another Qt widget under the pointer (a popup
    // menu, say); false when there is none.
    bool forwardMouseEvent(QMouseEvent* event);

    // The item whose popup a press dismissed: the release of that press
    // does not reach it. Set, it also keeps that press from dragging.
    MTBxItem* closedItem() const { return m_closedItem; }
    void setClosedItem(MTBxItem* item) { m_closedItem = item, m_suppressDrag = item != nullptr; }

    bool isPressed() const { return m_pressed; }
    bool hasMoved() const { return m_moved; }

private:
    void closePopup();

    QmtbView& m_window;
    QPoint m_hover;
    QPoint m_drag;
    MTBxItem* m_closedItem = nullptr;
    bool m_suppressDrag = false;
    bool m_pressed = false;
    bool m_moved = false;
};

} // namespace MiniToolbars

#endif
