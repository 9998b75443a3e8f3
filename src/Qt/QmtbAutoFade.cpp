#include "Qt/QmtbAutoFade.h"

#include "Qt/EventTypes.h"
#include "Core/MTBxView.h"
#include "MiniToolbars/MiniToolbar.h"
#include "Qt/QmtbFadeAnimation.h"
#include "Qt/QmtbView.h"
#include "Core/Style.h"

#include <QCoreApplication>
#include <QEvent>

namespace MiniToolbars {

QmtbAutoFade::QmtbAutoFade(QmtbView& window)
    : m_window(window)
{
}

QmtbAutoFade::~QmtbAutoFade()
{
    delete m_animation;
}

bool QmtbAutoFade::takesPartInAutoFade() const
{
    const MiniToolbar* toolbar = m_window.view()->toolbar();
    if (!toolbar)
        return false;
    const int local = toolbar->getLocalAutoFade();
    return local == 1 || (local == -1 && Style::instance()->autoFade());
}

bool QmtbAutoFade::isFadeLocked()
{
    const MiniToolbar* toolbar = m_window.view()->toolbar();
    bool locked = false;
    if (toolbar && toolbar->getDisplayOnlyNoFadeItems()) {
        m_fadedIn = false;
        locked = true;
    } else if (!Style::instance()->autoFade() && (!toolbar || toolbar->getLocalAutoFade() != 1)) {
        m_fadedIn = true;
        locked = true;
    }
    if (locked) {
        stopAnimation();
        m_window.refresh();
    }
    return locked;
}

bool QmtbAutoFade::autoHidingItemsHidden() const
{
    return !m_fadedIn && !isAnimating() && m_window.view()->hasNoFadeItems();
}

void QmtbAutoFade::setFadedIn(bool fadedIn)
{
    if (isFadeLocked() || m_fadedIn == fadedIn)
        return;
    const double from = currentOpacity();
    m_fadedIn = fadedIn;
    if (ToolbarWindow::Observer* observer = m_window.observer())
        observer->fadedInChanged(fadedIn);
    const Style* style = Style::instance();
    float to = 1.0f;
    if (!fadedIn)
        to = m_window.view()->hasNoFadeItems() ? 0.0f : style->fadedOpacity();
    const float duration = fadedIn ? style->fadeInDuration() : style->fadeOutDuration();

    QmtbAnimation* previous = m_animation;
    m_animation = nullptr;
    delete previous;
    startAnimation(new QmtbFadeAnimation(&m_window, static_cast<float>(from), to, style->fadeFrameRate(), duration));
}

double QmtbAutoFade::currentOpacity()
{
    if (auto* fade = dynamic_cast<QmtbFadeAnimation*>(m_animation); fade && fade->isRunning())
        return fade->value();
    if (m_fadedIn)
        return 1.0;
    if (m_window.view()->hasNoFadeItems())
        return 0.0;
    postFadedNotify();
    return Style::instance()->fadedOpacity();
}

void QmtbAutoFade::postFadedNotify()
{
    // One notification per pass of the event loop, however often it paints.
    if (m_fadedNotifyPending)
        return;
    m_fadedNotifyPending = true;
    QCoreApplication::postEvent(&m_window, new QEvent(static_cast<QEvent::Type>(EventTypes::fadedNotify())));
}

void QmtbAutoFade::updateFade(int x, int y)
{
    bool near = m_window.hasPopup();
    if (!near) {
        float top = 0.0f;
        float left = 0.0f;
        float bottom = 0.0f;
        float right = 0.0f;
        auto* fade = dynamic_cast<QmtbFadeAnimation*>(m_animation);
        if (m_fadedIn || (fade && fade->isFadingOut()))
            m_window.view()->getBounds(top, left, bottom, right);
        else
            m_window.view()->getNoFadeBounds(top, left, bottom, right);
        int originX = 0;
        int originY = 0;
        m_window.getOrigin(originX, originY);
        const double dx = x - originX;
        const double dy = y - originY;
        const Style* style = Style::instance();
        const double margin = m_fadedIn ? style->stayNearMargin() : style->nearMargin();
        near = -margin <= dx && dx <= right + margin && -margin <= dy && dy <= -bottom + margin;
    }
    if (near != m_fadedIn)
        setFadedIn(near);
}

void QmtbAutoFade::startAnimation(QmtbAnimation* animation)
{
    if (!animation)
        return;
    if (animation != m_animation) {
        QmtbAnimation* previous = m_animation;
        m_animation = animation;
        delete previous;
    }
    QObject::connect(animation, &QmtbAnimation::redraw, &m_window, &QmtbView::onAnimationRedraw,
                     Qt::UniqueConnection);
    QObject::connect(animation, &QmtbAnimation::finished, &m_window, &QmtbView::onAnimationFinished,
                     Qt::UniqueConnection);
    animation->start();
    // Items that come back from opacity 0 need their place in the window
    // before the first frame, and items fading out keep theirs until the
    // last: the window is placed once the fade runs.
    m_window.refresh();
}

void QmtbAutoFade::stopAnimation()
{
    if (m_animation)
        m_animation->finish();
}

bool QmtbAutoFade::isAnimating() const
{
    return m_animation && m_animation->isRunning();
}

void QmtbAutoFade::animationFinished(QmtbAnimation* animation)
{
    if (animation == m_animation)
        m_animation = nullptr;
    delete animation;
}

} // namespace MiniToolbars
