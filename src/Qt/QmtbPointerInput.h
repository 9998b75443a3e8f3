#ifndef MINITOOLBARS_QMTBPOINTERINPUT_H
#define MINITOOLBARS_QMTBPOINTERINPUT_H

#include <QObject>
#include <QPoint>

class QMouseEvent;
class QWidget;

namespace MiniToolbars {

class ItemView;
class MTBxItem;
class QmtbAutoFade;
class QmtbPlacement;
class QmtbToolTips;
class ToolbarWindow;

// Press, drag, click, wheel and hover of one toolbar window, at window points
// (desktop-relative, so a drag's steps keep their meaning while the window
// moves under the pointer). Qt's mouse events and synthetic input end here.
class QmtbPointerInput : public QObject
{
    Q_OBJECT

public:
    // Pointer moves shorter than this (Manhattan distance) are ignored.
    static constexpr int moveThreshold = 6;

    // widget is the window's own widget, whose widgets never get forwarded input.
    QmtbPointerInput(ToolbarWindow& window, QWidget& widget, QmtbPlacement& placement, QmtbToolTips& toolTips,
                     QmtbAutoFade& fade);

    // A window that was not shown starts hover and drag at its origin.
    void resetPoints(const QPoint& origin);

    void pressAt(const QPoint& point);
    void moveTo(const QPoint& point);
    // buttons: modifiers, button and buttons of the release as one mask.
    void releaseAt(const QPoint& point, int buttons);
    void wheelAt(const QPoint& point, int delta);
    void handleHover(int x, int y);
    // Press, move, release, wheel and leave events of the window's widget;
    // forward: moves and releases go on to the Qt widget under the pointer.
    static bool isPointerEvent(int type);
    void widgetEvent(QEvent* event, bool forward);
    // Sends the event on to another Qt widget under the pointer (a popup
    // menu, say); false when there is none.
    bool forwardMouseEvent(QMouseEvent* event);

    bool isPressed() const { return m_pressed; }
    bool hasMoved() const { return m_moved; }
    // A popup of item closed by a press: the release of that press on item
    // is not delivered, and the press does not drag. Null clears both.
    void setClosedItem(MTBxItem* item);
    MTBxItem* closedItem() const { return m_closedItem; }

Q_SIGNALS:
    // Another item (or none) came under the pointer.
    void hovered(MiniToolbars::ItemView* item);

private:
    ToolbarWindow& m_window;
    QWidget& m_widget;
    QmtbPlacement& m_placement;
    QmtbToolTips& m_toolTips;
    QmtbAutoFade& m_fade;
    QPoint m_hover;
    QPoint m_drag;
    MTBxItem* m_closedItem = nullptr;
    bool m_suppressDrag = false;
    bool m_pressed = false;
    bool m_moved = false;
};

} // namespace MiniToolbars

#endif
