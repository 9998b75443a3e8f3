#ifndef MINITOOLBARS_BENCHMARKS_BENCHMARKWINDOWS_H
#define MINITOOLBARS_BENCHMARKS_BENCHMARKWINDOWS_H

// Shared by the benchmarks that show toolbar windows: a toolbar of captioned
// buttons, and a wait for a widget's first paint.
#include "MiniToolbars/MTBxButton.h"
#include "MiniToolbars/MiniToolbar.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QObject>

#include <memory>

// A toolbar of this many captioned buttons.
inline std::unique_ptr<MiniToolbars::MiniToolbar> makeToolbar(int items)
{
    using namespace MiniToolbars;
    static int context = 0;
    static const wchar_t* const texts[] = { L"Bold", L"Italic", L"Underline", L"Strike" };
    auto toolbar = std::make_unique<MiniToolbar>(MTBxString(L"bench"), &context);
    for (int i = 0; i < items; ++i) {
        auto* item = new MTBxButton(MTBxString(texts[i % 4]), &context);
        item->setText(MTBxString(texts[i % 4]));
        item->setShowText(true);
        toolbar->addItem(item);
    }
    return toolbar;
}

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
