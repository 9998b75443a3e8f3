#ifndef MINITOOLBARS_QMTBAUTOFADE_H
#define MINITOOLBARS_QMTBAUTOFADE_H

class QmtbAnimation;

namespace MiniToolbars {

class QmtbView;

// The fade state of one toolbar window: the state it heads for, the fade
// animation that takes it there, the fade lock and the near test that the
// pointer drives.
class QmtbAutoFade
{
public:
    explicit QmtbAutoFade(QmtbView& window);
    ~QmtbAutoFade();
    QmtbAutoFade(const QmtbAutoFade&) = delete;
    QmtbAutoFade& operator=(const QmtbAutoFade&) = delete;

    bool isFadedIn() const { return m_fadedIn; }
    void setFadedIn(bool fadedIn);
    // Locks the fade state when the toolbar or the global switch say so.
    bool isFadeLocked();
    // Takes part in pointer-driven fading (local value and global switch).
    bool takesPartInAutoFade() const;
    // The near test for a pointer at window point (x, y).
    void updateFade(int x, int y);
    double currentOpacity();
    // What currentOpacity answers 0 for, without its side effects.
    bool autoHidingItemsHidden() const;
    // The faded notification posted by currentOpacity has been handled.
    void fadedNotifyDelivered() { m_fadedNotifyPending = false; }

    void startAnimation(QmtbAnimation* animation);
    void stopAnimation();
    bool isAnimating() const;
    QmtbAnimation* animation() const { return m_animation; }
    // Deletes a finished animation, forgetting it when it is the current one.
    void animationFinished(QmtbAnimation* animation);

private:
    void postFadedNotify();

    QmtbView& m_window;
    QmtbAnimation* m_animation = nullptr;
    bool m_fadedIn = true;
    bool m_fadedNotifyPending = false;
};

} // namespace MiniToolbars

#endif
