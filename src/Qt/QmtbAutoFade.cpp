#include "Qt/QmtbAutoFade.h"

#include "Core/FadeLock.h"
#include "Core/MTBxView.h"
#include "Core/Style.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/MiniToolbar.h"
#include "Qt/QmtbFadeAnimation.h"

namespace MiniToolbars {

namespace {

FadeLock lockOf(const ToolbarWindow& window)
{
    const MTBxView* view = window.view();
    return FadeLock::of(view ? view->toolbar() : nullptr, Style::instance()->autoFade());
}

} // namespace

QmtbAutoFade::QmtbAutoFade(ToolbarWindow& window, QWidget& widget)
    : m_window(window)
    , m_widget(widget)
{
}

QmtbAutoFade::~QmtbAutoFade()
{
    delete m_animation;
}

bool QmtbAutoFade::takesPartInAutoFade() const
{
    const MTBxView* view = m_window.view();
    const MiniToolbar* toolbar = view ? view->toolbar() : nullptr;
    if (!toolbar)
        return false;
    const int local = toolbar->getLocalAutoFade();
    return local == 1 || (local == -1 && Style::instance()->autoFade());
}

bool QmtbAutoFade::isFadeLocked() const
{
    return lockOf(m_window).locked;
}

bool QmtbAutoFade::applyFadeLock()
{
    const FadeLock lock = lockOf(m_window);
    if (!lock.locked)
        return false;
    m_fadedIn = lock.fadedIn;
    stopAnimation();
    m_window.refresh();
    return true;
}

bool QmtbAutoFade::autoHidingItemsHidden() const
{
    const MTBxView* view = m_window.view();
    return !m_fadedIn && !isAnimating() && view && view->hasNoFadeItems();
}

bool QmtbAutoFade::restsFaded() const
{
    const MTBxView* view = m_window.view();
    return !m_fadedIn && !isAnimating() && view && !view->hasNoFadeItems();
}

void QmtbAutoFade::setFadedIn(bool fadedIn)
{
    if (applyFadeLock() || m_fadedIn == fadedIn)
        return;
    const double from = currentOpacity();
    m_fadedIn = fadedIn;
    if (ToolbarWindow::Observer* observer = m_window.observer())
        observer->fadedInChanged(fadedIn);
    const Style* style = Style::instance();
    const MTBxView* view = m_window.view();
    float to = 1.0f;
    if (!fadedIn)
        to = view && view->hasNoFadeItems() ? 0.0f : style->fadedOpacity();
    const float duration = fadedIn ? style->fadeInDuration() : style->fadeOutDuration();

    QmtbAnimation* previous = m_animation;
    m_animation = nullptr;
    delete previous;
    startAnimation(new QmtbFadeAnimation(&m_widget, static_cast<float>(from), to, style->fadeFrameRate(), duration));
}

double QmtbAutoFade::currentOpacity() const
{
    if (auto* fade = dynamic_cast<QmtbFadeAnimation*>(m_animation); fade && fade->isRunning())
        return fade->value();
    if (m_fadedIn)
        return 1.0;
    const MTBxView* view = m_window.view();
    return view && view->hasNoFadeItems() ? 0.0 : Style::instance()->fadedOpacity();
}

void QmtbAutoFade::updateFade(int x, int y)
{
    const MTBxView* view = m_window.view();
    if (!view)
        return;
    bool near = m_window.hasPopup();
    if (!near) {
        float top = 0.0f;
        float left = 0.0f;
        float bottom = 0.0f;
        float right = 0.0f;
        auto* fade = dynamic_cast<QmtbFadeAnimation*>(m_animation);
        if (m_fadedIn || (fade && fade->isFadingOut()))
            view->getBounds(top, left, bottom, right);
        else
            view->getNoFadeBounds(top, left, bottom, right);
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
    connect(animation, &QmtbAnimation::redraw, this, &QmtbAutoFade::redraw, Qt::UniqueConnection);
    connect(animation, &QmtbAnimation::finished, this, &QmtbAutoFade::animationFinished, Qt::UniqueConnection);
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

// A finished animation is deleted, forgotten when it is the current one.
void QmtbAutoFade::animationFinished(QmtbAnimation* animation)
{
    const bool current = animation == m_animation;
    if (current)
        m_animation = nullptr;
    delete animation;
    if (current)
        Q_EMIT finished();
}

} // namespace MiniToolbars
