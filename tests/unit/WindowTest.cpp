#include "EventTypes.h"
#include "QWinWidget.h"
#include "QmtbAnimation.h"
#include "TooltipOptions.h"
#include "WindowTestSupport.h"

#include <QPaintEvent>
#include <QPointer>
#include <QToolTip>
#include <QTest>
#include <QWindow>

#include <cstdint>
#include <memory>

#include <gtest/gtest.h>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

class WindowTest : public ControllerFixture
{
};

} // namespace

TEST_F(WindowTest, shouldCoverThePaintedAreaAndShowTheToolbarAtItsOrigin)
{
    // A shown toolbar's window spans what the toolbar paints, is translucent and frameless, and keeps the origin.
    MiniToolbar* toolbar = shown(2, 300, 200);
    QmtbView* window = windowOf(toolbar);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->paintedRegion().boundingRect().translated(QmtbView::desktopGeometry().topLeft()),
              window->geometry());
    EXPECT_TRUE(window->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(window->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(Qt::Tool, window->windowType());
    EXPECT_EQ(QPoint(300, 200), origin(toolbar));
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_TRUE(QmtbView::isNativeFilterInstalled());
}

TEST_F(WindowTest, shouldPostOneDeferredShowForTwoRequests)
{
    // Two deferred shows post a single show event; a forced relayout while it is pending does nothing; the show lays out.
    MiniToolbar* toolbar = add(makeToolbar(2));
    ASSERT_TRUE(controller->showToolbar(toolbar, 300, 300, &observer, true));
    QmtbView* window = windowOf(toolbar);
    EventCounter shows(window, EventTypes::deferredShow());
    EventCounter relayouts(window, EventTypes::relayout());
    ASSERT_TRUE(controller->showToolbar(toolbar, 310, 300, &observer, true));
    controller->updateLayout(toolbar, true);
    EXPECT_TRUE(window->isShowPending());
    EXPECT_EQ(0, toolbar->view()->itemViewCount());
    QCoreApplication::processEvents();
    EXPECT_EQ(1, shows.count);
    EXPECT_EQ(0, relayouts.count);
    EXPECT_FALSE(window->isShowPending());
    EXPECT_EQ(2, toolbar->view()->itemViewCount());

    // Later changes coalesce into one relayout, which a forced update does not pre-empt.
    toolbar->addItem(makeButton(L"One"));
    toolbar->addItem(makeButton(L"Two"));
    EXPECT_TRUE(window->isRelayoutPending());
    controller->updateLayout(toolbar, true);
    EXPECT_EQ(2, toolbar->view()->itemViewCount());
    QCoreApplication::processEvents();
    EXPECT_EQ(1, relayouts.count);
    EXPECT_EQ(4, toolbar->view()->itemViewCount());
}

TEST_F(WindowTest, shouldKeepToolbarInsideTheParentBounds)
{
    // An observer that gives no bounds leaves 0,0,100,100: the toolbar ends within (15,10)-(89,89); a wide one sits on the left edge.
    HostObserver silent;
    MiniToolbar* toolbar = add(makeToolbar(1));
    controller->showToolbar(toolbar, 500, 400, &silent);
    EXPECT_GT(silent.boundsQueries, 0);
    EXPECT_TRUE(QRect(QPoint(15, 10), QPoint(89, 89)).contains(toolbarRect(toolbar)));

    controller->moveToolbar(toolbar, -50, -50, false);
    const QRect moved = toolbarRect(toolbar);
    EXPECT_EQ(15, moved.left());
    EXPECT_EQ(10, moved.top());

    // A toolbar wider than the parent rectangle ends with its left edge on the rectangle's left edge.
    observer.setBounds(QRect(100, 100, 120, 200));
    const QRect wide = toolbarRect(shown(6, 400, 150));
    ASSERT_GT(wide.width(), 120);
    EXPECT_EQ(115, wide.left());
    EXPECT_EQ(150, wide.top());
}

TEST_F(WindowTest, shouldNeitherMoveNorRepaintForTheSameOrigin)
{
    // moveToolbar to the current origin changes nothing on screen; another origin repaints both places.
    MiniToolbar* toolbar = shown(2, 300, 300);
    QmtbView* window = windowOf(toolbar);
    QCoreApplication::processEvents();
    EventCounter paints(window, QEvent::Paint);
    EventCounter updates(window, QEvent::UpdateRequest);
    controller->moveToolbar(toolbar, 300, 300, false);
    controller->moveToolbar(toolbar, 0, 0, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(0, paints.count);
    EXPECT_EQ(0, updates.count);

    QRegion repainted;
    paints.onEvent = [&](QEvent* e) { repainted += static_cast<QPaintEvent*>(e)->region(); };
    const QRegion before = window->paintedRegion();
    controller->moveToolbar(toolbar, 40, 30, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(QPoint(340, 330), origin(toolbar));
    EXPECT_GT(paints.count, 0);
    // The old place leaves the mask; only the new one needs fresh pixels.
    EXPECT_FALSE(window->paintedRegion().intersects(before));
    EXPECT_TRUE(repainted.translated(window->windowOffset()).contains(window->paintedRegion().boundingRect()));
}

TEST_F(WindowTest, shouldRepaintOnlyTheToolbarsAreaDuringAFade)
{
    // Fade frames repaint the toolbar's area, and the window is no larger than that.
    MiniToolbar* toolbar = shown(3, 300, 300);
    QmtbView* window = windowOf(toolbar);
    QCoreApplication::processEvents();
    QRegion repainted;
    EventCounter paints(window, QEvent::Paint);
    paints.onEvent = [&](QEvent* e) { repainted += static_cast<QPaintEvent*>(e)->region(); };
    controller->pointerMoved(700, 550);
    ASSERT_TRUE(window->isAnimating());
    finishFade(window);
    EXPECT_GE(paints.count, 5);
    const QRect area = window->paintedRegion().boundingRect();
    EXPECT_TRUE(QRegion(area).contains(repainted.translated(window->windowOffset()).boundingRect()))
        << "repainted " << repainted.boundingRect().width() << "x" << repainted.boundingRect().height();
    EXPECT_EQ(area.size(), window->size());
}

TEST_F(WindowTest, shouldBoundThePaintedRegionByToolbarGripAndPenMargin)
{
    // The painted region (the window's mask) is bounds and grip with the pen margin, follows moves, is clipped, takes in child popups.
    MiniToolbar* toolbar = shown(2, 300, 300);
    QmtbView* window = windowOf(toolbar);
    const QRect rect = toolbarRect(toolbar);
    const QRect mask = window->paintedRegion().boundingRect();
    const int m = QmtbView::penMargin;
    EXPECT_EQ(300 - 12 - m, mask.left());
    EXPECT_EQ(rect.top() - m, mask.top());
    EXPECT_EQ(rect.right() + m, mask.right());
    EXPECT_EQ(rect.bottom() + m, mask.bottom());

    controller->moveToolbar(toolbar, 10, 20, true);
    EXPECT_EQ(mask.translated(10, 20), window->paintedRegion().boundingRect());

    controller->setClipRect(0, 0, 320, 800);
    EXPECT_EQ(319, window->paintedRegion().boundingRect().right());
    controller->setClipRect(0, 0, 0, 0);
    EXPECT_EQ(mask.translated(10, 20), window->paintedRegion().boundingRect());

    // A visible child widget (an entry field, a list) joins the painted region; hidden again it leaves it.
    auto child = std::make_unique<QWidget>(window);
    child->setGeometry(QRect(window->toLocal(QPoint(500, 500)), QSize(40, 30)));
    child->show();
    EXPECT_TRUE(window->paintedRegion().contains(QPoint(510, 510)));
    child->hide();
    EXPECT_FALSE(window->paintedRegion().contains(QPoint(510, 510)));
}

TEST_F(WindowTest, shouldKeepTheOriginAcrossSuspendAndResume)
{
    // Suspending hides the window and moves it to the suspended list; resuming shows it at the same origin.
    MiniToolbar* toolbar = shown(2, 250, 260);
    QmtbView* window = windowOf(toolbar);
    controller->suspendToolbar(toolbar);
    EXPECT_TRUE(controller->isSuspended(toolbar));
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(toolbar->isVisible());
    EXPECT_TRUE(QmtbView::visibleWindows().isEmpty());
    EXPECT_EQ(1, QmtbView::suspendedWindows().size());
    controller->resumeToolbar(toolbar);
    EXPECT_FALSE(controller->isSuspended(toolbar));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_EQ(QPoint(250, 260), origin(toolbar));
    EXPECT_EQ(1, QmtbView::visibleWindows().size());
    EXPECT_TRUE(QmtbView::suspendedWindows().isEmpty());

    // A toolbar hidden as from a callback and shown again is no longer reported as suspended.
    window->hideToolbar();
    EXPECT_TRUE(controller->isSuspended(toolbar));
    controller->showToolbar(toolbar, 250, 260, &observer);
    EXPECT_FALSE(controller->isSuspended(toolbar));
}

TEST_F(WindowTest, shouldFinishHidingWhenTheRunningFadeEnds)
{
    // Hiding during a fade ends the fade and completes the hide; the native filter goes with the last shown toolbar.
    MiniToolbar* other = shown(1, 200, 200);
    MiniToolbar* toolbar = shown(2);
    QmtbView* window = windowOf(toolbar);
    windowOf(other)->hideToolbar();
    EXPECT_TRUE(QmtbView::isNativeFilterInstalled());
    controller->pointerMoved(700, 550);
    ASSERT_TRUE(window->isAnimating());
    window->hideToolbar();
    EXPECT_EQ(nullptr, window->animation());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->isShown());
    EXPECT_FALSE(QmtbView::isNativeFilterInstalled());
    EXPECT_TRUE(QmtbView::suspendedWindows().contains(window));
    EXPECT_TRUE(Controller::resetWindowsHook());
}

TEST_F(WindowTest, shouldOnlyHideWhenClosedFromAnItemCallback)
{
    // closeToolbar inside a Clicked callback hides the window but keeps items and view until closed again.
    MiniToolbar* toolbar = shown(2);
    QmtbView* window = windowOf(toolbar);
    itemSink.onEvent = [&](void*, MTBxItemEvents::EventType type) {
        if (type == MTBxItemEvents::Clicked)
            controller->closeToolbar(toolbar);
    };
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, window->toLocal(centreOf(toolbar, 0)));
    EXPECT_EQ(1, itemSink.count(MTBxItemEvents::Clicked));
    EXPECT_FALSE(window->isVisible());
    EXPECT_NE(nullptr, toolbar->view());
    EXPECT_EQ(2, toolbar->itemCount());
    itemSink.onEvent = nullptr;
    controller->closeToolbar(toolbar);
    EXPECT_EQ(nullptr, toolbar->view());
    EXPECT_TRUE(toolbar->isEmpty());
}

TEST_F(WindowTest, shouldSendClickedForAClickOnAButton)
{
    // A press and release on a button through Qt's input reach the host as one Clicked with the item's context.
    MiniToolbar* toolbar = shown(2);
    QmtbView* window = windowOf(toolbar);
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, window->toLocal(centreOf(toolbar, 1)));
    ASSERT_EQ(1, itemSink.count(MTBxItemEvents::Clicked));
    EXPECT_EQ(&hostContext, itemSink.events.back().hostContext);
    EXPECT_TRUE(toolbarSink.types.empty());

    // With Control held the click also gives ModifiedClick carrying modifiers and button in one mask.
    itemSink.events.clear();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::ControlModifier, window->toLocal(centreOf(toolbar, 0)));
    ASSERT_EQ(1, itemSink.count(MTBxItemEvents::ModifiedClick));
    for (size_t i = 0; i < itemSink.events.size(); ++i) {
        if (itemSink.events[i].type == MTBxItemEvents::ModifiedClick)
            EXPECT_EQ(static_cast<std::intptr_t>(Qt::ControlModifier) | Qt::LeftButton, itemSink.arg(i));
    }
}

TEST_F(WindowTest, shouldDragWithoutClicking)
{
    // Press, a move of 20 px and release move the toolbar, report ToolbarMoved and click nothing, vetoed or not.
    MiniToolbar* toolbar = shown(2, 300, 300);
    QmtbView* window = windowOf(toolbar);
    const QPoint start = centreOf(toolbar, 0);
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, window->toLocal(start));
    QTest::mouseMove(window->windowHandle(), window->toLocal(start + QPoint(3, 2)));
    EXPECT_TRUE(observer.moves.empty());
    QTest::mouseMove(window->windowHandle(), window->toLocal(start + QPoint(20, 10)));
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, window->toLocal(start + QPoint(20, 10)));
    ASSERT_EQ(1u, observer.moves.size());
    EXPECT_EQ(QPoint(20, 10), observer.moves[0]);
    EXPECT_EQ(QPoint(320, 310), origin(toolbar));
    ASSERT_EQ(1u, toolbarSink.types.size());
    EXPECT_EQ(MTBxToolbarEvents::ToolbarMoved, toolbarSink.types[0]);
    EXPECT_EQ(0, itemSink.count(MTBxItemEvents::Clicked));

    // An observer that zeroes each step keeps the toolbar still; the release still counts as a move.
    observer.vetoMoves = true;
    const QPoint again = centreOf(toolbar, 0);
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, window->toLocal(again));
    QTest::mouseMove(window->windowHandle(), window->toLocal(again + QPoint(30, 0)));
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, window->toLocal(again + QPoint(30, 0)));
    EXPECT_EQ(QPoint(320, 310), origin(toolbar));
    EXPECT_EQ(0, itemSink.count(MTBxItemEvents::Clicked));
    ASSERT_EQ(2u, toolbarSink.types.size());
    EXPECT_EQ(MTBxToolbarEvents::ToolbarMoved, toolbarSink.types[1]);
}

TEST_F(WindowTest, shouldEmitHoveredAndStartTheTooltipDelay)
{
    // Hovering an item emits hovered and starts the tooltip timer with the delay; leaving stops it; tooltips off start none.
    SetMTBToolTipDelay(700);
    MiniToolbar* toolbar = shown(2);
    QmtbView* window = windowOf(toolbar);
    std::vector<ItemView*> hovered;
    QObject::connect(window, &QmtbView::hovered, [&](ItemView* view) { hovered.push_back(view); });
    QTest::mouseMove(window->windowHandle(), window->toLocal(QPoint(5, 5)));
    QTest::mouseMove(window->windowHandle(), window->toLocal(centreOf(toolbar, 0)));
    ASSERT_EQ(1u, hovered.size());
    EXPECT_NE(nullptr, hovered[0]);
    EXPECT_TRUE(window->isToolTipTimerActive());
    EXPECT_EQ(700, window->toolTipTimerInterval());
    QTest::mouseMove(window->windowHandle(), window->toLocal(QPoint(700, 500)));
    ASSERT_EQ(2u, hovered.size());
    EXPECT_EQ(nullptr, hovered[1]);
    EXPECT_FALSE(window->isToolTipTimerActive());

    // With tooltips disabled, hovering an item starts no timer.
    SetMTBTooltipOption(TooltipsEnabled, false);
    QTest::mouseMove(window->windowHandle(), window->toLocal(centreOf(toolbar, 1)));
    EXPECT_NE(nullptr, toolbar->view()->current());
    EXPECT_FALSE(window->isToolTipTimerActive());
}

TEST_F(WindowTest, shouldTellNearFromFarWithTheFadeMargins)
{
    // A faded-in toolbar counts 10 px left (and height + 10 below) as near; once faded out, 7 px left is far and 6 px near.
    MiniToolbar* toolbar = shown(2, 300, 300);
    QmtbView* window = windowOf(toolbar);
    ASSERT_TRUE(window->isFadedIn());
    controller->pointerMoved(290, 305);
    EXPECT_TRUE(window->isFadedIn());
    EXPECT_FALSE(window->isAnimating());
    controller->pointerMoved(289, 305);
    EXPECT_FALSE(window->isFadedIn());
    finishFade(window);
    controller->pointerMoved(293, 305);
    EXPECT_FALSE(window->isFadedIn());
    controller->pointerMoved(294, 305);
    EXPECT_TRUE(window->isFadedIn());
    finishFade(window);
    EXPECT_DOUBLE_EQ(1.0, window->currentOpacity());

    // Below the toolbar, the pointer is near up to the height plus the margin.
    const int height = toolbarRect(toolbar).height();
    controller->pointerMoved(305, 300 + height + 10);
    EXPECT_TRUE(window->isFadedIn());
    controller->pointerMoved(305, 300 + height + 11);
    EXPECT_FALSE(window->isFadedIn());
}

TEST_F(WindowTest, shouldLockFadedInWhenTheGlobalSwitchIsOff)
{
    // Auto fade off ends running fades, ignores the pointer and locks toolbars faded in; local 1 opts back in, local 0 opts out.
    MiniToolbar* toolbar = shown(2);
    QmtbView* window = windowOf(toolbar);
    controller->pointerMoved(790, 590);
    finishFade(window);
    ASSERT_FALSE(window->isFadedIn());
    // Switching off ends a running fade at once.
    QmtbView* fading = windowOf(shown(2, 500, 100));
    controller->pointerMoved(790, 590);
    ASSERT_TRUE(fading->isAnimating());
    Options options;
    options.setAutoFade(false);
    controller->setOptions(options);
    EXPECT_FALSE(fading->isAnimating());
    EXPECT_FALSE(controller->getOptions().autoFade());
    EXPECT_FALSE(Style::instance()->autoFade());
    controller->pointerMoved(300, 300);
    EXPECT_FALSE(window->isAnimating());
    window->setFadedIn(false);
    EXPECT_TRUE(window->isFadedIn());
    EXPECT_DOUBLE_EQ(1.0, window->currentOpacity());

    toolbar->setLocalAutoFade(1);
    controller->pointerMoved(790, 590);
    EXPECT_FALSE(window->isFadedIn());

    // Local auto fade 0 keeps the toolbar faded in however far the pointer goes.
    MiniToolbar* excluded = shown(2, 100, 100);
    excluded->setLocalAutoFade(0);
    options.setAutoFade(true);
    controller->setOptions(options);
    controller->pointerMoved(790, 590);
    EXPECT_TRUE(windowOf(excluded)->isFadedIn());
    EXPECT_FALSE(windowOf(excluded)->isAnimating());
}

TEST_F(WindowTest, shouldLockFadedOutWhileOnlyNoFadeItemsShow)
{
    // setDisplayOnlyNoFadeItems locks the window faded out: fading items vanish, the pointer brings nothing back.
    MiniToolbar* toolbar = add(makeToolbar(1));
    toolbar->addItem(makeButton(L"Keep", false));
    controller->showToolbar(toolbar, 300, 300, &observer);
    QmtbView* window = windowOf(toolbar);
    toolbar->setDisplayOnlyNoFadeItems(true);
    EXPECT_FALSE(window->isFadedIn());
    EXPECT_DOUBLE_EQ(0.0, window->currentOpacity());
    controller->pointerMoved(305, 305);
    EXPECT_FALSE(window->isFadedIn());
    toolbar->setDisplayOnlyNoFadeItems(false);
    controller->pointerMoved(305, 305);
    EXPECT_TRUE(window->isFadedIn());
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
        if (withSteadyItem) {
            EXPECT_DOUBLE_EQ(0.0, window->currentOpacity());
            EXPECT_TRUE(toolbarSink.types.empty());
        } else {
            EXPECT_FLOAT_EQ(0.3f, static_cast<float>(window->currentOpacity()));
            ASSERT_FALSE(toolbarSink.types.empty());
            EXPECT_EQ(MTBxToolbarEvents::ToolbarFaded, toolbarSink.types.back());
            EXPECT_EQ(&hostContext, toolbarSink.contexts.back());
        }
        controller->closeToolbar(toolbar);
    }
}

TEST_F(WindowTest, shouldParentToTheHostWindowItNames)
{
    // A handle naming a Qt widget of this process makes its window the toolbar's transient parent.
    QWidget host;
    host.setGeometry(50, 50, 400, 300);
    QWidget child(&host);
    host.show();
    observer.parent = reinterpret_cast<HWND>(child.winId());
    MiniToolbar* toolbar = shown(1);
    auto* wrapper = dynamic_cast<QWinWidget*>(toolbar->view()->host());
    ASSERT_NE(nullptr, wrapper);
    EXPECT_EQ(&host, wrapper->hostWindow());
    EXPECT_EQ(wrapper, windowOf(toolbar)->parentWidget());
    EXPECT_EQ(host.windowHandle(), windowOf(toolbar)->windowHandle()->transientParent());
}

TEST_F(WindowTest, shouldShowTooltipsAfterTheDelayAndSwitchAtOnce)
{
    // A resting pointer shows the item's tooltip after the delay; the next item's follows without delay; a move hides it.
    SetMTBToolTipDelay(30);
    MiniToolbar* toolbar = shown(2);
    toolbar->item(0)->setToolTip(MTBxString(L"Make bold"));
    toolbar->item(1)->setToolTip(MTBxString(L"Make italic"));
    QmtbView* window = windowOf(toolbar);
    QTest::mouseMove(window->windowHandle(), window->toLocal(QPoint(5, 5)));
    QTest::mouseMove(window->windowHandle(), window->toLocal(centreOf(toolbar, 0)));
    ASSERT_TRUE(eventually([&] { return window->isToolTipVisible(); }));
    EXPECT_EQ(QStringLiteral("Make bold"), QToolTip::text());
    QTest::mouseMove(window->windowHandle(), window->toLocal(centreOf(toolbar, 1)));
    EXPECT_EQ(0, window->toolTipTimerInterval());
    ASSERT_TRUE(eventually([&] { return QToolTip::text() == QStringLiteral("Make italic"); }));
    controller->moveToolbar(toolbar, 5, 5, true);
    EXPECT_FALSE(window->isToolTipVisible());
}

TEST_F(WindowTest, shouldRetireTheWindowOfAToolbarDestroyedInItsCallback)
{
    // Destroying the toolbar inside its Clicked callback hides and unregisters its window; cleanup deletes it.
    MiniToolbar* toolbar = shown(2);
    QmtbView* window = windowOf(toolbar);
    QPointer<QmtbView> alive(window);
    itemSink.onEvent = [&](void*, MTBxItemEvents::EventType type) {
        if (type == MTBxItemEvents::Clicked)
            toolbars.clear();
    };
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, window->toLocal(centreOf(toolbar, 0)));
    itemSink.onEvent = nullptr;
    ASSERT_TRUE(alive);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QmtbView::visibleWindows().isEmpty());
    EXPECT_TRUE(QmtbView::suspendedWindows().isEmpty());
    MiniToolbar::CleanupOldViews();
    EXPECT_FALSE(alive);
}

TEST_F(WindowTest, shouldCloseWithAShowPendingOrDuringAFade)
{
    // Closing deletes the window with its queued show, or stops a running fade and deletes window and animation.
    MiniToolbar* pending = add(makeToolbar(2));
    controller->showToolbar(pending, 300, 300, &observer, true);
    QPointer<QmtbView> pendingWindow(windowOf(pending));
    controller->closeToolbar(pending);
    EXPECT_FALSE(pendingWindow);
    QCoreApplication::processEvents();
    EXPECT_EQ(nullptr, pending->view());

    MiniToolbar* toolbar = shown(2);
    QPointer<QmtbView> window(windowOf(toolbar));
    controller->pointerMoved(790, 590);
    ASSERT_TRUE(window->isAnimating());
    QPointer<QmtbAnimation> animation(window->animation());
    controller->closeToolbar(toolbar);
    EXPECT_FALSE(window);
    EXPECT_FALSE(animation);
    QTest::qWait(100);
    EXPECT_FALSE(QmtbView::isNativeFilterInstalled());
}
