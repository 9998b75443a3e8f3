#ifndef MINITOOLBARS_QMTBTOOLTIPS_H
#define MINITOOLBARS_QMTBTOOLTIPS_H

#include <QString>
#include <QTimer>

namespace MiniToolbars {

class QmtbView;

// The tooltips of one toolbar window: the single-shot timer that the hover
// evaluation starts, and whether a text this window asked for is on screen.
// The timer's timeout reaches the window's showToolTipTimeout slot.
class QmtbToolTips
{
public:
    explicit QmtbToolTips(QmtbView& window);

    // A new item is under the pointer: at once while a tooltip shows (the
    // text switches), after the tooltip delay otherwise.
    void startTimer();
    void stopTimer();
    // The text of the item under the pointer, or hides the tooltip.
    void showCurrent();
    void showText(const QString& text);
    // Hides only a tooltip this window asked for.
    void hide();

    bool isVisible() const { return m_visible; }
    bool isTimerActive() const { return m_timer.isActive(); }
    int timerInterval() const { return m_timer.interval(); }

private:
    QmtbView& m_window;
    QTimer m_timer;
    bool m_visible = false;
};

} // namespace MiniToolbars

#endif
