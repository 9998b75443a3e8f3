#include "EventTypes.h"
#include "QWinWidget.h"
#include "QmtbAnimation.h"
#include "TooltipOptions.h"
#include "WindowTestSupport.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QToolTip>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <memory>

#include <gtest/gtest.h>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

class WindowTest : public ControllerFixture
{
protected:
    // Qt input at window point p, as the windowing system delivers it.
    void press(QmtbView* w, QPoint p, Qt::KeyboardModifiers m = {}) { QTest::mousePress(w->windowHandle(), Qt::LeftButton, m, w->toLocal(p)); }
    void moveTo(QmtbView* w, QPoint p) { QTest::mouseMove(w->windowHandle(), w->toLocal(p)); }
    void release(QmtbView* w, QPoint p, Qt::KeyboardModifiers m = {}) { QTest::mouseRelease(w->windowHandle(), Qt::LeftButton, m, w->toLocal(p)); }
    void click(QmtbView* w, QPoint p, Qt::KeyboardModifiers m = {}) { QTest::mouseClick(w->windowHandle(), Qt::LeftButton, m, w->toLocal(p)); }
    void onClicked(std::function<void()> action)
    {
        itemSink.onEvent = [action](void*, MTBxItemEvents::EventType type) {
            if (type == MTBxItemEvents::Clicked)
                action();
        };
    }
};

} // namespace

TEST_F(WindowTest, shouldCoverThePaintedAreaAndShowTheToolbarAtItsOrigin)
{
    // A shown toolbar's window spans what the toolbar paints, is a translucent frameless tool window that does not activate, and keeps the origin.
    MiniToolbar* toolbar = shown(2, 300, 200);
    QmtbView* window = windowOf(toolbar);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->paintedRegion().boundingRect().translated(QmtbView::desktopGeometry().topLeft()),
              window->geometry());
    EXPECT_TRUE(window->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(window->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(Qt::Tool, window->windowType());
    EXPECT_EQ(QPoint(300, 200), origin(toolbar));
    EXPECT_TRUE(QmtbView::isNativeFilterInstalled());
}

TEST_F(WindowTest, shouldPostOneDeferredShowAndCoalesceRelayouts)
{
    // Two deferred shows post one show event that lays out; a forced relayout waits for a pending show or relayout.
    MiniToolbar* toolbar = add(makeToolbar(2));
    ASSERT_TRUE(controller->showToolbar(toolbar, 300, 300, &observer, true));
    QmtbView* window = windowOf(toolbar);
    EventCounter shows(window, EventTypes::deferredShow());
    EventCounter relayouts(window, EventTypes::relayout());
    ASSERT_TRUE(controller->showToolbar(toolbar, 310, 300, &observer, true));
    controller->updateLayout(toolbar, true);
    EXPECT_EQ(0, toolbar->view()->itemViewCount());
    QCoreApplication::processEvents();
    EXPECT_EQ(1, shows.count);
    EXPECT_EQ(0, relayouts.count);
    EXPECT_EQ(2, toolbar->view()->itemViewCount());

    toolbar->addItem(makeButton(L"One"));
    toolbar->addItem(makeButton(L"Two"));
    controller->updateLayout(toolbar, true);
    EXPECT_EQ(2, toolbar->view()->itemViewCount());
    QCoreApplication::processEvents();
    EXPECT_EQ(1, relayouts.count);
    EXPECT_EQ(4, toolbar->view()->itemViewCount());
}

TEST_F(WindowTest, shouldKeepToolbarInsideTheParentBounds)
{
    // Without bounds from the observer the parent is 0,0,100,100 less its margins; a toolbar is pushed in only along the edge it crosses.
    HostObserver silent;
    MiniToolbar* toolbar = add(makeToolbar(1));
    controller->showToolbar(toolbar, 500, 400, &silent);
    EXPECT_TRUE(QRect(QPoint(15, 10), QPoint(89, 89)).contains(toolbarRect(toolbar)));
    controller->moveToolbar(toolbar, -50, -50, false);
    EXPECT_EQ(QPoint(15, 10), toolbarRect(toolbar).topLeft());

    // Crossing only the bottom edge moves the toolbar up, never sideways.
    MiniToolbar* low = shown(2, 300, 595);
    EXPECT_EQ(300, toolbarRect(low).left());
    EXPECT_EQ(589, toolbarRect(low).bottom());

    // A toolbar wider than the parent ends on the parent's left edge.
    observer.setBounds(QRect(100, 100, 120, 200));
    const QRect wide = toolbarRect(shown(6, 400, 150));
    ASSERT_GT(wide.width(), 120);
    EXPECT_EQ(QPoint(115, 150), wide.topLeft());

    // A new clip rectangle makes every window check its bounds again.
    controller->setClipRect(0, 0, 800, 600);
    EXPECT_LE(toolbarRect(low).right(), 209);
    EXPECT_LE(toolbarRect(low).bottom(), 289);
    controller->setClipRect(0, 0, 0, 0);
}

TEST_F(WindowTest, shouldPaintAndRepaintOnlyTheToolbarsArea)
{
    // Moving to the same origin repaints nothing; another origin repaints old and new place; fade frames stay within the toolbar.
    MiniToolbar* toolbar = shown(3, 300, 300);
    QmtbView* window = windowOf(toolbar);
    QCoreApplication::processEvents();
    EventCounter paints(window, QEvent::Paint);
    QRegion repainted;
    paints.onEvent = [&](QEvent* e) { repainted += static_cast<QPaintEvent*>(e)->region(); };
    controller->moveToolbar(toolbar, 300, 300, false);
    controller->moveToolbar(toolbar, 0, 0, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(0, paints.count);

    const QRegion before = window->paintedRegion();
    controller->moveToolbar(toolbar, 40, 30, true);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->paintedRegion().intersects(before));
    EXPECT_TRUE(repainted.translated(window->windowOffset()).contains(window->paintedRegion().boundingRect()));

    repainted = QRegion();
    paints.count = 0;
    controller->pointerMoved(700, 550);
    ASSERT_TRUE(window->isAnimating());
    finishFade(window);
    EXPECT_GE(paints.count, 5);
    EXPECT_TRUE(window->paintedRegion().contains(repainted.translated(window->windowOffset()).boundingRect()));
    EXPECT_EQ(window->paintedRegion().boundingRect().size(), window->size());
}

TEST_F(WindowTest, shouldDrawWhereThePaintedRegionIsAndHonourTheClip)
{
    // A toolbar pushed inside its parent draws at its new origin; pixels beyond the clip rectangle stay clear.
    MiniToolbar* toolbar = shown(2, 795, 300);
    QmtbView* window = windowOf(toolbar);
    const QRect rect = toolbarRect(toolbar);
    ASSERT_LT(rect.right(), 790);
    const auto alphaAt = [&](QPoint p) { return qAlpha(window->grab(QRect(window->toLocal(p), QSize(1, 1))).toImage().pixel(0, 0)); };
    EXPECT_GT(alphaAt(centreOf(toolbar, 0)), 100);
    EXPECT_GT(alphaAt(centreOf(toolbar, 1)), 100);
    controller->setClipRect(0, 0, centreOf(toolbar, 1).x() - 5, 600);
    EXPECT_GT(alphaAt(centreOf(toolbar, 0)), 100);
    EXPECT_EQ(0, alphaAt(centreOf(toolbar, 1)));
    controller->setClipRect(0, 0, 0, 0);
}

TEST_F(WindowTest, shouldBoundThePaintedRegionByToolbarGripPenMarginAndPopups)
{
    // The painted region is bounds and grip with the pen margin, follows moves, is clipped, and takes in visible child popups where they are.
    MiniToolbar* toolbar = shown(2, 300, 300);
    QmtbView* window = windowOf(toolbar);
    const QRect rect = toolbarRect(toolbar);
    const QRect mask = window->paintedRegion().boundingRect();
    const int m = QmtbView::penMargin;
    EXPECT_EQ(QRect(QPoint(300 - 12 - m, rect.top() - m), QPoint(rect.right() + m, rect.bottom() + m)), mask);
    controller->moveToolbar(toolbar, 10, 20, true);
    EXPECT_EQ(mask.translated(10, 20), window->paintedRegion().boundingRect());
    controller->setClipRect(0, 0, 320, 800);
    EXPECT_EQ(319, window->paintedRegion().boundingRect().right());
    controller->setClipRect(0, 0, 0, 0);

    auto popup = std::make_unique<QWidget>(window);
    popup->setGeometry(QRect(window->toLocal(QPoint(500, 500)), QSize(40, 30)));
    popup->show();
    EXPECT_TRUE(window->paintedRegion().contains(QPoint(510, 510)));
    popup->move(window->toLocal(QPoint(600, 500)));
    EXPECT_FALSE(window->paintedRegion().contains(QPoint(510, 510)));
    EXPECT_TRUE(window->paintedRegion().contains(QPoint(610, 510)));
    popup->hide();
    EXPECT_FALSE(window->paintedRegion().contains(QPoint(610, 510)));
}

TEST_F(WindowTest, shouldKeepTheOriginAcrossSuspendAndResume)
{
    // Suspending hides the window into the suspended list; resuming shows and lays it out at once at the same origin.
    MiniToolbar* toolbar = shown(2, 250, 260);
    QmtbView* window = windowOf(toolbar);
    controller->suspendToolbar(toolbar);
    EXPECT_TRUE(controller->isSuspended(toolbar));
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(toolbar->isVisible());
    EXPECT_EQ(QList<QmtbView*>{ window }, QmtbView::suspendedWindows());
    controller->resumeToolbar(toolbar);
    EXPECT_FALSE(controller->isSuspended(toolbar));
    EXPECT_FALSE(window->isShowPending());
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_EQ(QPoint(250, 260), origin(toolbar));
    EXPECT_EQ(QList<QmtbView*>{ window }, QmtbView::visibleWindows());
    EXPECT_TRUE(QmtbView::suspendedWindows().isEmpty());
}

TEST_F(WindowTest, shouldFinishHidingWhenTheRunningFadeEnds)
{
    // Hiding during a fade ends the fade and completes the hide; the native filter goes with the last shown toolbar.
    MiniToolbar* other = shown(1, 200, 200);
    QmtbView* window = windowOf(shown(2));
    windowOf(other)->hideToolbar();
    EXPECT_TRUE(QmtbView::isNativeFilterInstalled());
    controller->pointerMoved(700, 550);
    ASSERT_TRUE(window->isAnimating());
    window->hideToolbar();
    EXPECT_EQ(nullptr, window->animation());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(QmtbView::isNativeFilterInstalled());
    EXPECT_TRUE(QmtbView::suspendedWindows().contains(window));
    controller->showToolbar(other, 200, 200, &observer);
    EXPECT_FALSE(controller->isSuspended(other));
}

TEST_F(WindowTest, shouldReportClicksWithModifiersAndButtonInOneMask)
{
    // A click reaches the host as Clicked with the item's context; with Control held ModifiedClick carries modifiers and button.
    MiniToolbar* toolbar = shown(2);
    QmtbView* window = windowOf(toolbar);
    click(window, centreOf(toolbar, 1));
    ASSERT_EQ(1, itemSink.count(MTBxItemEvents::Clicked));
    EXPECT_EQ(&hostContext, itemSink.events.back().hostContext);
    EXPECT_TRUE(toolbarSink.types.empty());
    itemSink.events.clear();
    click(window, centreOf(toolbar, 0), Qt::ControlModifier);
    const auto modified = std::find_if(itemSink.events.begin(), itemSink.events.end(),
                                       [](const ItemEventRecord& e) { return e.type == MTBxItemEvents::ModifiedClick; });
    ASSERT_NE(itemSink.events.end(), modified);
    EXPECT_EQ(static_cast<std::intptr_t>(Qt::ControlModifier) | Qt::LeftButton, itemSink.arg(modified - itemSink.events.begin()));
}

TEST_F(WindowTest, shouldDragFromTheThresholdOnWithoutClicking)
{
    // Moves shorter than 6 px are ignored, 6 px drag; the release reports ToolbarMoved and clicks nothing, vetoed or not.
    MiniToolbar* toolbar = shown(2, 300, 300);
    QmtbView* window = windowOf(toolbar);
    const QPoint start = centreOf(toolbar, 0);
    moveTo(window, QPoint(5, 5));
    moveTo(window, start);
    press(window, start);
    moveTo(window, start + QPoint(3, 2));
    EXPECT_TRUE(observer.moves.empty());
    moveTo(window, start + QPoint(3, 3));
    moveTo(window, start + QPoint(20, 10));
    release(window, start + QPoint(20, 10));
    EXPECT_EQ((std::vector<QPoint>{ QPoint(3, 3), QPoint(17, 7) }), observer.moves);
    EXPECT_EQ(QPoint(320, 310), origin(toolbar));
    EXPECT_EQ(std::vector<MTBxToolbarEvents::EventType>{ MTBxToolbarEvents::ToolbarMoved }, toolbarSink.types);

    observer.vetoMoves = true;
    const QPoint again = centreOf(toolbar, 0);
    press(window, again);
    moveTo(window, again + QPoint(30, 0));
    release(window, again + QPoint(30, 0));
    EXPECT_EQ(QPoint(320, 310), origin(toolbar));
    EXPECT_EQ(2u, toolbarSink.types.size());
    EXPECT_EQ(0, itemSink.count(MTBxItemEvents::Clicked));
}

TEST_F(WindowTest, shouldForwardPointerInputToTheWidgetUnderneath)
{
    // Moves and releases over a host widget beside the toolbar reach that widget; over the toolbar nothing is forwarded.
    MiniToolbar* toolbar = shown(2, 300, 300);
    QmtbView* window = windowOf(toolbar);
    QWidget host;
    host.setGeometry(500, 100, 100, 80);
    host.setMouseTracking(true);
    host.show();
    EventCounter moves(&host, QEvent::MouseMove);
    EventCounter releases(&host, QEvent::MouseButtonRelease);
    moveTo(window, QPoint(550, 140));
    click(window, QPoint(550, 140));
    EXPECT_EQ(1, moves.count);
    EXPECT_EQ(1, releases.count);

    const auto forwarded = [&](QPoint p) {
        QMouseEvent event(QEvent::MouseMove, p, p, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        return window->forwardMouseEvent(&event);
    };
    EXPECT_TRUE(forwarded(QPoint(550, 140)));
    EXPECT_FALSE(forwarded(centreOf(toolbar, 0)));
    auto popup = std::make_unique<QWidget>(window);
    popup->setGeometry(QRect(window->toLocal(QPoint(500, 400)), QSize(40, 30)));
    popup->show();
    EXPECT_FALSE(forwarded(QPoint(510, 410)));
}

TEST_F(WindowTest, shouldShowTooltipsAfterTheDelayAndSwitchAtOnce)
{
    // Hovering emits hovered and shows the tooltip after the delay; the next item follows at once, hiding it when it has none.
    SetMTBToolTipDelay(30);
    MiniToolbar* toolbar = shown(3);
    toolbar->item(0)->setToolTip(MTBxString(L"Make bold"));
    toolbar->item(2)->setToolTip(MTBxString(L"Make underlined"));
    QmtbView* window = windowOf(toolbar);
    std::vector<ItemView*> hovered;
    QObject::connect(window, &QmtbView::hovered, [&](ItemView* view) { hovered.push_back(view); });
    moveTo(window, QPoint(5, 5));
    moveTo(window, centreOf(toolbar, 0));
    ASSERT_EQ(1u, hovered.size());
    EXPECT_EQ(toolbar->item(0)->itemView(), hovered[0]);
    EXPECT_EQ(30, window->toolTipTimerInterval());
    ASSERT_TRUE(eventually([&] { return window->isToolTipVisible(); }));
    EXPECT_EQ(QStringLiteral("Make bold"), QToolTip::text());
    moveTo(window, centreOf(toolbar, 1));
    EXPECT_EQ(0, window->toolTipTimerInterval());
    ASSERT_TRUE(eventually([&] { return !window->isToolTipVisible(); }));

    moveTo(window, centreOf(toolbar, 2));
    ASSERT_TRUE(eventually([&] { return window->isToolTipVisible(); }));
    controller->moveToolbar(toolbar, 5, 5, true);
    EXPECT_FALSE(window->isToolTipVisible());
    moveTo(window, QPoint(700, 500));
    EXPECT_EQ(nullptr, hovered.back());
    EXPECT_FALSE(window->isToolTipTimerActive());

    // With tooltips disabled hovering starts no timer.
    SetMTBTooltipOption(TooltipsEnabled, false);
    moveTo(window, centreOf(toolbar, 0));
    EXPECT_NE(nullptr, toolbar->view()->current());
    EXPECT_FALSE(window->isToolTipTimerActive());
    SetMTBTooltipOption(TooltipsEnabled, true);
}

TEST_F(WindowTest, shouldTellNearFromFarWithTheFadeMargins)
{
    // Faded in, the pointer is near up to 10 px around the toolbar; faded out, only up to 6 px around its steady part.
    MiniToolbar* toolbar = shown(2, 300, 300);
    QmtbView* window = windowOf(toolbar);
    const int height = toolbarRect(toolbar).height();
    const int width = toolbarRect(toolbar).width();
    const struct { QPoint pointer; bool near; } steps[] = {
        { { 290, 305 }, true }, { { 289, 305 }, false }, { { 293, 305 }, false }, { { 294, 305 }, true },
        { { 305, 290 }, true }, { { 305, 289 }, false }, { { 305, 294 }, true },
        { { 305, 300 + height + 10 }, true }, { { 305, 300 + height + 11 }, false },
        { { 300 + width + 6, 305 }, true }, { { 300 + width + 10, 305 }, true }, { { 300 + width + 11, 305 }, false },
    };
    for (const auto& step : steps) {
        controller->pointerMoved(step.pointer.x(), step.pointer.y());
        EXPECT_EQ(step.near, window->isFadedIn()) << step.pointer.x() << "," << step.pointer.y();
        finishFade(window);
    }
    EXPECT_FALSE(window->isFadedIn());
}

TEST_F(WindowTest, shouldLockTheFadeByGlobalSwitchLocalValueAndNoFadeDisplay)
{
    // Auto fade off ends fades and locks toolbars faded in unless local 1 opts in; local 0 opts out; only-no-fade display locks faded out.
    MiniToolbar* toolbar = shown(2);
    QmtbView* window = windowOf(toolbar);
    controller->pointerMoved(790, 590);
    ASSERT_TRUE(window->isAnimating());
    Options options;
    options.setAutoFade(false);
    controller->setOptions(options);
    EXPECT_FALSE(window->isAnimating());
    window->setFadedIn(false);
    EXPECT_TRUE(window->isFadedIn());
    toolbar->setLocalAutoFade(1);
    controller->pointerMoved(790, 590);
    EXPECT_FALSE(window->isFadedIn());

    MiniToolbar* excluded = shown(2, 100, 100);
    excluded->setLocalAutoFade(0);
    options.setAutoFade(true);
    controller->setOptions(options);
    controller->pointerMoved(790, 590);
    EXPECT_TRUE(windowOf(excluded)->isFadedIn());

    MiniToolbar* steady = add(makeToolbar(1));
    steady->addItem(makeButton(L"Keep", false));
    controller->showToolbar(steady, 300, 300, &observer);
    steady->setDisplayOnlyNoFadeItems(true);
    EXPECT_DOUBLE_EQ(0.0, windowOf(steady)->currentOpacity());
    controller->pointerMoved(305, 305);
    EXPECT_FALSE(windowOf(steady)->isFadedIn());
    steady->setDisplayOnlyNoFadeItems(false);
    controller->pointerMoved(305, 305);
    EXPECT_TRUE(windowOf(steady)->isFadedIn());
}

TEST_F(WindowTest, shouldRestFaintAndReportFadedOnlyWhenEveryItemAutoHides)
{
    // All items auto-hiding: the toolbar rests at 0.3 and tells the host ToolbarFaded; with a steady item it goes to 0 silently.
    for (bool withSteadyItem : { false, true }) {
        SCOPED_TRACE(withSteadyItem);
        toolbarSink.types.clear();
        MiniToolbar* toolbar = add(makeToolbar(1));
        if (withSteadyItem)
            toolbar->addItem(makeButton(L"Keep", false));
        controller->showToolbar(toolbar, 300, 300, &observer);
        QmtbView* window = windowOf(toolbar);
        controller->pointerMoved(790, 590);
        finishFade(window);
        QCoreApplication::processEvents();
        EXPECT_FLOAT_EQ(withSteadyItem ? 0.0f : 0.3f, static_cast<float>(window->currentOpacity()));
        EXPECT_EQ(withSteadyItem ? 0u : 1u, toolbarSink.types.size());
        EXPECT_EQ(withSteadyItem ? 0 : 1, std::count(toolbarSink.types.begin(), toolbarSink.types.end(), MTBxToolbarEvents::ToolbarFaded));
        controller->closeToolbar(toolbar);
    }
}

TEST_F(WindowTest, shouldParentToTheHostWindowItNames)
{
    // A handle naming a Qt widget of this process makes its window the toolbar's transient parent.
    QWidget host;
    QWidget child(&host);
    host.show();
    observer.parent = reinterpret_cast<HWND>(child.winId());
    MiniToolbar* toolbar = shown(1);
    auto* wrapper = dynamic_cast<QWinWidget*>(toolbar->view()->host());
    ASSERT_NE(nullptr, wrapper);
    EXPECT_EQ(&host, wrapper->hostWindow());
    EXPECT_EQ(host.windowHandle(), windowOf(toolbar)->windowHandle()->transientParent());
}

TEST_F(WindowTest, shouldOnlyHideWhenClosedOrDestroyedFromItsOwnCallback)
{
    // closeToolbar in a Clicked callback only hides until closed again; destroying the toolbar there retires the window until CleanupOldViews.
    MiniToolbar* toolbar = shown(2);
    QmtbView* window = windowOf(toolbar);
    onClicked([&] { controller->closeToolbar(toolbar); });
    click(window, centreOf(toolbar, 0));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(2, toolbar->itemCount());
    itemSink.onEvent = nullptr;
    controller->closeToolbar(toolbar);
    EXPECT_EQ(nullptr, toolbar->view());

    toolbar = shown(2);
    QPointer<QmtbView> alive(windowOf(toolbar));
    onClicked([&] { toolbars.clear(); });
    click(alive, centreOf(toolbar, 0));
    itemSink.onEvent = nullptr;
    ASSERT_TRUE(alive);
    EXPECT_FALSE(alive->isVisible());
    EXPECT_TRUE(QmtbView::visibleWindows().isEmpty());
    EXPECT_TRUE(QmtbView::suspendedWindows().isEmpty());
    MiniToolbar::CleanupOldViews();
    EXPECT_FALSE(alive);
}

