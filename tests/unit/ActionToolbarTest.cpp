// The QAction front end as a Qt host uses it: placement next to an anchor,
// actions followed live, clicks that trigger them, and lifetimes.
#include "Core/ItemView.h"
#include "Core/MTBxImage.h"
#include "Core/MTBxView.h"
#include "MiniToolbars/ActionToolbar.h"
#include "MiniToolbars/IconHandles.h"
#include "MiniToolbars/MTBxItemEventsUtility.h"
#include "Qt/PopupIcon.h"
#include "Qt/QmtbPlacement.h"
#include "support/WindowTestSupport.h"

#include <QAction>
#include <QActionGroup>
#include <QIconEngine>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QWidget>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

// The image a menu or list shows for an item, whichever way the item got its icon.
QImage iconOf(const MTBxItem* item) { return PopupIcon::of(*item, Style::instance()->iconSize(), 1.0).image; }

// An icon whose engine runs host code each time it makes a pixmap.
struct HostCodeIconEngine : QIconEngine
{
    explicit HostCodeIconEngine(std::function<void()> run) : run(std::move(run)) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override { painter->fillRect(rect, Qt::red); }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        QPixmap pixmap(size);
        return run(), pixmap.fill(Qt::red), pixmap;
    }
    QIconEngine* clone() const override { return new HostCodeIconEngine(run); }
    std::function<void()> run;
};

class ActionToolbarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.setGeometry(100, 100, 600, 400), host.show();
        for (const char* name : {"Bold", "Italic", "Underline"}) {
            auto* action = new QAction(QString::fromLatin1(name), &host);
            action->setCheckable(true), toolbar->addAction(action);
        }
    }
    bool show() { return toolbar->show(&host, QRect(250, 200, 100, 16)); }
    QAction* action(int i) const { return toolbar->actions().at(i); }
    MTBxItem* item(int i) const { return toolbar->miniToolbar()->item(i); }
    void click(int i, Qt::KeyboardModifiers modifiers = {}) const { clickIn(toolbar->miniToolbar(), i, modifiers); }
    static void clickIn(MiniToolbar* bar, int i, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(windowOf(bar)->windowHandle(), Qt::LeftButton, modifiers, windowOf(bar)->placement().toLocal(centreOf(bar, i)));
    }
    QRect room() const { return QRect(host.mapToGlobal(QPoint()), host.size()); }

    QWidget host;
    std::unique_ptr<ActionToolbar> toolbar = std::make_unique<ActionToolbar>();
};

TEST_F(ActionToolbarTest, placesNextToTheAnchorFlipsAndShiftsInside)
{
    // Above with the gap where there is room, else below, shifted inside at the right edge, pinned to the roomier side's edge when neither fits: always inside the host.
    const struct {
        QRect anchor;
        ActionToolbar::Side side;
        bool expectAbove, pinned = false;
    } cases[] = {
        {QRect(250, 200, 100, 16), ActionToolbar::Above, true},
        {QRect(250, 4, 100, 16), ActionToolbar::Above, false},
        {QRect(250, 200, 100, 16), ActionToolbar::Below, false},
        {QRect(250, 380, 100, 16), ActionToolbar::Below, true},
        {QRect(560, 200, 40, 16), ActionToolbar::Above, true},
        {QRect(250, 0, 100, 390), ActionToolbar::Above, false, true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(toolbar->show(&host, c.anchor, c.side));
        const QRect anchor = c.anchor.translated(room().topLeft());
        const QRect drawn = toolbar->geometry();
        SCOPED_TRACE(testing::Message() << "anchor y " << c.anchor.y() << " drawn " << drawn.x() << "," << drawn.y());
        EXPECT_TRUE(room().contains(drawn));
        if (c.pinned)
            EXPECT_EQ(drawn.bottom(), room().bottom());
        else if (c.expectAbove)
            EXPECT_EQ(drawn.bottom() + 1 + toolbar->gap(), anchor.top());
        else
            EXPECT_EQ(drawn.top(), anchor.bottom() + 1 + toolbar->gap());
        if (anchor.right() < room().right() - drawn.width())
            EXPECT_LE(std::abs(drawn.center().x() - anchor.center().x()), 1);
        else
            EXPECT_EQ(drawn.right(), room().right());
    }
    // A new anchor, and the host window moving, take the toolbar along.
    toolbar->setAnchor(QRect(250, 200, 100, 16));
    const QRect before = toolbar->geometry();
    toolbar->setAnchor(QRect(250, 230, 100, 16));
    EXPECT_EQ(toolbar->geometry(), before.translated(0, 30));
    host.move(host.pos() + QPoint(20, 10));
    EXPECT_TRUE(eventually([&] { return toolbar->geometry() == before.translated(20, 40); }));
    toolbar->setGap(16);
    EXPECT_EQ(toolbar->geometry(), before.translated(20, 30)) << "a wider gap moves it away at once";
    toolbar->setGap(-3);
    const int negative = toolbar->gap();
    toolbar->setGap(1 << 20);
    EXPECT_EQ(std::make_pair(negative, toolbar->gap()), std::make_pair(0, 1 << 16)) << "gaps are clamped";
    // A caption grown while shown is centred on the anchor again once laid out.
    toolbar->setGap(4);
    const int width = toolbar->geometry().width(), centre = QRect(250, 230, 100, 16).translated(room().topLeft()).center().x();
    action(0)->setText("A much longer caption");
    EXPECT_TRUE(eventually([&] { return toolbar->geometry().width() > width && std::abs(toolbar->geometry().center().x() - centre) <= 1; }));
}

TEST_F(ActionToolbarTest, followsActionChangesLive)
{
    // Each change of a shown action reaches its item; a longer text widens the toolbar, hiding it behind an icon narrows it.
    ASSERT_TRUE(show());
    QPixmap red(16, 16);
    red.fill(Qt::red);
    const struct {
        std::function<void(QAction*)> change;
        std::function<bool(MTBxItem*)> followed;
        int widens = 0;
    } cases[] = {
        {[](QAction* a) { a->setText("Much bolder text"); }, [](MTBxItem* i) { return i->text() == L"Much bolder text"; }, 1},
        {[](QAction* a) { a->setChecked(true); }, [](MTBxItem* i) { return i->isChecked(); }},
        {[](QAction* a) { a->setEnabled(false); }, [](MTBxItem* i) { return !i->isEnabled(); }},
        {[](QAction* a) { a->setToolTip("Tip"); }, [](MTBxItem* i) { return i->toolTip() == L"Tip"; }},
        {[](QAction* a) { a->setShortcut(QKeySequence("Ctrl+B")); }, [](MTBxItem* i) { return i->shortcut() == L"Ctrl+B"; }},
        {[&](QAction* a) { a->setIcon(QIcon(red)); }, [](MTBxItem* i) { return !iconOf(i).isNull() && i->showText(); }},
        {[](QAction* a) { a->setPriority(QAction::LowPriority); }, [](MTBxItem* i) { return !i->showText(); }, -1},
        {[&](QAction* a) { toolbar->setSplitButton(a, true); }, [&](MTBxItem* i) { return i->hasSplitter() && !item(1)->hasSplitter(); }},
        {[](QAction* a) { a->setVisible(false); }, [](MTBxItem* i) { return !i->isVisible(); }},
    };
    for (const auto& c : cases) {
        const int width = toolbar->geometry().width();
        c.change(action(0));
        EXPECT_TRUE(c.followed(item(0)));
        if (c.widens)
            EXPECT_TRUE(eventually([&] { return (toolbar->geometry().width() - width) * c.widens > 0; }));
    }
    action(1)->setIcon(QIcon(red));
    toolbar->close();
    action(0)->setMenu(new QMenu(&host));
    EXPECT_EQ(toolbar->miniToolbar()->itemCount(), 0) << "a hidden toolbar holds no items";
    ASSERT_TRUE(show());
    EXPECT_FALSE(iconOf(item(1)).isNull()) << "a second show draws the icons again";
    const auto lists = [&](const wchar_t* text) {
        auto* list = dynamic_cast<MTBxListType*>(item(0));
        return list && list->itemCount() == 1 && list->item(0)->text() == text && !list->item(0)->hasRemoveButton();
    };
    action(0)->menu()->addAction("Entry");
    EXPECT_TRUE(eventually([&] { return lists(L"Entry"); }));
    const int items = toolbar->miniToolbar()->itemCount();
    auto* other = new QMenu(&host);
    other->addAction("Other");
    action(0)->setMenu(other);
    EXPECT_TRUE(eventually([&] { return lists(L"Other"); })) << "another menu replaces the entries";
    EXPECT_EQ(toolbar->miniToolbar()->itemCount(), items) << "the replaced drop-down is gone";
    toolbar->setRemovableEntries(action(0), true);
    EXPECT_TRUE(dynamic_cast<MTBxListType*>(item(0))->item(0)->hasRemoveButton());
    item(0)->setTag(7);
    action(0)->menu()->addSeparator();
    EXPECT_EQ(item(0)->tag(), 7) << "a menu change that leaves its entries alone keeps the drop-down";
    toolbar->close();
    action(0)->menu()->addAction("Later");
    ASSERT_TRUE(show());
    EXPECT_EQ(dynamic_cast<MTBxListType*>(item(0))->itemCount(), 2) << "an entry added while hidden shows up";
    toolbar->insertAction(action(1), new QAction("Inserted", &host));
    EXPECT_EQ(item(1)->text(), L"Inserted") << "an action inserted while shown gets its item at once";
}

TEST_F(ActionToolbarTest, iconsReachTheItemsAsImagesThatGoWithThem)
{
    // Icons reach items and menu entries as their own pixels at icon size times the host's ratio (aspect kept); images of changed, gone, closed or deleted icons are freed.
    const int side = Style::instance()->iconSize();
    const QSize pixels = QSize(side, side) * host.devicePixelRatioF();
    QImage exact(pixels, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < exact.height(); ++y)
        for (int x = 0; x < exact.width(); ++x)
            exact.setPixelColor(x, y, QColor(x * 255 / exact.width(), 90, y * 255 / exact.height(), 40 + (x + y) * 4 % 200));
    auto* menu = new QMenu(&host);
    QAction* const entry = menu->addAction("Entry");
    action(2)->setMenu(menu);
    ASSERT_TRUE(show());
    const auto entryItem = [&] { return dynamic_cast<MTBxListType*>(item(2))->item(0); };
    const QImage half = exact.scaled(pixels / 2), flat = exact.scaled(pixels.width(), pixels.height() / 2);
    const struct {
        QImage source;
        QSize shown;
    } cases[] = {{exact, pixels}, {half, pixels}, {flat, flat.size()}, {exact.scaled(pixels * 3), pixels}, {QImage(), QSize(0, 0)}};
    std::vector<HICON> freed;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "source " << c.source.width() << "x" << c.source.height());
        const QIcon icon = c.source.isNull() ? QIcon() : QIcon(QPixmap::fromImage(c.source));
        action(0)->setIcon(icon), entry->setIcon(icon);
        for (const MTBxItem* shown : {item(0), entryItem()}) {
            const QImage image = iconOf(shown);
            EXPECT_EQ(image.size(), c.shown);
            if (c.source.size() == pixels)
                EXPECT_EQ(image.convertToFormat(QImage::Format_ARGB32_Premultiplied), exact) << "the icon's own pixels";
            EXPECT_EQ(shown->iconHandle() != nullptr, !c.source.isNull());
        }
        EXPECT_TRUE(eventually([&] {
            const MTBxImage* drawn = item(0)->itemView() ? item(0)->itemView()->image() : nullptr;
            return drawn ? QSizeF(drawn->width(), drawn->height()) == QSizeF(c.shown) : c.shown.isEmpty();
        })) << "the toolbar draws the new icon";
        for (const HICON gone : freed)
            EXPECT_TRUE(pixmapFromIconHandle(gone).isNull()) << "the image of an icon that changed is freed";
        freed.push_back(item(0)->iconHandle()), freed.push_back(entryItem()->iconHandle());
    }
    // A menu change rebuilds the drop-down's item. An icon engine of the new entry that lays the toolbar out
    // meanwhile finds the old item, which is still there, drawn with its icon.
    action(2)->setIcon(QIcon(QPixmap::fromImage(exact)));
    const MTBxItem* const old = item(2);
    bool armed = true, oldDrawsIcon = true;
    int layouts = 0;
    menu->addAction(QIcon(new HostCodeIconEngine([&] {
        if (!armed || item(2) != old)
            return;
        ActionToolbar::controller()->updateLayout(toolbar->miniToolbar(), true);
        const ItemView* view = old->itemView();
        oldDrawsIcon = oldDrawsIcon && view && view->image() && view->image()->width() > 0;
        ++layouts;
    })), "Added");
    armed = false;
    EXPECT_TRUE(layouts > 0 && oldDrawsIcon && item(2) != old) << layouts;

    action(0)->setIcon(QIcon(QPixmap::fromImage(exact)));
    const HICON shownBefore = item(0)->iconHandle();
    EXPECT_FALSE(pixmapFromIconHandle(shownBefore).isNull());
    toolbar->close();
    EXPECT_TRUE(pixmapFromIconHandle(shownBefore).isNull()) << "a closed toolbar keeps no image";
    ASSERT_TRUE(show());
    const HICON shownAgain = item(0)->iconHandle();
    EXPECT_FALSE(pixmapFromIconHandle(shownAgain).isNull());
    toolbar.reset();
    EXPECT_TRUE(pixmapFromIconHandle(shownAgain).isNull()) << "a deleted toolbar keeps no image";
}

TEST_F(ActionToolbarTest, clickTriggersTheActionAndGroupsStayExclusive)
{
    // One click, one trigger and one toggle; in an exclusive group a click on the checked action keeps it checked.
    auto* group = new QActionGroup(&host);
    for (int i = 0; i < 3; ++i)
        group->addAction(action(i));
    ASSERT_TRUE(show());
    QSignalSpy triggered(action(1), &QAction::triggered), toggled(action(1), &QAction::toggled);
    Qt::KeyboardModifiers modifiers;
    QObject::connect(toolbar.get(), &ActionToolbar::modifiedClick, [&](QAction*, Qt::KeyboardModifiers m) { modifiers = m; });
    for (const int i : {1, 1, 2, 0}) {
        click(i);
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(item(j)->isChecked(), j == i) << "after clicking " << i;
    }
    EXPECT_TRUE(triggered.count() == 2 && toggled.count() == 2);
    click(2, Qt::ShiftModifier);
    EXPECT_EQ(modifiers, Qt::ShiftModifier);
}

TEST_F(ActionToolbarTest, choosingAMenuEntryTriggersItsActionOnce)
{
    // A menu entry chosen by click or keys triggers its action once (toggling it), pointing hovers it, its remove button only asks for removal; all else stays silent.
    auto* menu = new QMenu(&host);
    for (const char* text : {"Copy", "Wrap", "Ruler"})
        menu->addAction(QString::fromLatin1(text));
    menu->actions().at(1)->setCheckable(true), menu->actions().at(2)->setCheckable(true), menu->actions().at(2)->setChecked(true);
    auto* dropDown = new QAction("Edit", &host);
    dropDown->setMenu(menu), toolbar->addAction(dropDown);
    ASSERT_TRUE(show());

    enum How { Click, Keys, RemoveButton };
    const struct { int entry; How how; bool checked; } cases[] = {
        {0, Click, false}, {1, Click, true}, {2, Keys, false}, {1, Keys, false}, {2, RemoveButton, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "entry " << c.entry << " how " << c.how);
        QAction* const chosen = menu->actions().at(c.entry);
        toolbar->setRemovableEntries(dropDown, c.how == RemoveButton);
        QList<QAction*> hovered, removeRequested;
        int triggered[4] = {}, modifiedClicks = 0;
        const QObject listening; // the connections of this case end with it
        QObject::connect(toolbar.get(), &ActionToolbar::hovered, &listening, [&](QAction* a) { hovered << a; });
        QObject::connect(toolbar.get(), &ActionToolbar::removeRequested, &listening, [&](QAction* a) { removeRequested << a; });
        QObject::connect(toolbar.get(), &ActionToolbar::modifiedClick, &listening, [&] { ++modifiedClicks; });
        for (int i = 0; i < 4; ++i)
            QObject::connect(i < 3 ? menu->actions().at(i) : dropDown, &QAction::triggered, &listening, [&, i] { ++triggered[i]; });
        QSignalSpy closed(toolbar.get(), &ActionToolbar::closed), picked(menu, &QMenu::triggered);

        // Qt opens the menu from the release; what the press leaves behind comes first.
        QmtbView* const bar = windowOf(toolbar->miniToolbar());
        const QPoint arrow = bar->placement().toLocal(centreOf(toolbar->miniToolbar(), 3));
        QTest::mousePress(bar->windowHandle(), Qt::LeftButton, {}, arrow), QApplication::processEvents();
        QTest::mouseRelease(bar->windowHandle(), Qt::LeftButton, {}, arrow), QApplication::processEvents();
        auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(open && open->isVisible());
        ASSERT_EQ(open->actions().size(), 3);
        QWindow* const window = open->windowHandle();
        const QPoint at = open->actionGeometry(open->actions().at(c.entry)).center();
        if (c.how == Keys) {
            for (int i = 0; i <= c.entry; ++i)
                QTest::keyClick(open, Qt::Key_Down);
            QTest::keyClick(open, Qt::Key_Return);
        } else {
            // A single move into a freshly opened QMenu does not always highlight the entry under it; a real
            // pointer moves on.
            QTest::mouseMove(window, at - QPoint(2, 0));
            QTest::mouseMove(window, at);
            QPoint target = at;
            if (c.how == RemoveButton) {
                const auto* remove = open->findChild<QPushButton*>(QStringLiteral("removeButton"));
                ASSERT_TRUE(remove && remove->isVisible());
                target = remove->geometry().center();
            }
            QTest::mouseClick(window, Qt::LeftButton, {}, target);
        }
        QApplication::processEvents();

        EXPECT_EQ(triggered[c.entry], c.how == RemoveButton ? 0 : 1);
        EXPECT_EQ(picked.count(), triggered[c.entry]) << "the host's menu reports the choice as its own";
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(i == c.entry || triggered[i] == 0) << "action " << i << " triggered";
        EXPECT_EQ(chosen->isChecked(), c.checked);
        auto* list = dynamic_cast<MTBxListType*>(item(3));
        ASSERT_TRUE(list && list->itemCount() == 3);
        EXPECT_EQ(list->item(c.entry)->isChecked(), c.checked) << "the entry's item follows its action";
        if (c.how != Keys)
            EXPECT_EQ(hovered.value(hovered.size() - 1), chosen) << "the pointer on an entry is a hover of its action";
        EXPECT_EQ(removeRequested, c.how == RemoveButton ? QList<QAction*>{chosen} : QList<QAction*>{});
        EXPECT_TRUE(modifiedClicks == 0 && closed.count() == 0) << "modified clicks, closes";
        EXPECT_EQ(open->isVisible(), c.how == RemoveButton) << "a choice closes the menu, asking for removal does not";
        if (open->isVisible())
            QTest::keyClick(open, Qt::Key_Escape);
    }
}

TEST_F(ActionToolbarTest, reportsHoverDragFadeAndHidingAsSignals)
{
    // Hover, wheel, keys, a drag, the pointer leaving and coming back, and the host hiding each reach the host as one signal; a dragged toolbar stays put.
    ASSERT_TRUE(show());
    QList<QAction*> hovered;
    QPoint moved;
    int fades[2] = {}, closed = 0;
    QObject::connect(toolbar.get(), &ActionToolbar::hovered, [&](QAction* a) { hovered << a; });
    QObject::connect(toolbar.get(), &ActionToolbar::movedByUser, [&](QPoint p) { moved = p; });
    QObject::connect(toolbar.get(), &ActionToolbar::fadedOut, [&] { ++fades[0]; });
    QObject::connect(toolbar.get(), &ActionToolbar::fadedIn, [&] { ++fades[1]; });
    QObject::connect(toolbar.get(), &ActionToolbar::closed, [&] { ++closed; });
    QmtbView* window = windowOf(toolbar->miniToolbar());
    const QPoint centre = centreOf(toolbar->miniToolbar(), 1), below = centre + QPoint(0, 40);
    const auto at = [&](QPoint p) { return window->placement().toLocal(p); };
    QTest::mouseMove(window->windowHandle(), at(centre));
    EXPECT_EQ(hovered, QList<QAction*>{action(1)});
    QWheelEvent wheel(at(centre), centre, {}, QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QObject::connect(toolbar.get(), &ActionToolbar::wheelTurned, [&](QAction* a, int delta) { hovered << a, moved.rx() = delta; });
    QCoreApplication::sendEvent(window, &wheel);
    EXPECT_TRUE(eventually([&] { return hovered.size() == 2 && hovered[1] == action(1) && moved.x() == 120; }));
    QSignalSpy pressed(toolbar.get(), &ActionToolbar::keyPressed), released(toolbar.get(), &ActionToolbar::keyReleased);
    toolbar->miniToolbar()->view()->keyDown(0x41, 0), toolbar->miniToolbar()->view()->keyUp(0x42, 0);
    EXPECT_TRUE(pressed.count() == 1 && pressed[0][0] == 0x41 && released.count() == 1 && released[0][0] == 0x42);

    const QRect before = toolbar->geometry();
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, at(centre)), QTest::mouseMove(window->windowHandle(), at(below));
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, at(below));
    EXPECT_EQ(toolbar->geometry(), before.translated(0, 40));
    EXPECT_EQ(moved, toolbar->geometry().topLeft());
    host.resize(600, 390);
    EXPECT_TRUE(eventually([&] { return host.height() == 390; }));
    EXPECT_EQ(toolbar->geometry(), before.translated(0, 40)) << "a dragged toolbar stays where the user put it";

    ActionToolbar::controller()->pointerMoved(0, 0);
    EXPECT_TRUE(eventually([&] { return fades[0] == 1; }));
    ActionToolbar::controller()->pointerMoved(below.x(), below.y());
    EXPECT_TRUE(eventually([&] { return fades[1] == 1; }));
    host.hide();
    EXPECT_TRUE(closed == 1 && !toolbar->isVisible()) << closed;
}

TEST_F(ActionToolbarTest, deletedActionsHostsAndToolbarsLeaveCleanly)
{
    // Insertions go before, re-adds are ignored, deleted or removed actions leave; closing or deleting from a slot and deleting the host end in closed(); a deleted menu takes its drop-down.
    toolbar->insertAction(action(0), new QAction("First", &host));
    toolbar->insertAction(action(2), new QAction("Second", &host));
    toolbar->addAction(action(0));
    ASSERT_TRUE(show());
    delete action(3);
    EXPECT_TRUE(toolbar->actions().size() == 4 && toolbar->miniToolbar()->itemCount() == 4);
    EXPECT_TRUE(item(0)->text() == L"First" && item(2)->text() == L"Second" && item(3)->text() == L"Underline");
    QAction* removed = action(3);
    toolbar->removeAction(removed), removed->setText("Gone");
    EXPECT_EQ(toolbar->miniToolbar()->itemCount(), 3);
    // A menu deleted with its entries (they die when it is a QMenu no more) leaves a plain button behind.
    auto* menu = new QMenu(&host);
    menu->addAction("One"), menu->addAction("Two");
    action(2)->setMenu(menu);
    ASSERT_EQ(item(2)->itemType(), MTBxItem::DropDownButton);
    delete menu;
    EXPECT_TRUE(item(2)->itemType() == MTBxItem::Button && item(2)->text() == L"Second");

    QSignalSpy closed(toolbar.get(), &ActionToolbar::closed);
    QObject::connect(action(0), &QAction::triggered, [&] { toolbar->close(); });
    const QPointer<QmtbView> old = windowOf(toolbar->miniToolbar());
    click(0);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(eventually([&] { return !old; })) << "its window goes once the click is over";
    ASSERT_TRUE(show());
    QObject::connect(action(1), &QAction::triggered, [&] { toolbar.reset(); });
    click(1);
    EXPECT_FALSE(toolbar);
    QTest::qWait(10);

    auto* other = new QWidget(&host);
    other->show(), toolbar = std::make_unique<ActionToolbar>();
    toolbar->addAction(new QAction("Alone", other));
    QSignalSpy closedByHost(toolbar.get(), &ActionToolbar::closed);
    ASSERT_TRUE(toolbar->show(&host, QRect(10, 10, 20, 10)));
    ASSERT_TRUE(toolbar->show(other, QRect(10, 10, 20, 10)));
    EXPECT_EQ(closedByHost.count(), 0) << "moving to another host is no close";
    delete other;
    EXPECT_TRUE(closedByHost.count() == 1 && toolbar->actions().isEmpty());
}

TEST_F(ActionToolbarTest, hostSinkKeepsItsOwnEventsInEitherOrder)
{
    // The host's own item sink, installed before or after the front end shows, gets its toolbars' events and none of the actions', which still trigger.
    for (const bool sinkFirst : {true, false}) {
        std::unique_ptr<RecordingItemSink> sink;
        if (sinkFirst)
            sink = std::make_unique<RecordingItemSink>();
        ASSERT_TRUE(show());
        if (!sinkFirst)
            sink = std::make_unique<RecordingItemSink>();
        QSignalSpy triggered(action(2), &QAction::triggered);
        click(2);
        EXPECT_TRUE(triggered.count() == 1 && sink->events.empty());

        HostObserver observer;
        MiniToolbar own(MTBxString(L"own"), &hostContext);
        own.addItem(makeButton(L"Own"));
        ASSERT_TRUE(ActionToolbar::controller()->showToolbar(&own, 200, 450, &observer));
        clickIn(&own, 0);
        EXPECT_TRUE(sink->count(MTBxItemEvents::Clicked) == 1 && MTBxItemEventsUtility::GetMTBxItemEvents() == sink.get());
        ActionToolbar::controller()->closeToolbar(&own), toolbar->close();
    }
    // A show refused while another is under way leaves nothing behind for the next one.
    HostObserver observer;
    observer.onParentHwnd = [&] { EXPECT_FALSE(toolbar->show(&host, QRect(250, 200, 100, 16))); };
    MiniToolbar own(MTBxString(L"own"), &hostContext);
    ASSERT_TRUE(ActionToolbar::controller()->showToolbar(&own, 200, 450, &observer));
    ASSERT_TRUE(show());
    EXPECT_EQ(toolbar->miniToolbar()->itemCount(), 3);
    ActionToolbar::controller()->closeToolbar(&own);
}

} // namespace
