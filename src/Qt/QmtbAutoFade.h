#ifndef MINITOOLBARS_QMTBAUTOFADE_H
#define MINITOOLBARS_QMTBAUTOFADE_H

#include <QObject>
#include <QRect>

class QmtbAnimation;
class QWidget;

namespace MiniToolbars {

class ToolbarWindow;

// The fade state of one toolbar window: the state it heads for, the fade
// animation that takes it there, the fade lock and the near test that the
// pointer drives. Frames of the running fade come out as redraw(); the
// window decides what a finished fade means for it.
class QmtbAutoFade : public QObject
{
    Q_OBJECT

public:
    // The fade animation repaints widget, the window's own widget.
    QmtbAutoFade(ToolbarWindow& window, QWidget& widget);
    ~QmtbAutoFade() override;

    bool isFadedIn() const { return m_fadedIn; }
    void setFadedIn(bool fadedIn);
    // The toolbar or the global switch lock the fade state.
    bool isFadeLocked() const;
    // Puts a locked fade in its state at once, stopping any fade; true when locked.
    bool applyFadeLock();
    // Takes part in pointer-driven fading (local value and global switch).
    bool takesPartInAutoFade() const;
    // The near test for a pointer at window point (x, y).
    void updateFade(int x, int y);
    double currentOpacity() const;
    // Auto-hiding items rest at opacity 0 beside items that do not fade.
    bool autoHidingItemsHidden() const;
    // Fading items rest faint beside nothing that stays: the host hears of it.
    bool restsFaded() const;

    void startAnimation(QmtbAnimation* animation);
    void stopAnimation();
    bool isAnimating() const;
    QmtbAnimation* animation() const { return m_animation; }

Q_SIGNALS:
    // region in window points; empty stands for the whole toolbar.
    void redraw(QRect region);
    // The last fade ended (it was not replaced by another).
    void finished();

private:
    void animationFinished(QmtbAnimation* animation);

    ToolbarWindow& m_window;
    QWidget& m_widget;
    QmtbAnimation* m_animation = nullptr;
    bool m_fadedIn = true;
};

} // namespace MiniToolbars

#endif
