#ifndef MINITOOLBARS_QMTBWINDOWPOPUP_H
#define MINITOOLBARS_QMTBWINDOWPOPUP_H

#include <QObject>
#include <QPoint>

#include <functional>

class QMouseEvent;
class QWidget;
class QWindow;

namespace MiniToolbars {

class PopupWidget;
class QmtbPlacement;
class QmtbPointerInput;
class QmtbToolTips;
class ToolbarWindow;

// The one popup (menu, list, field) registered with a toolbar window, and
// what its closing leaves behind: registering one closes the previous one;
// while one is open the window shows no tooltips and does not drag; a press
// that closes it leaves a release that must not open it again; the host's
// window losing the keyboard to another window closes it.
class QmtbWindowPopup : public QObject
{
public:
    // widget is the window's own widget; deliverRelease hands a release the
    // popup took from its receiver to the window's own release handling.
    QmtbWindowPopup(ToolbarWindow& window, QWidget& widget, QmtbPlacement& placement, QmtbPointerInput& pointer,
                    QmtbToolTips& toolTips, std::function<void(QMouseEvent*)> deliverRelease);

    void setPopup(PopupWidget* popup);
    PopupWidget* popup() const { return m_popup; }
    // The popup closed; completed when the user chose something.
    void popupClosed(PopupWidget* popup, bool completed);
    // Closes the popup because of a press on the window: the release of that
    // press must not open it again.
    void closePopup();
    // Closes the popup without a choice (Escape, the window going away).
    void dismissPopup();
    // Forgets the popup, which its item deletes (the window is going away).
    void forget() { m_popup = nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void replayClosingPress();
    void onFocusWindowChanged(QWindow* focusWindow);

    ToolbarWindow& m_window;
    QWidget& m_widget;
    QmtbPlacement& m_placement;
    QmtbPointerInput& m_pointer;
    QmtbToolTips& m_toolTips;
    std::function<void(QMouseEvent*)> m_deliverRelease;
    PopupWidget* m_popup = nullptr;
    // Screen point of the last press while a popup was open.
    QPoint m_lastPress;
    bool m_awaitingRelease = false;
};

} // namespace MiniToolbars

#endif
