#ifndef MINITOOLBARS_QMTBANIMATION_H
#define MINITOOLBARS_QMTBANIMATION_H

#include <QObject>
#include <QRect>
#include <QTimer>

// A frame-based animation: a timer advances the progress from 0 to 1 in equal
// steps over the duration and asks for a redraw after every frame. Ends one
// tick after the progress reached 1 by emitting finished(); the owner deletes it.
class QmtbAnimation : public QObject
{
    Q_OBJECT

public:
    // The timer interval is 1000 / frameRate truncated to whole milliseconds.
    QmtbAnimation(int frameRate, float duration);
    ~QmtbAnimation() override;

    void start();
    // Keeps the progress, so a restart after the last step finishes on the next tick.
    void stop();
    // Stops and emits finished() when running; nothing otherwise.
    void finish();
    bool isRunning() const { return m_running; }

    float progress() const { return m_progress; }
    int frame() const { return m_frame; }
    int frameRate() const { return m_frameRate; }
    float duration() const { return m_duration; }
    int interval() const { return m_timer.interval(); }
    const QRect& region() const { return m_region; }
    void setRegion(const QRect& region) { m_region = region; }

Q_SIGNALS:
    void redraw(const QRect& region);
    void finished(QmtbAnimation* animation);

public Q_SLOTS:
    virtual void advance();

protected:
    virtual void applyProgress() = 0;
    virtual void requestRedraw();

private:
    QTimer m_timer;
    QRect m_region;
    int m_frameRate;
    int m_frame;
    float m_progress;
    float m_duration;
    bool m_running;
};

#endif
