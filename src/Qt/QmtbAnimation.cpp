#include "Qt/QmtbAnimation.h"

#include <algorithm>

QmtbAnimation::QmtbAnimation(int frameRate, float duration)
    : QObject(nullptr)
    , m_frameRate(frameRate)
    , m_frame(0)
    , m_progress(0.0f)
    , m_duration(duration)
    , m_running(false)
{
    // A rate below 1 would give an infinite interval; tick once a second instead.
    m_timer.setInterval(static_cast<int>(1000.0 / std::max(frameRate, 1)));
    m_timer.setSingleShot(false);
    connect(&m_timer, &QTimer::timeout, this, &QmtbAnimation::advance);
}

QmtbAnimation::~QmtbAnimation()
{
    m_timer.stop();
}

void QmtbAnimation::start()
{
    m_running = true;
    m_timer.start();
}

void QmtbAnimation::stop()
{
    m_frame = 0;
    m_running = false;
    m_timer.stop();
}

void QmtbAnimation::finish()
{
    if (!m_running)
        return;
    stop();
    Q_EMIT finished(this);
}

void QmtbAnimation::advance()
{
    if (m_progress == 1.0f) {
        requestRedraw();
        m_timer.stop();
        stop();
        // A receiver may delete this animation: nothing may follow the emission.
        Q_EMIT finished(this);
        return;
    }

    ++m_frame;
    // Double arithmetic, single-precision result: the last step lands exactly on 1.
    // A rate or duration that is not positive (or NaN) jumps straight to the end.
    float progress = 1.0f;
    if (m_frameRate > 0 && m_duration > 0.0f)
        progress = static_cast<float>(
            m_frame / (static_cast<double>(m_frameRate) * static_cast<double>(m_duration)));
    if (!(progress <= 1.0f))
        progress = 1.0f;
    m_progress = progress;
    applyProgress();
    requestRedraw();
}

void QmtbAnimation::requestRedraw()
{
    Q_EMIT redraw(m_region);
}
