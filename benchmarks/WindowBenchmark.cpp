// Cost of one fade frame of a shown toolbar and the memory one toolbar window
// takes, on whatever desktop the program runs on (run it under Xvfb with
// different screen sizes to compare). A frame repaints what the toolbar
// covers; the unmasked whole-window variant shows what repainting the
// desktop-sized window would cost instead.
#include "Controller.h"
#include "ControllerObserver.h"
#include "MTBxButton.h"
#include "MiniToolbar.h"
#include "QmtbController.h"
#include "QmtbView.h"
#include "Style.h"

#include <QCoreApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <memory>
#include <unistd.h>

using namespace MiniToolbars;

namespace {

class ScreenObserver : public ControllerObserver
{
};

std::unique_ptr<MiniToolbar> makeToolbar()
{
    static int context = 0;
    auto toolbar = std::make_unique<MiniToolbar>(MTBxString(L"bench"), &context);
    for (const wchar_t* text : { L"Bold", L"Italic", L"Underline", L"Strike" }) {
        auto* item = new MTBxButton(MTBxString(text), &context);
        item->setText(MTBxString(text));
        item->setShowText(true);
        toolbar->addItem(item);
    }
    return toolbar;
}

long residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * sysconf(_SC_PAGESIZE) : 0;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

struct ShownToolbar
{
    ShownToolbar()
        : controller(Controller::createInstance())
        , toolbar(makeToolbar())
    {
        controller->showToolbar(toolbar.get(), 400, 300, &observer);
        window = QmtbController::windowOf(toolbar.get());
        settle();
    }
    ~ShownToolbar()
    {
        controller->closeToolbar(toolbar.get());
        toolbar.reset();
    }

    ScreenObserver observer;
    std::unique_ptr<Controller> controller;
    std::unique_ptr<MiniToolbar> toolbar;
    QmtbView* window = nullptr;
};

void setDesktopCounters(benchmark::State& state, const QmtbView* window)
{
    state.counters["desktopW"] = window->width();
    state.counters["desktopH"] = window->height();
}

void BM_FadeFrameToolbarArea(benchmark::State& state)
{
    Style::setXHeightOverride(6);
    ShownToolbar shown;
    const QRegion area = shown.window->paintedRegion();
    for (auto _ : state)
        shown.window->repaint(area);
    setDesktopCounters(state, shown.window);
    state.counters["areaPx"] = area.boundingRect().width() * area.boundingRect().height();
}
BENCHMARK(BM_FadeFrameToolbarArea)->Unit(benchmark::kMicrosecond);

// Without the shape a desktop-sized translucent window repaints and flushes
// every pixel per frame.
void BM_FadeFrameWholeWindowUnmasked(benchmark::State& state)
{
    Style::setXHeightOverride(6);
    ShownToolbar shown;
    shown.window->clearMask();
    for (auto _ : state)
        shown.window->repaint();
    setDesktopCounters(state, shown.window);
}
BENCHMARK(BM_FadeFrameWholeWindowUnmasked)->Unit(benchmark::kMicrosecond);

// One shown window: the backing store a desktop-sized ARGB window would need
// (estimate) against the growth of the resident set when it is shown.
void BM_FadeWindowMemory(benchmark::State& state)
{
    Style::setXHeightOverride(6);
    std::unique_ptr<Controller> warmUp(Controller::createInstance());
    {
        // Fonts, icons and the first window's one-off costs are not the window's.
        ShownToolbar first;
    }
    long before = 0;
    long after = 0;
    double estimate = 0;
    for (auto _ : state) {
        before = residentBytes();
        ShownToolbar shown;
        after = residentBytes();
        estimate = 4.0 * shown.window->width() * shown.window->height();
        setDesktopCounters(state, shown.window);
    }
    state.counters["estimateMiB"] = estimate / (1024.0 * 1024.0);
    state.counters["measuredMiB"] = (after - before) / (1024.0 * 1024.0);
}
BENCHMARK(BM_FadeWindowMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
