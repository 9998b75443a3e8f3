#ifndef MINITOOLBARS_BENCHMARKS_FIRSTPAINT_H
#define MINITOOLBARS_BENCHMARKS_FIRSTPAINT_H

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QObject>

// Waits for the end of a widget's first paint; false after two seconds.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QObject* target) { target->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted = true;
        return false;
    }
    bool wait() const
    {
        QElapsedTimer clock;
        clock.start();
        // The paint event's handler has returned once processEvents has.
        while (!m_painted && clock.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        return m_painted;
    }

private:
    bool m_painted = false;
};

#endif
