// A toolbar window and the host's callbacks that run on its stack: the window
// outlives every handler, and what it does not draw it neither masks nor hits.
#include "ItemView.h"
#include "WindowTestSupport.h"

#include <QImage>
#include <QPointer>
#include <QTest>
#include <QWindow>

#include <climits>
#include <cstdlib>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

int contextB = 0;

// Moves the pointer away from every toolbar. Qt drops a move to where the
// pointer already is, hence two.
void sweep(QmtbView* window)
{
    QTest::mouseMove(window->windowHandle(), window->toLocal(QPoint(690, 540)));
    QTest::mouseMove(window->windowHandle(), window->toLocal(QPoint(700, 550)));
}

// Toolbar A at (300, 300) and toolbar B below it. B is shown last, so it is
// the window under the pointer wherever A forwards its events. The parameter
// says whether the host closes A or destroys it.
class WindowEndedInCallbackTest : public ControllerFixture, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        ControllerFixture::SetUp();
        a = shown(2, 300, 300);
        windowA = windowOf(a);
        b = add(std::make_unique<MiniToolbar>(MTBxString(L"B"), &contextB));
        auto* other = new MTBxButton(MTBxString(L"Other"), &contextB);
        other->setText(MTBxString(L"Other"));
        other->setShowText(true);
        other->setCheckable(true);
        b->addItem(other);
        controller->showToolbar(b, 300, 400, &observer);
        windowB = windowOf(b);
    }

    // Run from inside a callback.
    void endA()
    {
        if (ended)
            return;
        ended = true;
        if (GetParam()) {
            controller->closeToolbar(a);
        } else {
            for (auto it = toolbars.begin(); it != toolbars.end(); ++it) {
                if (it->get() == a) {
                    toolbars.erase(it);
                    break;
                }
            }
        }
        survived = !windowA.isNull();
    }

    // A stayed alive through the callback, hides, and goes later: closed
    // again, or finished by the next cleanup or another window's delivery.
    void expectEndedSafely(bool byOtherWindow)
    {
        ASSERT_TRUE(ended);
        EXPECT_TRUE(survived) << "the window was freed under its own handler";
        ASSERT_TRUE(windowA);
        EXPECT_FALSE(windowA->isVisible());
        itemSink.onEvent = nullptr;
        if (GetParam())
            controller->closeToolbar(a);
        else if (byOtherWindow)
            sweep(windowB);
        else
            MiniToolbar::CleanupOldViews();
        EXPECT_FALSE(windowA);
    }

    MiniToolbar* a = nullptr;
    MiniToolbar* b = nullptr;
    QPointer<QmtbView> windowA;
    QmtbView* windowB = nullptr;
    bool ended = false;
    bool survived = false;
};

} // namespace

TEST_P(WindowEndedInCallbackTest, shouldOutliveTheHandlerDuringWhichACallbackEndsIt)
{
    // Press on A, release over B: B's callback on A's forwarded release ends A.
    itemSink.onEvent = [&](void* context, MTBxItemEvents::EventType) {
        if (context == &contextB)
            endA();
    };
    QTest::mousePress(windowA->windowHandle(), Qt::LeftButton, {}, windowA->toLocal(centreOf(a, 0)));
    QTest::mouseRelease(windowA->windowHandle(), Qt::LeftButton, {}, windowA->toLocal(centreOf(b, 0)));
    expectEndedSafely(true);
}

TEST_P(WindowEndedInCallbackTest, shouldOutliveAnotherWindowsDeliveryAfterItsOwnCallbackEndedIt)
{
    // A's HoverEnter ends A; then A's hovered signal makes B deliver, which finishes deferred toolbars.
    itemSink.onEvent = [&](void* context, MTBxItemEvents::EventType type) {
        if (context == &hostContext && type == MTBxItemEvents::HoverEnter)
            endA();
    };
    QObject::connect(windowA, &QmtbView::hovered, [&] {
        if (!ended)
            return;
        b->item(0)->setChecked(!b->item(0)->isChecked());
        survived = survived && windowA;
    });
    sweep(windowA);
    QTest::mouseMove(windowA->windowHandle(), windowA->toLocal(centreOf(a, 0)));
    expectEndedSafely(false);
}

TEST_P(WindowEndedInCallbackTest, shouldOutliveObserverCallbacksThatEndIt)
{
    // mtbMoved during a drag, and getMtbParentBounds during a relayout or a move, end A.
    struct Road
    {
        const char* name;
        std::function<void()> act;
    };
    const Road roads[] = {
        { "relayout", [&] {
             observer.onBounds = [&](int, int) { endA(); };
             controller->updateLayout(a, true);
         } },
        { "move", [&] {
             observer.onBounds = [&](int, int) { endA(); };
             controller->moveToolbar(a, 10, 0, true);
         } },
        { "drag", [&] {
             observer.onMoved = [&] { endA(); };
             const QPoint start = centreOf(a, 0);
             QTest::mousePress(windowA->windowHandle(), Qt::LeftButton, {}, windowA->toLocal(start));
             QTest::mouseMove(windowA->windowHandle(), windowA->toLocal(start + QPoint(20, 0)));
             if (windowA)
                 QTest::mouseRelease(windowA->windowHandle(), Qt::LeftButton, {}, windowA->toLocal(start + QPoint(20, 0)));
         } },
    };
    bool byOtherWindow = false;
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        if (ended) {
            // Each road ends a fresh A.
            a = shown(2, 300, 300);
            windowA = windowOf(a);
            ended = survived = false;
        }
        road.act();
        observer.onMoved = nullptr;
        observer.onBounds = nullptr;
        expectEndedSafely(byOtherWindow = !byOtherWindow);
    }
}

INSTANTIATE_TEST_SUITE_P(CloseOrDestroy, WindowEndedInCallbackTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "close" : "destroy");
                         });

namespace {

class WindowDrawingTest : public ControllerFixture
{
protected:
    MiniToolbar* shownWith(std::initializer_list<MTBxItem*> items)
    {
        MiniToolbar* toolbar = add(std::make_unique<MiniToolbar>(MTBxString(L"bar"), &hostContext));
        for (MTBxItem* item : items)
            toolbar->addItem(item);
        controller->showToolbar(toolbar, 300, 300, &observer);
        return toolbar;
    }
};

const ItemPart* captionOf(const MTBxItem* item)
{
    for (const ItemPart& part : item->itemView()->parts())
        if (part.kind == Caption)
            return &part;
    return nullptr;
}

} // namespace

TEST_F(WindowDrawingTest, shouldDrawCaptionsWithOuterBlanksLikeTheirTrimmedText)
{
    // "Bold ", " Bold" and " Bold " are measured as "Bold" and drawn pixel for pixel like it, not elided.
    MiniToolbar* toolbar = shownWith({ makeButton(L"Bold"), makeButton(L"Bold "), makeButton(L" Bold"),
                                       makeButton(L" Bold ") });
    const QImage image = windowOf(toolbar)->grab().toImage();
    const QPoint origin = windowOf(toolbar)->toLocal(windowOrigin(toolbar));
    const auto captionAt = [&](int index, int dx, int y) {
        const ItemView* view = toolbar->item(index)->itemView();
        return image.pixel(origin.x() + static_cast<int>(view->left()) + captionOf(view->item())->x + dx,
                           origin.y() - static_cast<int>(view->top()) + y);
    };
    const ItemPart* reference = captionOf(toolbar->item(0));
    ASSERT_NE(nullptr, reference);
    for (int i = 1; i < 4; ++i) {
        ASSERT_EQ(reference->width, captionOf(toolbar->item(i))->width) << i;
        for (int dx = 0; dx < reference->width + 3; ++dx)
            for (int y = 5; y <= 17; ++y)
                ASSERT_EQ(captionAt(0, dx, y), captionAt(i, dx, y)) << i << ": " << dx << "," << y;
    }
}

TEST_F(WindowDrawingTest, shouldNeitherMaskNorHitItemsDrawnInvisible)
{
    // Showing only no-fade items, or faded out beside one, auto-hiding items and grip leave the mask and take no input.
    for (bool locked : { true, false }) {
        SCOPED_TRACE(locked ? "only no-fade items" : "faded out");
        itemSink.events.clear();
        MiniToolbar* toolbar = shownWith({ makeButton(L"Bold"), makeButton(L"Keep", false) });
        QmtbView* window = windowOf(toolbar);
        const QPoint hidden = centreOf(toolbar, 0);
        const QPoint kept = centreOf(toolbar, 1);
        float top = 0, left = 0, bottom = 0, right = 0;
        toolbar->item(1)->getBounds(top, left, bottom, right);
        const int keptLeft = windowOrigin(toolbar).x() + static_cast<int>(left);
        if (locked) {
            toolbar->setDisplayOnlyNoFadeItems(true);
        } else {
            controller->pointerMoved(790, 590);
            finishFade(window);
        }
        ASSERT_DOUBLE_EQ(0.0, window->currentOpacity());
        EXPECT_FALSE(window->paintedRegion().contains(hidden));
        EXPECT_TRUE(window->paintedRegion().contains(kept));
        EXPECT_GE(window->paintedRegion().boundingRect().left(), keptLeft - QmtbView::penMargin);

        sweep(window);
        QTest::mouseMove(window->windowHandle(), window->toLocal(hidden));
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, window->toLocal(hidden));
        EXPECT_TRUE(itemSink.events.empty());
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, window->toLocal(kept));
        EXPECT_EQ(1, itemSink.count(MTBxItemEvents::Clicked));
        // Hovering the kept item fades the toolbar in unless it is locked: the hidden item comes back at once.
        EXPECT_EQ(!locked, window->paintedRegion().contains(hidden));
        controller->closeToolbar(toolbar);
    }
}

TEST_F(WindowDrawingTest, shouldClampExtremeGeometry)
{
    // Moves by INT_MAX, an item INT_MAX wide and parent bounds at the int limits keep the origin sane, with no overflow.
    MiniToolbar* toolbar = shown(2, 300, 300);
    controller->moveToolbar(toolbar, INT_MAX, INT_MAX, true);
    EXPECT_EQ(QPoint(789, 589), toolbarRect(toolbar).bottomRight());
    controller->moveToolbar(toolbar, INT_MIN, INT_MIN, false);
    EXPECT_EQ(QPoint(15, 10), toolbarRect(toolbar).topLeft());
    controller->moveToolbar(toolbar, 300, 300, false);
    toolbar->item(0)->setWidth(INT_MAX);
    QCoreApplication::processEvents();
    EXPECT_EQ(15, origin(toolbar).x());

    struct LimitObserver : HostObserver
    {
        void getMtbParentBounds(int, int, int& left, int& top, int& width, int& height) override
        {
            left = l;
            top = t;
            width = w;
            height = h;
        }
        int l, t, w, h;
    };
    const int limits[][4] = { { INT_MAX, INT_MAX, INT_MAX, INT_MAX }, { INT_MIN, INT_MIN, INT_MAX, INT_MAX },
                              { INT_MIN, INT_MIN, INT_MIN, INT_MIN }, { INT_MAX, INT_MIN, INT_MIN, INT_MAX },
                              { 0, 0, INT_MAX, INT_MAX } };
    for (const auto& bounds : limits) {
        SCOPED_TRACE(::testing::PrintToString(std::vector<int>(bounds, bounds + 4)));
        LimitObserver limit;
        limit.l = bounds[0];
        limit.t = bounds[1];
        limit.w = bounds[2];
        limit.h = bounds[3];
        MiniToolbar* bounded = add(makeToolbar(2));
        controller->showToolbar(bounded, 300, 300, &limit);
        controller->moveToolbar(bounded, INT_MAX, INT_MIN, true);
        const QPoint o = origin(bounded);
        EXPECT_LE(std::abs(o.x()), 1 << 30);
        EXPECT_LE(std::abs(o.y()), 1 << 30);
        controller->closeToolbar(bounded);
    }
}
