// Combo boxes and drop-down entries in shown toolbars: wheel, list, field and
// focus, and host callbacks that change them while they work.
#include "MiniToolbars/MTBxCombobox.h"
#include "MiniToolbars/MTBxDropDownEntry.h"
#include "Qt/ComboBoxListView.h"
#include "Qt/LineEditControl.h"
#include "Qt/QmtbCoordinates.h"
#include "support/WindowTestSupport.h"

#include <QPushButton>
#include <QWheelEvent>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

int contexts[32];
using E = MTBxItemEvents;

class ComboEntryTest : public ControllerFixture
{
protected:
    // A combo box of n children (child i has context contexts[i]), then an entry holding "ab".
    void build(int children, bool synchronized = true)
    {
        toolbar = add(std::make_unique<MiniToolbar>(MTBxString(L"bar"), &hostContext));
        combo = new MTBxCombobox(MTBxString(L"size"), &hostContext);
        combo->setSynchronizedWithCurrentItem(synchronized), combo->setShowText(true);
        for (int i = 0; i < children; ++i)
            combo->addItem(child(i));
        entry = new MTBxDropDownEntry(MTBxString(L"find"), MTBxString(L"ab"), &hostContext);
        entry->setWidth(80), toolbar->addItem(combo), toolbar->addItem(entry);
    }
    MTBxItem* child(int i)
    {
        auto* item = new MTBxButton(MTBxString(std::to_wstring(i).c_str()), &contexts[i]);
        return item->setText(MTBxString(std::to_wstring(i).c_str())), item->setParent(combo), item;
    }
    QmtbView* show()
    {
        EXPECT_TRUE(controller->showToolbar(toolbar, 300, 300, &observer));
        EXPECT_TRUE(eventually([&] { return field() && field()->isVisible(); }));
        return windowOf(toolbar);
    }
    LineEditControl* field() const { return windowOf(toolbar) ? windowOf(toolbar)->findChild<LineEditControl*>() : nullptr; }
    ComboBoxListView* list() const { return windowOf(toolbar)->findChild<ComboBoxListView*>(); }
    void click(int index) { clickItem(toolbar, index); }
    int current() const { return combo->indexOf(combo->currentItem()); }
    int count(int context, E::EventType type) const { return context < 0 ? 0 : itemSink.count(type, &contexts[context]); }
    ::testing::AssertionResult focused() const { return eventually([&] { return entry->hasFocus(); }); }

    MiniToolbar* toolbar = nullptr;
    MTBxCombobox* combo = nullptr;
    MTBxDropDownEntry* entry = nullptr;
};

TEST_F(ComboEntryTest, WheelStepsWholeNotchesAndStopsAtTheEnds)
{
    // Wheel turns over a synchronized combo box step its current child one per whole notch and stop at the ends; a plain one keeps none.
    struct Case { bool synchronized; int start; std::vector<int> turns; int expected; };
    const Case cases[] = { { true, 0, { -15 }, 1 }, { true, 0, { -7 }, 0 }, { true, 0, { -7, -8 }, 1 }, { true, 1, { -45 }, 2 },
                           { true, 1, { 45 }, 0 }, { true, 2, { -15, 7, -7 }, 2 }, { false, 0, { -15 }, -1 } };
    for (const Case& c : cases) {
        build(3, c.synchronized);
        QmtbView* window = show();
        combo->setCurrentItem(combo->item(c.start));
        window->pointer().handleHover(centreOf(toolbar, 0).x(), centreOf(toolbar, 0).y());
        itemSink.events.clear();
        for (int degrees : c.turns)
            window->pointer().wheelAt(centreOf(toolbar, 0), degrees);
        EXPECT_EQ(current(), c.expected) << c.start << " " << c.turns.size();
        EXPECT_EQ(count(c.expected, E::HoverEnter), c.expected != c.start && c.synchronized);
    }
    // A real notch toward the user reaches the combo box as -15 degrees.
    QmtbView* window = windowOf(toolbar);
    combo->setSynchronizedWithCurrentItem(true), combo->setCurrentItem(combo->item(0));
    const QPoint global = centreOf(toolbar, 0) + QmtbCoordinates::desktopGeometry().topLeft();
    QWheelEvent notch(window->mapFromGlobal(global), global, QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window, &notch);
    EXPECT_EQ(current(), 1);
}

TEST_F(ComboEntryTest, ListFitsItsRowsAndTheWindowHoldsIt)
{
    // The open list is as high as its rows (at most maxHeight), wide enough for the widest, inside the window's shape; Escape or a press elsewhere closes it.
    build(30); // more rows than 300 px hold, whatever the font's row height
    QmtbView* window = show();
    click(0);
    ComboBoxListView* rows = list();
    ASSERT_TRUE(rows && rows->isVisible());
    EXPECT_EQ(rows->height(), ComboBoxListView::maxHeight);
    EXPECT_GE(rows->viewport()->width(), rows->sizeHintForColumn(0)); // the widest row fits beside the scroll bar
    const QImage grabbed = rows->viewport()->grab().toImage(); // on the style's translucent grey
    EXPECT_EQ(qRgba(229, 229, 229, 204), grabbed.pixelColor(grabbed.width() - 2, grabbed.height() - 2).rgba());
    const QRect shown = rows->geometry().translated(window->placement().windowOffset());
    EXPECT_TRUE(window->hasPopup() && screenShape(window).intersected(shown) == QRegion(shown));
    QTest::keyClick(rows, Qt::Key_Escape); // closes it for good, no longer drawn pressed: the next click opens it again
    EXPECT_TRUE(!rows->isVisible() && !window->hasPopup() && combo->itemView()->state() == Normal);
    click(0);
    ASSERT_TRUE(list() && list()->isVisible());
    QWidget other; // so does a press in another window
    other.show(), QTest::mousePress(&other, Qt::LeftButton);
    EXPECT_TRUE(!list()->isVisible() && !window->hasPopup());
    // Two rows of a list without a current row show whole, with no room for a hidden scroll bar.
    build(2, false), show(), click(0);
    ASSERT_TRUE(list()->isVisible());
    EXPECT_EQ(list()->height(), 2 * list()->sizeHintForRow(0) + 2 * list()->frameWidth());
}

TEST_F(ComboEntryTest, OptionBoxClickLeavesTheButtonUnpressed)
{
    // A click on a button's option box, which opens nothing, leaves the button unpressed, its option box included.
    build(0);
    auto* button = new MTBxButton(MTBxString(L"bold"), &hostContext);
    button->setOptionBox(true), button->setWidth(80), toolbar->addItem(button);
    QmtbView* window = show();
    const QPoint box(windowRect(toolbar, 2).right() - 4, centreOf(toolbar, 2).y());
    window->pointer().pressAt(box), window->pointer().releaseAt(box, Qt::LeftButton);
    EXPECT_TRUE(itemSink.count(E::Clicked) == 1 && button->itemView()->state() == Normal && !button->itemView()->pressedSubArea());
}

TEST_F(ComboEntryTest, KeysAndClicksChooseOnlyEnabledRows)
{
    // Keys and clicks in the open list pass disabled rows, hover and choose enabled ones; rows follow the children the host changes.
    build(3);
    combo->item(1)->setEnabled(false), combo->item(2)->setHasRemoveButton(true);
    QmtbView* window = show();
    click(0);
    ComboBoxListView* rows = list();
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualItemRect(rows->item(1)).center());
    EXPECT_TRUE(count(1, E::Clicked) == 0 && rows->isVisible());
    QTest::keyClick(rows, Qt::Key_Down); // passes the disabled row; hover and remove button follow it
    EXPECT_TRUE(rows->hoveredEntry() == combo->item(2) && count(2, E::HoverEnter) == 1 && rows->removeButton()->isVisible());
    QTest::keyClick(rows, Qt::Key_Up);
    EXPECT_TRUE(!rows->removeButton()->isVisible() && count(2, E::HoverLeave) == 1);
    QTest::keyClick(rows, Qt::Key_Down), QTest::keyClick(rows, Qt::Key_Return);
    EXPECT_TRUE(current() == 2 && count(2, E::Clicked) == 1 && !rows->isVisible() && !window->hasPopup());
    // A child the host adds and makes current while the list is open is the current row once the list refreshes; each child shows once, in order.
    click(0);
    MTBxItem* const added = child(3);
    combo->addItem(added), combo->setCurrentItem(added), combo->updateDropList();
    EXPECT_EQ(ComboBoxListView::childOf(list()->currentItem()), added);
    std::vector<MTBxItem*> shownRows;
    for (int row = 0; row < list()->count(); ++row)
        shownRows.push_back(ComboBoxListView::childOf(list()->item(row)));
    EXPECT_EQ(shownRows, (std::vector<MTBxItem*>{ combo->item(0), combo->item(1), combo->item(2), added }));
    // Opened with no current row, the list shows no remove button before a row is hovered.
    QTest::keyClick(list(), Qt::Key_Escape), combo->setSynchronizedWithCurrentItem(false), click(0);
    ASSERT_TRUE(list() && list()->isVisible());
    EXPECT_FALSE(list()->currentItem() || list()->removeButton()->isVisible());
}

TEST_F(ComboEntryTest, TypingReportsTheKeyThenTheWholeText)
{
    // A key typed into the field reaches the host as KeyPressed then TextEdited with the whole text; value, colour, place and enabled state follow the entry.
    build(1);
    QmtbView* window = show();
    LineEditControl* edit = field();
    EXPECT_TRUE(windowRect(toolbar, 1).contains(edit->geometry().translated(window->placement().windowOffset())));
    std::wstring edited;
    itemSink.onEvent = [&](void*, E::EventType type) { if (type == E::TextEdited) edited = *reinterpret_cast<std::wstring*>(itemSink.events.back().p1); };
    itemSink.events.clear();
    QTest::keyClick(edit, Qt::Key_X);
    EXPECT_EQ(itemSink.types(), (std::vector<int>{ E::KeyPressed, E::TextEdited }));
    EXPECT_TRUE(itemSink.arg(0) == Qt::Key_X && edited == L"abx" && entry->value() == L"abx");
    entry->setValue(MTBxString(L"zz"));
    EXPECT_TRUE(edit->text() == QStringLiteral("zz") && itemSink.count(E::TextEdited) == 1);
    entry->setTextColor(300, 0, 0); // components modulo 256, the error colour while the flag is set
    EXPECT_EQ(entry->textColor(), 0xFF2C0000u);
    entry->setValueErrorFlag(true), window->refresh();
    EXPECT_TRUE(eventually([&] { return edit->palette().color(QPalette::Text) == QColor(Qt::red); }));
    // The field moves with the toolbar before any repaint places it.
    const QPoint before = edit->geometry().topLeft() + window->placement().windowOffset();
    controller->moveToolbar(toolbar, 200, 100, true);
    EXPECT_EQ(edit->geometry().topLeft() + window->placement().windowOffset(), before + QPoint(200, 100));
    // A pointer over the field of a faded toolbar fades it in.
    controller->pointerMoved(5000, 5000);
    ASSERT_TRUE(eventually([&] { return !window->fade().isFadedIn(); }));
    EXPECT_TRUE(eventually([&] { return edit->palette().color(QPalette::Base).alpha() < 255; })) << "its background fades along";
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(edit->mapToGlobal(QPoint(2, 2))), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &move);
    EXPECT_TRUE(window->fade().isFadedIn());
    // Disabled by initializeItem, which bypasses setEnabled: the field follows at the next repaint.
    entry->initializeItem(nullptr, L"", L"", L"", L"", false, false, true, false, false, true, false, false, false, false, false, false, false, nullptr, 80, L"");
    EXPECT_TRUE(edit->isEnabled()), window->refresh();
    EXPECT_TRUE(eventually([&] { return !edit->isEnabled(); }));
}

TEST_F(ComboEntryTest, FocusAskedForBeforeShowingAndKeptAcrossRelayout)
{
    // Focus and selection asked for before the field exists arrive with it, only when asked, and survive a relayout and a focus round trip; so does the entry's disabled state.
    build(1);
    entry->setEnabled(false), entry->selectAll(), show();
    EXPECT_FALSE(field()->isEnabled()) << "from the paint that makes it";
    QTest::qWait(50);
    EXPECT_FALSE(field()->hasFocus() || field()->hasSelectedText());
    build(1);
    entry->setFocus(true), entry->selectAll();
    QmtbView* window = show();
    ASSERT_TRUE(focused());
    const auto focus = std::find_if(itemSink.events.rbegin(), itemSink.events.rend(), [](auto& e) { return e.type == E::FocusChanged; });
    EXPECT_TRUE(focus != itemSink.events.rend() && reinterpret_cast<std::intptr_t>(focus->p1) == 1); // reported as gained
    EXPECT_EQ(field()->selectedText(), QStringLiteral("ab"));
    entry->setSelection(1, 1), window->relayout(true), QTest::qWait(20);
    int start = -1, end = -1;
    entry->getSelection(start, end);
    EXPECT_TRUE(entry->hasFocus() && field()->text() == QStringLiteral("ab"));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(1, 2));
    // Focus given again keeps the selection the user made since; only one saved when focus was cleared comes back.
    field()->setSelection(0, 2), entry->setFocus(true);
    EXPECT_EQ(field()->selectedText(), QStringLiteral("ab"));
    // Focus dropped and taken back restores a selection, one from the start too.
    entry->setSelection(0, 1), entry->setFocus(false);
    EXPECT_FALSE(field()->hasSelectedText()) << "a field without focus shows no selection";
    entry->setFocus(true);
    EXPECT_EQ(field()->selectedText(), QStringLiteral("a"));
}

TEST_F(ComboEntryTest, FocusAskedForWhileFadedOutFadesTheToolbarIn)
{
    // Beside an item that never fades the entry rests hidden; focus asked for then fades the toolbar in and the field takes it.
    build(1);
    toolbar->addItem(makeButton(L"Keep", false));
    QmtbView* window = show();
    controller->pointerMoved(5000, 5000), finishFade(window);
    ASSERT_TRUE(eventually([&] { return !field()->isVisible(); }));
    entry->setFocus(true);
    EXPECT_TRUE(focused() && window->fade().isFadedIn());
}

TEST_F(ComboEntryTest, PressElsewhereTakesTheKeyboardFromTheEntryThatTookItLast)
{
    // A second entry takes the keyboard from the first; a press in a host window then still takes it from the toolbar, and once the host window is active a press into a field takes the keyboard back.
    QWidget host;
    host.show(), build(1);
    auto* second = new MTBxDropDownEntry(MTBxString(L"replace"), MTBxString(L"cd"), &hostContext);
    second->setWidth(80), toolbar->addItem(second), show();
    ASSERT_TRUE(eventually([&] { return windowOf(toolbar)->findChildren<LineEditControl*>().size() == 2; }));
    entry->setFocus(true), second->setFocus(true);
    ASSERT_TRUE(eventually([&] { return second->hasFocus() && !entry->hasFocus(); }));
    QTest::mousePress(&host, Qt::LeftButton);
    EXPECT_FALSE(second->hasFocus());
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    QTest::mousePress(field(), Qt::LeftButton);
    EXPECT_TRUE(eventually([&] { return field()->hasFocus(); }));
}

TEST_F(ComboEntryTest, ShownEntryShowsAFirstChildsArrowAndMovedAwayLetsGoOfItsView)
{
    // The first child gives a shown entry its arrow at the next layout pass; moved to another toolbar the entry has no view or bounds until laid out there.
    build(1), show();
    const auto hasArrow = [&] {
        ItemView* view = entry->itemView();
        return view && std::any_of(view->parts().begin(), view->parts().end(), [](const ItemPart& p) { return p.kind == EntryArrow; });
    };
    ASSERT_FALSE(hasArrow());
    auto* item = new MTBxButton(MTBxString(L"recent"), &hostContext);
    item->setParent(entry), entry->addItem(item);
    EXPECT_TRUE(eventually(hasArrow));
    add(std::make_unique<MiniToolbar>(MTBxString(L"other"), &hostContext))->addItem(entry);
    float top = 0, left = 0, bottom = 0, right = 0;
    EXPECT_TRUE(entry->itemView() == nullptr && !entry->getBounds(top, left, bottom, right));
}

TEST_F(ComboEntryTest, CallbacksThatRebuildOrRemoveWhileTheyWork)
{
    // Each case crashed a literal implementation (run under ASan). Focus given while painting: the host relayouts in FocusChanged, in an active window.
    build(2);
    entry->setVisible(false);
    EXPECT_TRUE(controller->showToolbar(toolbar, 300, 300, &observer));
    ASSERT_TRUE(eventually([&] { return windowOf(toolbar)->isActiveWindow(); }));
    entry->setFocus(true), entry->setVisible(true);
    bool duringPaint = false;
    itemSink.onEvent = [&](void*, E::EventType type) {
        if (type == E::FocusChanged && windowOf(toolbar)) {
            duringPaint = duringPaint || windowOf(toolbar)->testAttribute(Qt::WA_WState_InPaintEvent);
            windowOf(toolbar)->relayout(true);
        }
    };
    show();
    ASSERT_TRUE(focused());
    EXPECT_FALSE(duringPaint);
    // Hovering the current row while the list fills: the host swaps children.
    itemSink.onEvent = [&](void* context, E::EventType type) {
        if (type == E::HoverEnter && context == &contexts[0] && combo->itemCount() == 2)
            combo->removeItem(1), combo->addItem(child(5));
    };
    click(0);
    ASSERT_TRUE(list() && list()->isVisible());
    for (int i = 0; i < list()->count(); ++i)
        EXPECT_GE(combo->indexOf(ComboBoxListView::childOf(list()->item(i))), 0);
    // The combo box removed in its own DropDownAboutToShow, with the field focused.
    itemSink.onEvent = [&](void*, E::EventType type) { if (type == E::DropDownAboutToShow) toolbar->removeItem(combo); };
    QTest::keyClick(list(), Qt::Key_Escape), click(0);
    EXPECT_EQ(list(), nullptr);
    itemSink.onEvent = nullptr;
    // A focused field hidden with its entry, then deleted while the toolbar closes.
    entry->setVisible(false);
    EXPECT_TRUE(eventually([&] { return !field()->isVisible() && !entry->hasFocus(); }));
    entry->setVisible(true), entry->setFocus(true);
    EXPECT_TRUE(focused());
    controller->closeToolbar(toolbar);
}

} // namespace
