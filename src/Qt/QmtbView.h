#ifndef MINITOOLBARS_QMTBVIEW_H
#define MINITOOLBARS_QMTBVIEW_H

#include "Compat/QtCompat.h"
#include "Core/ToolbarWindow.h"

#include <QEvent>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QWidget>

#include <memory>

class QmtbAnimation;
class QWindow;

namespace MiniToolbars {

class ItemView;
class PopupWidget;
class QmtbAutoFade;
class QmtbPlacement;
class QmtbPointerInput;
class QmtbRender;
class QmtbToolTips;
class QWinWidget;
struct NativeMessage;

// The frameless, translucent tool window that shows one toolbar. It covers
// what the toolbar paints, and moves and resizes with it; coordinates stay
// desktop-relative window points throughout (see QmtbPlacement). The window
// runs showing, hiding and relayout itself and hands placement, fading,
// pointer input and tooltips to the parts it owns.
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
    void fadeIn() override { setFadedIn(true); }
    bool autoHidingItemsHidden() const override;
    void retire() override;
    void release() override;

    void hideToolbar();
    void setSuspended(bool suspended);
    bool isSuspended() const { return m_suspended; }
    bool isShown() const { return m_shown; }
    bool isShowPending() const { return m_showPending; }
    bool isRelayoutPending() const { return m_relayoutPending; }
    bool isLayoutPending() const override { return m_showPending || m_relayoutPending; }
    void relayout(bool force);
    void keepInsideParent();
    void moveOrigin(int x, int y, bool relative);

    // Window points that the toolbar paints: its bounds and grip with the pen
    // margin, clipped like the painting, plus visible child popups. The
    // window covers its bounding rectangle and is shaped to it.
    QRegion paintedRegion() const;
    // Window point of the window's top-left corner, and the conversion of
    // window points into the window's own widget coordinates.
    QPoint windowOffset() const;
    QPoint toLocal(const QPoint& windowPoint) const;
    double toViewX(int x) const;
    double toViewY(int y) const;

    // Auto fade.
    void setFadedIn(bool fadedIn);
    bool isFadedIn() const;
    bool isFadeLocked();
    bool takesPartInAutoFade() const;
    void updateFade(int x, int y);
    void startAnimation(QmtbAnimation* animation);
    void stopAnimation();
    bool isAnimating() const;
    QmtbAnimation* animation() const;

    // Pointer protocol at window points.
    void pressAt(const QPoint& point);
    void moveTo(const QPoint& point);
    void releaseAt(const QPoint& point, int buttons);
    void wheelAt(const QPoint& point, int delta);
    void handleHover(int x, int y);
    bool forwardMouseEvent(QMouseEvent* event);
    bool isPressed() const;
    bool hasMoved() const;

    // Popups. One popup at a time: registering one closes the previous one.
    // While one is registered the window shows no tooltips and does not drag.
    void setPopup(PopupWidget* popup);
    PopupWidget* popup() const { return m_popup; }
    // The popup closed; completed when the user chose something.
    void popupClosed(PopupWidget* popup, bool completed);
    // Closes the popup because of a press on this window: the release of that
    // press must not open it again.
    void closePopup();
    // Closes the popup without a choice (Escape, the window going away).
    void dismissPopup();
    // The item whose popup a press closed, until the release; null otherwise.
    MTBxItem* closedItem() const;
    // Screen pixel of a layout point, truncated.
    QPoint toScreen(const Point& point) const;

    // Native input. winEvent takes a message addressed to this window: a key
    // goes to the view as ToolbarKeyDown/ToolbarKeyUp, and a pointer message
    // is shared out to the other toolbars (this one gets Qt's own event).
    // True consumes the message.
    bool winEvent(const NativeMessage& message);
    // A synthetic move or release at a screen point, as the native filter
    // gives every visible toolbar; it is not forwarded to other widgets, since
    // the real event goes on to its own target.
    void deliverPointer(QEvent::Type type, const QPoint& screenPoint, Qt::MouseButton button,
                        Qt::MouseButtons buttons);

    // Tooltips.
    QmtbToolTips& toolTips() const { return *m_toolTips; }
    void hideToolTip();
    void stopToolTipTimer();
    bool isToolTipVisible() const;
    bool isToolTipTimerActive() const;
    int toolTipTimerInterval() const;

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
    // region in window points; empty stands for the whole toolbar.
    void onAnimationRedraw(QRect region);
    void onAnimationFinished(QmtbAnimation* animation);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void customEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, QtCompat::NativeEventResult* result) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void detachFromView();
    void showWork();
    void releaseNativeFilter();
    void onFocusWindowChanged(QWindow* focusWindow);
    void replayClosingPress();

    std::unique_ptr<QmtbRender> m_renderer;
    MTBxView* m_view;
    QWinWidget* m_host;
    std::unique_ptr<QmtbPlacement> m_placement;
    std::unique_ptr<QmtbAutoFade> m_fade;
    std::unique_ptr<QmtbPointerInput> m_pointer;
    std::unique_ptr<QmtbToolTips> m_toolTips;
    PopupWidget* m_popup = nullptr;
    // Screen point of the last press while a popup was open.
    QPoint m_lastPress;
    bool m_awaitingRelease = false;
    bool m_shown = false;
    bool m_showPending = false;
    bool m_relayoutPending = false;
    bool m_suspended = false;
    bool m_destroying = false;
    // Its toolbar was destroyed during a delivery; only deletion remains.
    bool m_retired = false;
    // A synthetic pointer event from native input is being delivered.
    bool m_synthetic = false;
    // Local pixels the last repaint request covered; the next one clears them
    // as well while the window stays where it is.
    QRegion m_lastPainted;
};

} // namespace MiniToolbars

#endif
