#include "Qt/QmtbFadeAnimation.h"

#include <algorithm>
#include <cmath>

namespace {

float sanitizedOpacity(float opacity)
{
    if (std::isnan(opacity))
        return 1.0f;
    return std::clamp(opacity, 0.0f, 1.0f);
}

} // namespace

QmtbFadeAnimation::QmtbFadeAnimation(QWidget* target, float from, float to, int frameRate,
                                     float duration)
    : QmtbAnimation(frameRate, duration)
    , m_target(target)
    , m_value(sanitizedOpacity(from))
    , m_to(sanitizedOpacity(to))
    , m_from(sanitizedOpacity(from))
    , m_delta(m_to - m_from)
{
}

void QmtbFadeAnimation::applyProgress()
{
    m_value = m_delta * progress() + m_from;
}

void QmtbFadeAnimation::requestRedraw()
{
    if (!m_target)
        return;
    if (m_redrawRegion.isEmpty())
        m_target->update();
    else
        m_target->update(m_redrawRegion);
}
