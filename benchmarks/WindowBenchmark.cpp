// What one shown toolbar window costs on whatever desktop the program runs on
// (scripts/benchmarks.sh runs it under Xvfb at two screen sizes): the backing
// store Qt keeps for it, one fade frame, a repaint of the whole window, and
// the time from showToolbar to the end of the first paint next to a QToolBar
// with as many actions shown in the same run.
#include "BenchmarkWindows.h"
#include "Core/Style.h"
#include "MiniToolbars/Controller.h"
#include "MiniToolbars/ControllerObserver.h"
#include "MiniToolbars/MiniToolbar.h"
#include "MiniToolbars/MTBxButton.h"
#include "Qt/QmtbAutoFade.h"
#include "Qt/QmtbController.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QmtbView.h"

#include <QAction>
#include <QBackingStore>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace MiniToolbars;

namespace {

constexpr double mebibyte = 1024.0 * 1024.0;

class ScreenObserver : public ControllerObserver
{
};

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

// Bytes of the ARGB backing store Qt keeps for a top-level widget.
double backingStoreBytes(const QWidget* window)
{
    const QBackingStore* store = window->backingStore();
    if (!store)
        return 0.0;
    const double ratio = window->devicePixelRatioF();
    return 4.0 * store->size().width() * ratio * store->size().height() * ratio;
}

struct ShownToolbar
{
    explicit ShownToolbar(int items = 4)
        : controller(Controller::createInstance())
        , toolbar(makeToolbar(items))
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

void setDesktopCounters(benchmark::State& state)
{
    const QRect desktop = QmtbCoordinates::desktopGeometry();
    state.counters["desktopW"] = desktop.width();
    state.counters["desktopH"] = desktop.height();
}

// One frame of a running fade: the window repaints what the toolbar covers.
void BM_FadeFrame(benchmark::State& state)
{
    Style::setXHeightOverride(6);
    ShownToolbar shown;
    for (auto _ : state)
        Q_EMIT shown.window->fade().redraw(QRect());
    setDesktopCounters(state);
    const QRect area = shown.window->placement().paintedRegion().boundingRect();
    state.counters["areaPx"] = area.width() * area.height();
}
// On a shared machine the fastest repetition says most about the work itself.
double fastest(const std::vector<double>& values)
{
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

BENCHMARK(BM_FadeFrame)->ComputeStatistics("min", fastest)->Unit(benchmark::kMicrosecond);

// Repainting and flushing every pixel of the window.
void BM_WholeWindowRepaint(benchmark::State& state)
{
    Style::setXHeightOverride(6);
    ShownToolbar shown;
    for (auto _ : state)
        shown.window->repaint();
    setDesktopCounters(state);
    state.counters["windowPx"] = shown.window->width() * shown.window->height();
}
BENCHMARK(BM_WholeWindowRepaint)->ComputeStatistics("min", fastest)->Unit(benchmark::kMicrosecond);

// One shown window: the backing store Qt holds for it, and the growth of the
// resident set when it is shown.
void BM_WindowMemory(benchmark::State& state)
{
    Style::setXHeightOverride(6);
    std::unique_ptr<Controller> warmUp(Controller::createInstance());
    {
        // Fonts, icons and the first window's one-off costs are not the window's.
        ShownToolbar first;
    }
    long before = 0;
    long after = 0;
    double store = 0;
    for (auto _ : state) {
        before = residentBytes();
        ShownToolbar shown;
        after = residentBytes();
        store = backingStoreBytes(shown.window);
    }
    setDesktopCounters(state);
    state.counters["backingStoreMiB"] = store / mebibyte;
    state.counters["residentMiB"] = (after - before) / mebibyte;
}
BENCHMARK(BM_WindowMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

constexpr int firstPaintItems = 20;

// From showToolbar (which creates view and window) to the end of the first
// paint of a 20-item toolbar.
void BM_ShowToFirstPaint(benchmark::State& state)
{
    Style::setXHeightOverride(6);
    std::unique_ptr<Controller> controller(Controller::createInstance());
    ScreenObserver observer;
    { ShownToolbar warmUp(firstPaintItems); }
    for (auto _ : state) {
        auto toolbar = makeToolbar(firstPaintItems);
        QElapsedTimer clock;
        clock.start();
        controller->showToolbar(toolbar.get(), 400, 300, &observer);
        FirstPaint paint(QmtbController::windowOf(toolbar.get()));
        if (!paint.wait())
            state.SkipWithError("the toolbar never painted");
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        controller->closeToolbar(toolbar.get());
        settle();
    }
    setDesktopCounters(state);
}
BENCHMARK(BM_ShowToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

// The baseline: a frameless QToolBar window with 20 text actions, built and
// shown, to the end of its first paint.
void BM_QToolBarShowToFirstPaint(benchmark::State& state)
{
    static const char* const texts[] = { "Bold", "Italic", "Underline", "Strike" };
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto bar = std::make_unique<QToolBar>();
        bar->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
        bar->setAttribute(Qt::WA_ShowWithoutActivating);
        bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
        for (int i = 0; i < firstPaintItems; ++i)
            bar->addAction(QString::fromLatin1(texts[i % 4]));
        bar->move(400, 300);
        FirstPaint paint(bar.get());
        bar->show();
        if (!paint.wait())
            state.SkipWithError("the tool bar never painted");
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        bar.reset();
        settle();
    }
    setDesktopCounters(state);
}
BENCHMARK(BM_QToolBarShowToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
