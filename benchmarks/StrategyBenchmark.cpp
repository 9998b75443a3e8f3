// The two window strategies side by side over a host whose window is a
// QTextEdit full of text: one fade frame, and showToolbar to the end of the
// first paint. A top-level toolbar window repaints only itself; an overlay lies
// in the host's window, so Qt repaints the host's widgets beneath it first.
#include "BenchmarkWindows.h"
#include "Core/Style.h"
#include "MiniToolbars/Controller.h"
#include "MiniToolbars/ControllerObserver.h"
#include "MiniToolbars/MiniToolbar.h"
#include "MiniToolbars/MTBxButton.h"
#include "MiniToolbars/Options.h"
#include "Qt/QmtbAutoFade.h"
#include "Qt/QmtbController.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QmtbView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextEdit>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>

using namespace MiniToolbars;

namespace {

// A host window that an editor full of wrapped text fills, shown at a fixed place: 400 paragraphs, or the same
// text as one paragraph.
class TextHost : public ControllerObserver
{
public:
    explicit TextHost(bool oneParagraph = false)
    {
        QString text;
        for (int i = 0; i < 400; ++i)
            text += QStringLiteral("Paragraph %1: the quick brown fox jumps over the lazy dog, again and again and "
                                   "again, until the line wraps at the editor's edge.%2").arg(i).arg(oneParagraph ? ' ' : '\n');
        editor->setPlainText(text);
        editor->setGeometry(0, 0, 800, 600);
        window.setGeometry(100, 100, 800, 600);
        window.show();
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
    }
    HWND getParentHwnd() override { return reinterpret_cast<HWND>(window.winId()); }
    QPoint at(int x, int y) const { return window.mapToGlobal(QPoint(x, y)); }

    QWidget window;
    QTextEdit* editor = new QTextEdit(&window);
};

std::unique_ptr<Controller> controllerFor(Options::WindowStrategy strategy)
{
    std::unique_ptr<Controller> controller(Controller::createInstance());
    Options options;
    options.setWindowStrategy(strategy);
    controller->setOptions(options);
    return controller;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// One frame of a running fade over the text: what the toolbar covers is
// repainted and flushed.
void BM_FadeFrameOverText(benchmark::State& state, Options::WindowStrategy strategy, bool oneParagraph)
{
    Style::setXHeightOverride(6);
    TextHost host(oneParagraph);
    std::unique_ptr<Controller> controller = controllerFor(strategy);
    std::unique_ptr<MiniToolbar> toolbar = makeToolbar(4);
    const QPoint at = host.at(200, 200);
    controller->showToolbar(toolbar.get(), at.x(), at.y(), &host);
    QmtbView* window = QmtbController::windowOf(toolbar.get());
    settle();
    if (!window || window->isOverlay() != (strategy == Options::OverlayWindows))
        state.SkipWithError("the toolbar did not get the window it asked for");
    for (auto _ : state)
        Q_EMIT window->fade().redraw(QRect());
    const QRect area = window->placement().paintedRegion().boundingRect();
    state.counters["areaPx"] = area.width() * area.height();
    controller->closeToolbar(toolbar.get());
}
BENCHMARK_CAPTURE(BM_FadeFrameOverText, topLevel, Options::TopLevelWindows, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FadeFrameOverText, overlay, Options::OverlayWindows, false)->Unit(benchmark::kMicrosecond);
// Qt shapes a paragraph's text again whenever part of it is repainted: under an
// overlay, each frame pays for the whole paragraph the toolbar lies over.
BENCHMARK_CAPTURE(BM_FadeFrameOverText, topLevelOneParagraph, Options::TopLevelWindows, true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FadeFrameOverText, overlayOneParagraph, Options::OverlayWindows, true)
    ->Unit(benchmark::kMicrosecond);

// From showToolbar to the end of the first paint of a 20-item toolbar over the text.
void BM_ShowToFirstPaintOverText(benchmark::State& state, Options::WindowStrategy strategy)
{
    Style::setXHeightOverride(6);
    TextHost host;
    std::unique_ptr<Controller> controller = controllerFor(strategy);
    const QPoint at = host.at(100, 200);
    {
        std::unique_ptr<MiniToolbar> warmUp = makeToolbar(20);
        controller->showToolbar(warmUp.get(), at.x(), at.y(), &host);
        settle();
        controller->closeToolbar(warmUp.get());
        settle();
    }
    for (auto _ : state) {
        std::unique_ptr<MiniToolbar> toolbar = makeToolbar(20);
        QElapsedTimer clock;
        clock.start();
        controller->showToolbar(toolbar.get(), at.x(), at.y(), &host);
        FirstPaint paint(QmtbController::windowOf(toolbar.get()));
        if (!paint.wait())
            state.SkipWithError("the toolbar never painted");
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        controller->closeToolbar(toolbar.get());
        settle();
    }
}
BENCHMARK_CAPTURE(BM_ShowToFirstPaintOverText, topLevel, Options::TopLevelWindows)
    ->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ShowToFirstPaintOverText, overlay, Options::OverlayWindows)
    ->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
