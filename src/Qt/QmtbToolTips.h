#ifndef MINITOOLBARS_QMTBTOOLTIPS_H
#define MINITOOLBARS_QMTBTOOLTIPS_H

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <QTimer>

namespace MiniToolbars {

class ToolbarWindow;

// The tooltips of one toolbar window: the single-shot timer that the hover
// evaluation starts, and whether a text this window asked for is on screen.
// The timer's timeout is a delivery of the window: the debug tooltip asks
// the host for nothing, but a tooltip shown may run through Qt's event loop.
class QmtbToolTips
{
public:
    // widget is the window's own widget; an overlay's tooltips belong to it.
    QmtbToolTips(ToolbarWindow& window, QWidget& widget);
    // Where the pointer is, in screen pixels, for an overlay's tooltips.
    void setPointer(const QPoint& screenPoint) { m_pointer = screenPoint; }

    // A new item is under the pointer: at once while a tooltip shows (the
    // text switches), after the tooltip delay otherwise.
    void startTimer();
    void stopTimer();
    // The timer ran out: the text of the item under the pointer, or none.
    void timeout();
    void showText(const QString& text);
    // Hides only a tooltip this window asked for.
    void hide();

    bool isVisible() const { return m_visible; }
    bool isTimerActive() const { return m_timer.isActive(); }
    int timerInterval() const { return m_timer.interval(); }

private:
    ToolbarWindow& m_window;
    QWidget& m_widget;
    // Holds the tooltips' style sheet of a theme or scale that needs one.
    QPointer<QWidget> m_sheetHolder;
    QPoint m_pointer;
    QTimer m_timer;
    bool m_visible = false;
};

} // namespace MiniToolbars

#endif
