#ifndef MINITOOLBARS_QMTBVIEW_H
#define MINITOOLBARS_QMTBVIEW_H

#include "Compat/QtCompat.h"
#include "Core/ToolbarWindow.h"

#include <QEvent>
#include <QPoint>
#include <QRegion>
#include <QWidget>

#include <memory>

class QWindow;

namespace MiniToolbars {

class ItemView;
class PopupWidget;
class QmtbAutoFade;
class QmtbPlacement;
class QmtbPointerInput;
class QmtbRender;
class QmtbToolTips;
class QmtbWindowPopup;
class QWinWidget;
struct NativeMessage;

// The frameless, translucent tool window that shows one toolbar. It covers
// what the toolbar paints, and moves and resizes with it; coordinates stay
// desktop-relative window points throughout (see QmtbPlacement). The window
// runs showing, hiding, relayout and its popup; placement, fading, pointer
// input and tooltips are parts it owns, which callers reach directly.
class QmtbView : public QWidget, public ToolbarWindow
{
    Q_OBJECT

public:
    // With overlayParent, a child widget of that window (the host's top-level
    // window); otherwise a top-level window tied to host.
    QmtbView(MTBxView* view, QWinWidget* host, QWidget* overlayParent = nullptr);
    ~QmtbView() override;

    // ToolbarWindow
    MTBxView* view() const override { return m_view; }
    void showAt(const Point& position, bool deferred) override;
    void scheduleRelayout() override;
    void getOrigin(int& x, int& y) const override;
    bool hasPopup() const override;
    double currentOpacity() const override;
    bool isShown() const override { return m_shown; }
    void moveOrigin(int x, int y, bool relative) override;
    void closePopup() override;
    void refresh() override;
    void updateFadeLock() override;
    void fadeIn() override;
    bool autoHidingItemsHidden() const override;
    bool isLayoutPending() const override { return m_showPending || m_relayoutPending; }
    void retire() override;
    void release() override;

    QmtbPlacement& placement() const { return *m_placement; }
    QmtbAutoFade& fade() const { return *m_fade; }
    QmtbPointerInput& pointer() const { return *m_pointer; }
    QmtbToolTips& toolTips() const { return *m_toolTips; }
    QmtbWindowPopup& popups() const { return *m_popups; }
    // A child widget of the host's top-level window rather than a window of its own.
    bool isOverlay() const { return m_overlay; }
    // The solid look: the items lie, opaque, on a panel with a shadow.
    void setSolidLook(bool solid);

    void hideToolbar();
    void setSuspended(bool suspended);
    bool isSuspended() const { return m_suspended; }
    bool isShowPending() const { return m_showPending; }
    void relayout(bool force);

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

Q_SIGNALS:
    void aboutToShowSubmenu(MiniToolbars::ItemView* item);
    void hovered(MiniToolbars::ItemView* newItem);

protected:
    bool event(QEvent* event) override;
    void customEvent(QEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, QtCompat::NativeEventResult* result) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void detachFromView();
    void showWork();
    void releaseNativeFilter();
    void onFadeRedraw(QRect region);
    void onFadeFinished();
    void postFadedNotify();

    std::unique_ptr<QmtbRender> m_renderer;
    MTBxView* m_view;
    QWinWidget* m_host;
    std::unique_ptr<QmtbPlacement> m_placement;
    std::unique_ptr<QmtbAutoFade> m_fade;
    std::unique_ptr<QmtbToolTips> m_toolTips;
    std::unique_ptr<QmtbPointerInput> m_pointer;
    std::unique_ptr<QmtbWindowPopup> m_popups;
    bool m_shown = false;
    bool m_showPending = false;
    bool m_relayoutPending = false;
    bool m_suspended = false;
    const bool m_overlay;
    // Its view let go of it: deletion is the view's doing.
    bool m_released = false;
    bool m_destroying = false;
    // Its toolbar was destroyed during a delivery; only deletion remains.
    bool m_retired = false;
    // A synthetic pointer event from native input is being delivered.
    bool m_synthetic = false;
    // One faded notification per pass of the event loop, however often it paints.
    bool m_fadedNotifyPending = false;
    // Local pixels the last repaint request covered; the next one clears them
    // as well while the window stays where it is.
    QRegion m_lastPainted;
};

} // namespace MiniToolbars

#endif
