#ifndef MINITOOLBARS_QMTBVIEW_H
#define MINITOOLBARS_QMTBVIEW_H

#include "ToolbarWindow.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <memory>

class QmtbAnimation;

namespace MiniToolbars {

class ItemView;
class MTBxItem;
class QmtbRender;
class QWinWidget;

// The frameless, translucent tool window that shows one toolbar. It covers the
// whole virtual desktop and paints the toolbar at its origin, so moving the
// toolbar changes the origin and repaints, never the window's geometry. Only
// the area the toolbar paints is repainted, and on screen the window is
// masked to that area so that everything else stays the host's.
class QmtbView : public QWidget, public ToolbarWindow
{
    Q_OBJECT

public:
    // Antialiased outlines may reach this far beyond the items they belong to.
    static constexpr int penMargin = 2;
    // Pointer moves shorter than this (Manhattan distance) are ignored.
    static constexpr int moveThreshold = 6;

    QmtbView(MTBxView* view, QWidget* parent);
    ~QmtbView() override;

    // ToolbarWindow
    MTBxView* view() const override { return m_view; }
    void showAt(const Point& position, bool deferred) override;
    void scheduleRelayout() override;
    void getOrigin(int& x, int& y) const override;
    bool hasPopup() const override;
    double currentOpacity() override;
    void refresh() override;
    void updateFadeLock() override;
    bool autoHidingItemsHidden() const override;
    void retire() override;

    void hideToolbar();
    void setSuspended(bool suspended);
    bool isSuspended() const { return m_suspended; }
    bool isShown() const { return m_shown; }
    bool isShowPending() const { return m_showPending; }
    bool isRelayoutPending() const { return m_relayoutPending; }
    void relayout(bool force);
    void keepInsideParent();
    void moveOrigin(int x, int y, bool relative);

    // Window pixels that the toolbar paints: its bounds and grip with the pen
    // margin, clipped like the painting, plus visible child popups.
    QRegion paintedRegion() const;

    // Auto fade.
    void setFadedIn(bool fadedIn);
    bool isFadedIn() const { return m_fadedIn; }
    // Locks the fade state when the toolbar or the global switch say so.
    bool isFadeLocked();
    // Takes part in pointer-driven fading (local value and global switch).
    bool takesPartInAutoFade() const;
    // The near test for a pointer at window point (x, y).
    void updateFade(int x, int y);

    void startAnimation(QmtbAnimation* animation);
    void stopAnimation();
    bool isAnimating() const;
    QmtbAnimation* animation() const { return m_animation; }

    // Pointer protocol at window points; Qt's mouse events end here, and so
    // can synthetic input.
    void pressAt(const QPoint& point);
    void moveTo(const QPoint& point);
    void releaseAt(const QPoint& point, int buttons);
    void wheelAt(const QPoint& point, int delta);
    void handleHover(int x, int y);
    bool forwardMouseEvent(QMouseEvent* event);
    bool isPressed() const { return m_pressed; }
    bool hasMoved() const { return m_moved; }

    void showToolTipText(const QString& text);
    void hideToolTip();
    void stopToolTipTimer();
    bool isToolTipVisible() const { return m_tooltipVisible; }
    bool isToolTipTimerActive() const { return m_tooltipTimer.isActive(); }
    int toolTipTimerInterval() const { return m_tooltipTimer.interval(); }

    // Process-wide.
    static QList<QmtbView*> visibleWindows();
    static QList<QmtbView*> suspendedWindows();
    static void moveAll(int dx, int dy);
    // x, y in screen pixels.
    static void setParentClip(int x, int y, int width, int height);
    static QRect parentClipRect();
    // Auto fade of every visible window for a pointer at screen point (x, y).
    static void fadeAll(int x, int y);
    static QRect desktopGeometry();
    static bool isNativeFilterInstalled();

signals:
    void aboutToShowSubmenu(MiniToolbars::ItemView* item);
    void hovered(MiniToolbars::ItemView* newItem);

public slots:
    void showToolTipTimeout();
    void onAnimationRedraw(QRect region);
    void onAnimationFinished(QmtbAnimation* animation);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void customEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showWork();
    void closePopup();
    QPoint windowPoint(const QPoint& globalPosition) const;
    double toViewX(int x) const { return x - m_originX; }
    double toViewY(int y) const { return m_originY - y; }
    void releaseNativeFilter();
    void updateMask();
    void postFadedNotify();

    QTimer m_tooltipTimer;
    std::unique_ptr<QmtbRender> m_renderer;
    MTBxView* m_view;
    QWinWidget* m_host;
    QmtbAnimation* m_animation = nullptr;
    int m_originX = 0;
    int m_originY = 0;
    int m_hoverX = 0;
    int m_hoverY = 0;
    int m_dragX = 0;
    int m_dragY = 0;
    bool m_tooltipVisible = false;
    bool m_shown = false;
    bool m_fadedIn = true;
    QWidget* m_popup = nullptr;
    MTBxItem* m_closedItem = nullptr;
    bool m_suppressDrag = false;
    bool m_pressed = false;
    bool m_moved = false;
    bool m_showPending = false;
    bool m_relayoutPending = false;
    bool m_suspended = false;
    bool m_fadedNotifyPending = false;
    bool m_destroying = false;
    // Its toolbar was destroyed during a delivery; only deletion remains.
    bool m_retired = false;
    // What the last repaint request covered; the next one clears it as well.
    QRegion m_lastPainted;
};

} // namespace MiniToolbars

#endif
