#ifndef MINITOOLBARS_WINDOWTESTSUPPORT_H
#define MINITOOLBARS_WINDOWTESTSUPPORT_H

// A host observer, toolbar builders, window rectangles of items and a fixture
// that shows toolbars through a real controller.

#include "Core/Style.h"
#include "MiniToolbars/Controller.h"
#include "MiniToolbars/ControllerObserver.h"
#include "MiniToolbars/MiniToolbar.h"
#include "MiniToolbars/MTBxButton.h"
#include "Qt/QmtbAutoFade.h"
#include "Qt/QmtbController.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QmtbPointerInput.h"
#include "Qt/QmtbView.h"
#include "support/ToolbarStandIns.h"

#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace MiniToolbars {
namespace Testing {

// The host's observer. Without bounds set it leaves the caller's values.
class HostObserver : public ControllerObserver
{
public:
    void mtbMoved(int& dx, int& dy) override
    {
        moves.push_back(QPoint(dx, dy));
        if (onCallback)
            onCallback();
        if (vetoMoves)
            dx = dy = 0;
    }
    void getMtbParentBounds(int, int, int& left, int& top, int& width, int& height) override
    {
        if (onCallback)
            onCallback();
        if (hasBounds)
            left = bounds.left(), top = bounds.top(), width = bounds.width(), height = bounds.height();
    }
    HWND getParentHwnd() override
    {
        if (onParentHwnd)
            onParentHwnd();
        return parent;
    }
    void setBounds(const QRect& rect) { hasBounds = true, bounds = rect; }

    bool hasBounds = false, vetoMoves = false;
    QRect bounds;
    HWND parent = nullptr;
    std::vector<QPoint> moves;
    std::function<void()> onParentHwnd;
    // Run inside mtbMoved and getMtbParentBounds.
    std::function<void()> onCallback;
};

// Counts the events of one type that reach an object.
struct EventCounter : QObject
{
    EventCounter(QObject* target, int type) : type(type) { target->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override { return count += event->type() == type, false; }
    int type, count = 0;
};

inline int hostContext = 0;

inline MTBxItem* makeButton(const wchar_t* text, bool autoHide = true, void* context = &hostContext)
{
    auto* item = new MTBxButton(MTBxString(text), context);
    item->setText(MTBxString(text)), item->setShowText(true), item->setAutoHide(autoHide);
    return item;
}

inline std::unique_ptr<MiniToolbar> makeToolbar(int buttons)
{
    auto toolbar = std::make_unique<MiniToolbar>(MTBxString(L"bar"), &hostContext);
    static const wchar_t* names[] = { L"Bold", L"Italic", L"Under", L"Strike", L"Left", L"Right" };
    for (int i = 0; i < buttons; ++i)
        toolbar->addItem(makeButton(names[i % 6]));
    return toolbar;
}

inline QmtbView* windowOf(const MiniToolbar* toolbar) { return QmtbController::windowOf(toolbar); }

inline QPoint windowOrigin(const MiniToolbar* toolbar) { QPoint o; return windowOf(toolbar)->getOrigin(o.rx(), o.ry()), o; }

// Window rectangle of an item's bounds, or of the toolbar's (without the grip) for index -1.
inline QRect windowRect(MiniToolbar* toolbar, int index = -1)
{
    float top = 0, left = 0, bottom = 0, right = 0;
    index < 0 ? toolbar->getBounds(top, left, bottom, right) : toolbar->item(index)->getBounds(top, left, bottom, right);
    const QPoint o = windowOrigin(toolbar);
    return QRectF(o.x() + left, o.y() - top, right - left, top - bottom).toRect();
}
inline QRect toolbarRect(MiniToolbar* toolbar) { return windowRect(toolbar); }
inline QPoint centreOf(MiniToolbar* toolbar, int index) { return windowRect(toolbar, index).center(); }
// A press and release at the centre of an item, as the window's pointer input takes them.
inline void clickItem(MiniToolbar* toolbar, int index)
{
    const QPoint p = centreOf(toolbar, index);
    windowOf(toolbar)->pointer().pressAt(p), windowOf(toolbar)->pointer().releaseAt(p, Qt::LeftButton);
}

// Runs the event loop until the condition holds. QtTest's QTRY macros would
// return silently from a GoogleTest body instead of failing it.
inline ::testing::AssertionResult eventually(const std::function<bool()>& condition, int timeout = 5000)
{
    return QTest::qWaitFor(condition, timeout)
        ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "the condition did not hold within " << timeout << " ms";
}

// Window points the window takes on screen: its shape, or its whole
// rectangle when it is unshaped.
inline QRegion screenShape(const QmtbView* window)
{
    const QRegion local = window->mask().isEmpty() ? QRegion(window->rect()) : window->mask();
    return local.translated(window->placement().windowOffset());
}

// Toolbars shown by a fresh controller inside an 800 x 600 parent, with both
// host sinks recording.
class ControllerFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Style::setXHeightOverride(6);
        controller.reset(Controller::createInstance());
        observer.setBounds(QRect(0, 0, 800, 600));
    }
    void TearDown() override
    {
        for (auto& toolbar : toolbars)
            controller->closeToolbar(toolbar.get());
        toolbars.clear();
    }

    MiniToolbar* add(std::unique_ptr<MiniToolbar> toolbar) { return toolbars.emplace_back(std::move(toolbar)).get(); }
    MiniToolbar* shown(int buttons, int x = 300, int y = 300)
    {
        MiniToolbar* toolbar = add(makeToolbar(buttons));
        EXPECT_TRUE(controller->showToolbar(toolbar, x, y, &observer));
        return toolbar;
    }
    QPoint origin(MiniToolbar* toolbar) const { QPoint p(-1, -1); return controller->getToolbarPosition(toolbar, p.rx(), p.ry()), p; }
    // Lets a running fade reach its end and the repaints it asks for happen.
    static void finishFade(QmtbView* window)
    {
        ASSERT_TRUE(eventually([=] { return !window->fade().isAnimating(); }, 3000));
        QTest::qWait(50);
    }

    RecordingItemSink itemSink;
    RecordingToolbarSink toolbarSink;
    HostObserver observer;
    std::unique_ptr<Controller> controller;
    std::vector<std::unique_ptr<MiniToolbar>> toolbars;
};

} // namespace Testing
} // namespace MiniToolbars

#endif
