// A hostile but legal host, replayable per seed: random items and pointer input, and callbacks that rebuild,
// restyle, move, close and destroy anything. MTB_RANDOM_HOST_SEED=<n> (first seed), MTB_RANDOM_HOST_SEEDS=<k>,
// MTB_RANDOM_HOST_ACTIONS=<m> (per seed), MTB_RANDOM_HOST_TRACE=1. Posted events are delivered a counted number
// of times and fades and tooltips advance through the calls their timers would make: time decides nothing.
#include "MiniToolbars/ActionToolbar.h"
#include "MiniToolbars/MTBxCombobox.h"
#include "MiniToolbars/MTBxCommandItem.h"
#include "MiniToolbars/MTBxDropDownEntry.h"
#include "MiniToolbars/MTBxLabel.h"
#include "MiniToolbars/MTBxNewLine.h"
#include "MiniToolbars/MTBxSeparator.h"
#include "MiniToolbars/Options.h"
#include "MiniToolbars/TooltipOptions.h"
#include "Qt/ComboBoxListView.h"
#include "Qt/LineEditControl.h"
#include "Qt/QmtbAnimation.h"
#include "Qt/QmtbAutoFade.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbNativeInput.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QmtbToolTips.h"
#include "Qt/QmtbWindowRegistry.h"
#include "support/WindowTestSupport.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QPointer>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <random>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

constexpr int slotCount = 4;
constexpr int maxDepth = 3;
const wchar_t* const texts[] = { L"", L"Bold", L"A much longer caption", L"\u03a9", L"x" };
const wchar_t* const icons[] = { L"", L":/MiniToolbars/Grip.svg", L":/MiniToolbars/Options_L.svg",
                                 L":/MiniToolbars/deleteItem.svg", L":/MiniToolbars/Checkbox_On_D.svg" };
const int widths[] = { 0, 0, 0, 4, 40, 130, -8, 100000 };

unsigned long envNumber(const char* name, unsigned long fallback)
{
    bool ok = false;
    const unsigned long value = qgetenv(name).toULong(&ok);
    return ok ? value : fallback;
}

class RandomHost : public MTBxItemEvents, public MTBxToolbarEvents
{
public:
    // The place of one toolbar and its observer; a destroyed toolbar is made anew here later.
    // Its addresses are the host contexts, so each callback knows whose event it is.
    struct Slot : ControllerObserver
    {
        void mtbMoved(int& dx, int& dy) override
        {
            host->react(index);
            if (host->chance(20))
                dx = dy = 0;
            else if (host->chance(10))
                dx = host->coord(100), dy = host->coord(100);
        }
        void getMtbParentBounds(int, int, int& left, int& top, int& width, int& height) override
        {
            host->react(index);
            const int kind = host->pick(10);
            if (kind >= 2 && kind < 7)
                left = top = 0, width = host->m_desktop.width(), height = host->m_desktop.height();
            else if (kind >= 7 && kind < 9)
                left = host->coord(400), top = host->coord(300), width = host->pick(500), height = host->pick(400);
            else if (kind == 9)
                left = host->extreme(), top = host->extreme(), width = host->extreme(), height = host->extreme();
        }
        HWND getParentHwnd() override
        {
            host->react(index);
            return host->chance(30) ? reinterpret_cast<HWND>(host->m_hostWindow.winId()) : nullptr;
        }

        RandomHost* host = nullptr;
        int index = 0;
        std::unique_ptr<MiniToolbar> toolbar;
        char itemContext = 0;
        int busy = 0; // host calls that take this toolbar as argument are running
    };

    RandomHost(unsigned long seed, long budget, Options::WindowStrategy strategy)
        : m_rng(static_cast<std::mt19937::result_type>(seed)), m_budget(budget), m_strategy(strategy)
    {
        for (int i = 0; i < slotCount; ++i)
            m_slots[i].host = this, m_slots[i].index = i;
    }

    void Notify(void* context, MTBxItemEvents::EventType type, unsigned*, unsigned*) override
    {
        if (qEnvironmentVariableIsSet("MTB_RANDOM_HOST_TRACE"))
            std::fprintf(stderr, "%*s[item event %d of slot %d]\n", 2 * m_depth, "", int(type), slotOf(context));
        react(slotOf(context));
    }
    void Notify(void* context, MTBxToolbarEvents::EventType, unsigned*, unsigned*) override { react(slotOf(context)); }
    // Every callback may take one more host action, nested a bounded number of times.
    void react(int focus)
    {
        if (m_depth >= maxDepth || m_tearingDown || m_actions >= m_budget)
            return;
        ++m_depth;
        act(focus, true);
        --m_depth;
    }

    long run()
    {
        Style::setXHeightOverride(6);
        SetMTBToolTipDelay(1000000000);
        SetMTBTooltipOption(DebugTooltip, true);
        MTBxItemEventsUtility::SetMTBxItemEvents(this);
        MTBxToolbarEventsUtility::SetMTBxToolbarEvents(this);
        m_controllers[0].reset(newController());
        m_controllers[0]->setClipRect(0, 0, 0, 0);
        // The host's own window with a line edit, which the keyboard goes back to.
        m_hostWindow.setGeometry(0, 0, 400, 300);
        m_hostWindow.show();
        while (m_actions < m_budget && !::testing::Test::HasFailure()) {
            act(-1, false);
            // Between two inputs the host's event loop delivers what was posted.
            QCoreApplication::sendPostedEvents();
            // Outside callbacks no window is delivering, and each shows a live toolbar or none.
            for (QmtbView* window : QmtbWindowRegistry::visibleWindows() + QmtbWindowRegistry::suspendedWindows()) {
                EXPECT_EQ(0, window->guard().depth());
                const MiniToolbar* toolbar = window->view() ? window->view()->toolbar() : nullptr;
                EXPECT_TRUE(!toolbar || (m_actionToolbar && toolbar == m_actionToolbar->miniToolbar()) || std::any_of(std::begin(m_slots), std::end(m_slots),
                                                    [&](const Slot& slot) { return slot.toolbar.get() == toolbar; }))
                    << "a registered window shows a toolbar the host destroyed";
            }
        }
        m_tearingDown = true;
        m_actionToolbar.reset();
        for (Slot& slot : m_slots) {
            withToolbar(slot, [](auto& c, auto& t) { c.closeToolbar(&t); });
            slot.toolbar.reset();
        }
        m_controllers[0].reset();
        m_controllers[1].reset();
        MiniToolbar::CleanupOldViews();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(QmtbWindowRegistry::visibleWindows().isEmpty());
        EXPECT_TRUE(QmtbWindowRegistry::suspendedWindows().isEmpty());
        // With everything closed, destroyed and cleaned up, nothing may still wait for deletion.
        EXPECT_EQ(0, NotificationGuard::deferredToolbarCount());
        EXPECT_EQ(0, NotificationGuard::deferredItemCount() + NotificationGuard::deferredItemViewCount());
        MTBxItemEventsUtility::SetMTBxItemEvents(nullptr);
        MTBxToolbarEventsUtility::SetMTBxToolbarEvents(nullptr);
        return m_actions;
    }

private:
    struct Action
    {
        const char* name;
        int weight;
        bool inCallbacks;
        void (*run)(RandomHost& host, int focus);
    };
    static const Action s_actions[];

    void act(int focus, bool inCallback);

    Controller* newController() const
    {
        Controller* controller = Controller::createInstance();
        Options options;
        options.setWindowStrategy(m_strategy);
        controller->setOptions(options);
        return controller;
    }
    int pick(int n) { return n > 0 ? static_cast<int>(m_rng() % static_cast<unsigned>(n)) : 0; }
    bool chance(int percent) { return pick(100) < percent; }
    int extreme()
    {
        static const int values[] = { INT_MIN, INT_MAX, INT_MIN / 2, INT_MAX / 2, -1000000000, 1000000000, 70000 };
        return values[pick(7)];
    }
    // A desktop coordinate, a little beyond it, or now and then an absurd one.
    int coord(int extent) { return chance(4) ? extreme() : pick(extent + 100) - 50; }

    int slotOf(void* context) const
    {
        for (const Slot& slot : m_slots) {
            if (context == &slot || context == &slot.itemContext)
                return slot.index;
        }
        return -1;
    }
    Slot& anySlot(int focus) { return m_slots[focus >= 0 && chance(50) ? focus : pick(slotCount)]; }
    MTBxItem* anyItem(int focus)
    {
        MiniToolbar* toolbar = anySlot(focus).toolbar.get();
        return toolbar && !toolbar->isEmpty() ? toolbar->item(pick(toolbar->itemCount())) : nullptr;
    }
    MTBxListType* anyList(int focus) { return dynamic_cast<MTBxListType*>(anyItem(focus)); }
    MTBxItem* anyChild(MTBxListType* list) { return list->item(pick(list->itemCount() + 1) - 1); }
    // The host never destroys a controller or toolbar that it is passing to a call in progress.
    template <typename F> void withController(F f)
    {
        const int i = m_controllers[0] && (!m_controllers[1] || chance(50)) ? 0 : 1;
        ++m_controllerBusy[i];
        f(*m_controllers[i]);
        --m_controllerBusy[i];
    }
    template <typename F> void withToolbar(Slot& slot, F f)
    {
        if (!slot.toolbar)
            return;
        ++slot.busy;
        withController([&](Controller& controller) { f(controller, *slot.toolbar); });
        --slot.busy;
    }
    template <typename F> void withToolbar(int focus, F f) { withToolbar(anySlot(focus), f); }

    // A child shows in the menu, or as a separator; its events reach the host through its list.
    MTBxItem* newChild(MTBxListType* list)
    {
        MTBxItem* child = chance(15) ? static_cast<MTBxItem*>(new MTBxSeparator())
                                     : static_cast<MTBxItem*>(new MTBxCommandItem(L"child", list->hostContext()));
        child->setParent(list);
        child->setText(texts[pick(5)]);
        child->setIcon(icons[pick(5)]);
        child->setVisible(chance(80));
        child->setEnabled(chance(80));
        child->setHasRemoveButton(chance(30));
        return child;
    }

    MTBxItem* newItem(int slot)
    {
        void* context = &m_slots[slot].itemContext;
        if (chance(22)) {
            const int list = pick(3);
            MTBxListType* button = list == 0 ? static_cast<MTBxListType*>(new MTBxDropDownButton(L"dropdown", context))
                : list == 1 ? static_cast<MTBxListType*>(new MTBxCombobox(L"combo", context))
                            : new MTBxDropDownEntry(L"entry", texts[pick(5)], context);
            button->setHasSplitter(chance(50));
            button->setSynchronizedWithCurrentItem(chance(60));
            button->setShowText(chance(60));
            button->setText(texts[pick(5)]);
            for (int n = pick(5); n > 0; --n)
                button->addItem(newChild(button));
            return button;
        }
        const int kind = pick(8);
        MTBxItem* item = kind == 0 ? static_cast<MTBxItem*>(new MTBxLabel(L"label", context))
            : kind == 1            ? static_cast<MTBxItem*>(new MTBxCommandItem(L"command", context))
            : kind == 2            ? static_cast<MTBxItem*>(new MTBxSeparator())
            : kind == 3            ? static_cast<MTBxItem*>(new MTBxNewLine())
                                   : static_cast<MTBxItem*>(new MTBxButton(L"button", context));
        item->setCheckable(chance(40));
        item->setChecked(chance(30), false);
        item->setText(texts[pick(5)]);
        item->setIcon(icons[pick(5)]);
        item->setShowText(chance(70));
        item->setToolTip(chance(50) ? L"tip" : L"");
        item->setAutoHide(chance(70));
        item->setEnabled(chance(85));
        item->setVisible(chance(90));
        item->setWidth(widths[pick(8)]);
        return item;
    }

    // A point on an item of a shown toolbar, beside that toolbar or anywhere on the desktop.
    QPoint target()
    {
        std::vector<MiniToolbar*> shown;
        for (const Slot& slot : m_slots) {
            if (slot.toolbar && QmtbWindowRegistry::visibleWindows().contains(windowOf(slot.toolbar.get())))
                shown.push_back(slot.toolbar.get());
        }
        if (shown.empty() || chance(10))
            return QPoint(pick(m_desktop.width() + 100) - 50, pick(m_desktop.height() + 100) - 50);
        MiniToolbar* toolbar = shown[pick(int(shown.size()))];
        float top = 0, left = 0, bottom = 0, right = 0;
        const int index = toolbar->isEmpty() || chance(30) ? -1 : pick(toolbar->itemCount());
        const bool onItem = index >= 0 && toolbar->item(index)->getBounds(top, left, bottom, right);
        if (!onItem)
            toolbar->getBounds(top, left, bottom, right);
        const QPoint o = windowOrigin(toolbar);
        const int margin = onItem ? 0 : 12;
        const QRectF area = QRectF(o.x() + left, o.y() - top, right - left, top - bottom)
                                .adjusted(-margin, -margin, margin, margin)
                                .intersected(QRectF(m_desktop.adjusted(-500, -500, 500, 500)));
        if (!area.isValid())
            return QPoint(pick(m_desktop.width()), pick(m_desktop.height()));
        return QPoint(int(area.left()) + pick(int(area.width()) + 1), int(area.top()) + pick(int(area.height()) + 1));
    }

    // A field or a list of a shown toolbar, visible or not: a removed entry's field may still take input.
    QWidget* anyPopupChild()
    {
        QList<QWidget*> targets;
        for (QmtbView* window : QmtbWindowRegistry::visibleWindows()) {
            for (QWidget* w : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                if (qobject_cast<LineEditControl*>(w) || qobject_cast<ComboBoxListView*>(w))
                    targets += w;
            }
        }
        if (LineEditControl* owner = LineEditControl::keyboardOwner())
            targets += owner;
        return targets.isEmpty() ? nullptr : targets[pick(targets.size())];
    }

    // The topmost toolbar window that paints at the point; elsewhere any of them, as each covers the desktop.
    QWidget* windowAt(const QPoint& point)
    {
        const QList<QmtbView*> windows = QmtbWindowRegistry::visibleWindows();
        for (int i = windows.size() - 1; i >= 0; --i) {
            if (windows[i]->placement().paintedRegion().contains(point))
                return windows[i];
        }
        return windows.isEmpty() ? nullptr : windows[pick(windows.size())];
    }

    void pointer(QEvent::Type type, Qt::MouseButton button, QPoint point, QWidget* window = nullptr)
    {
        m_last = point;
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease)
            m_buttons.setFlag(button, type == QEvent::MouseButtonPress);
        // Hidden windows get no input, not even the rest of a press they had.
        const QPointer<QWidget> receiver = window && window->isVisible() ? window : windowAt(point);
        if (!receiver)
            return;
        const QPoint local = receiver->mapFromGlobal(point);
        const auto modifier = chance(80) ? Qt::NoModifier : chance(50) ? Qt::ControlModifier : Qt::ShiftModifier;
        // An overlay's presses, releases and moves come as a user's would: through its host's window, which
        // hands them to the widget under the pointer (or to the one holding the press).
        QWindow* const host = receiver->isWindow() ? nullptr : receiver->window()->windowHandle();
        if (host && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseMove)) {
            const QPoint inHost = receiver->window()->mapFromGlobal(point);
            if (type == QEvent::MouseMove)
                QTest::mouseMove(host, inHost);
            else if (type == QEvent::MouseButtonPress)
                QTest::mousePress(host, button, modifier, inHost);
            else
                QTest::mouseRelease(host, button, modifier, inHost);
            return;
        }
        std::unique_ptr<QEvent> event;
        if (type == QEvent::Wheel)
            event.reset(new QWheelEvent(local, point, {}, QPoint(0, chance(50) ? 120 : -120), m_buttons, modifier,
                                        Qt::NoScrollPhase, false));
        else if (type == QEvent::Enter)
            event.reset(new QEnterEvent(local, local, point));
        else if (type == QEvent::Leave)
            event.reset(new QEvent(QEvent::Leave));
        else
            event.reset(new QMouseEvent(type, local, point, button, m_buttons, modifier));
        QCoreApplication::sendEvent(receiver, event.get());
    }

    std::mt19937 m_rng;
    long m_budget;
    const Options::WindowStrategy m_strategy;
    long m_actions = 0;
    int m_depth = 0;
    bool m_tearingDown = false;
    const QRect m_desktop = QmtbCoordinates::desktopGeometry();
    QWidget m_hostWindow;
    QLineEdit* const m_hostEdit = new QLineEdit(&m_hostWindow);
    std::unique_ptr<ActionToolbar> m_actionToolbar;
    std::unique_ptr<Controller> m_controllers[2];
    int m_controllerBusy[2] = { 0, 0 };
    Slot m_slots[slotCount];
    Qt::MouseButtons m_buttons;
    QPointer<QWidget> m_grab;
    QPoint m_last;
};

// What the driver and the callbacks may do. Callbacks do what a host can do inside a call of
// the library; user input and timers are the driver's.
const RandomHost::Action RandomHost::s_actions[] = {
    { "nothing", 6, true, [](RandomHost&, int) {} },
    { "removeAt", 3, true, [](RandomHost& h, int f) {
          h.withToolbar(f, [&](auto&, auto& t) { t.removeItem(h.pick(t.itemCount() + 2) - 1); });
      } },
    { "removeItem", 3, true, [](RandomHost& h, int f) {
          MTBxItem* item = h.anyItem(f);
          h.withToolbar(f, [&](auto&, auto& t) { t.removeItem(item); });
      } },
    { "clear", 1, true, [](RandomHost& h, int f) { h.withToolbar(f, [](auto&, auto& t) { t.clear(); }); } },
    { "add", 4, true, [](RandomHost& h, int f) {
          MTBxItem* moved = h.chance(25) ? h.anyItem(-1) : nullptr; // an item of another toolbar moves over
          Slot& slot = h.anySlot(f);
          h.withToolbar(slot, [&](auto&, auto& t) {
              t.addItem(moved ? moved : h.newItem(slot.index), h.pick(t.itemCount() + 3) - 1);
          });
      } },
    { "checked", 2, true, [](RandomHost& h, int f) { if (MTBxItem* i = h.anyItem(f)) i->setChecked(h.chance(50)); } },
    { "hovered", 2, true, [](RandomHost& h, int f) { if (MTBxItem* i = h.anyItem(f)) i->setHovered(h.chance(50)); } },
    { "enabled", 2, true, [](RandomHost& h, int f) { if (MTBxItem* i = h.anyItem(f)) i->setEnabled(h.chance(70)); } },
    { "visible", 2, true, [](RandomHost& h, int f) { if (MTBxItem* i = h.anyItem(f)) i->setVisible(h.chance(70)); } },
    { "text", 2, true, [](RandomHost& h, int f) { if (MTBxItem* i = h.anyItem(f)) i->setText(texts[h.pick(5)]); } },
    { "icon", 2, true, [](RandomHost& h, int f) { if (MTBxItem* i = h.anyItem(f)) i->setIcon(icons[h.pick(5)]); } },
    { "width", 2, true, [](RandomHost& h, int f) {
          if (MTBxItem* i = h.anyItem(f))
              i->setWidth(h.chance(5) ? h.extreme() : widths[h.pick(8)]);
      } },
    { "show", 5, true, [](RandomHost& h, int f) {
          Slot& slot = h.anySlot(f);
          if (!slot.toolbar)
              slot.toolbar = std::make_unique<MiniToolbar>(L"bar", &slot);
          for (int n = slot.toolbar->isEmpty() ? 1 + h.pick(7) : 0; n > 0; --n)
              slot.toolbar->addItem(h.newItem(slot.index));
          const int x = h.coord(h.m_desktop.width()), y = h.coord(h.m_desktop.height());
          const bool deferred = h.chance(30);
          h.withToolbar(slot, [&](auto& c, auto& t) { c.showToolbar(&t, x, y, &slot, deferred); });
      } },
    { "close", 2, true, [](RandomHost& h, int f) { h.withToolbar(f, [](auto& c, auto& t) { c.closeToolbar(&t); }); } },
    { "destroy", 2, true, [](RandomHost& h, int f) {
          Slot& slot = h.anySlot(f);
          if (!slot.busy && h.chance(50))
              h.withToolbar(slot, [](auto& c, auto& t) { c.closeToolbar(&t); });
          if (!slot.busy)
              slot.toolbar.reset();
      } },
    { "suspend", 2, true, [](RandomHost& h, int f) {
          h.withToolbar(f, [&](auto& c, auto& t) { c.setSuspended(&t, h.chance(50)); });
      } },
    { "options", 2, true, [](RandomHost& h, int) {
          static const float scales[] = { 1.0f, 0.5f, 1.5f, 2.0f, 3.0f, 0.25f };
          Options options;
          options.setTheme(static_cast<Options::Theme>(h.chance(10) ? 7 : h.pick(2)));
          options.setScalingFactor(scales[h.pick(6)]);
          options.setAutoFade(h.chance(70));
          options.setWindowStrategy(h.m_strategy);
          h.withController([&](Controller& c) { c.setOptions(options); });
      } },
    { "controller", 1, true, [](RandomHost& h, int) {
          const int i = h.pick(2);
          if (h.m_controllerBusy[i])
              return;
          if (h.m_controllers[i] && h.m_controllers[1 - i])
              h.m_controllers[i].reset();
          else
              h.m_controllers[i].reset(h.newController());
      } },
    { "move", 3, true, [](RandomHost& h, int f) {
          h.withToolbar(f, [&](auto& c, auto& t) { c.moveToolbar(&t, h.coord(800), h.coord(600), h.chance(50)); });
      } },
    { "layout", 2, true, [](RandomHost& h, int f) {
          h.withToolbar(f, [&](auto& c, auto& t) { c.updateLayout(&t, h.chance(50)); });
      } },
    { "fadeSwitches", 2, true, [](RandomHost& h, int f) {
          h.withToolbar(f, [&](auto&, auto& t) {
              t.setDisplayOnlyNoFadeItems(h.chance(40));
              t.setLocalAutoFade(h.pick(3) - 1);
          });
      } },
    { "childAdd", 3, true, [](RandomHost& h, int f) {
          if (MTBxListType* l = h.anyList(f))
              l->addItem(h.newChild(l), h.chance(40) ? h.anyChild(l) : nullptr);
      } },
    { "childRemove", 3, true, [](RandomHost& h, int f) {
          if (MTBxListType* l = h.anyList(f))
              l->removeItem(h.pick(l->itemCount() + 2) - 1);
      } },
    { "childCurrent", 3, true, [](RandomHost& h, int f) {
          MTBxListType* l = h.anyList(f);
          if (!l)
              return;
          if (h.chance(20))
              l->setSynchronizedWithCurrentItem(h.chance(70));
          if (h.chance(20))
              l->setHasSplitter(h.chance(50));
          l->setCurrentItem(h.anyChild(l));
      } },
    { "childState", 3, true, [](RandomHost& h, int f) {
          MTBxListType* l = h.anyList(f);
          MTBxItem* c = l ? h.anyChild(l) : nullptr;
          if (!c)
              return;
          switch (h.pick(5)) {
          case 0: c->setVisible(h.chance(70)); break;
          case 1: c->setEnabled(h.chance(70)); break;
          case 2: c->setText(texts[h.pick(5)]); break;
          case 3: c->setActive(h.chance(50)); break;
          default: c->setHovered(h.chance(50)); break;
          }
      } },
    { "entry", 4, true, [](RandomHost& h, int f) {
          auto* e = dynamic_cast<MTBxDropDownEntry*>(h.anyItem(f));
          auto* c = dynamic_cast<MTBxCombobox*>(h.anyItem(f));
          int start = 0, end = 0;
          switch (e ? h.pick(6) : c ? 6 : 7) {
          case 0: e->setFocus(h.chance(70)); break;
          case 1: e->clearFocus(h.chance(50)); break;
          case 2: h.chance(50) ? e->selectAll() : e->setSelection(h.pick(5) - 1, h.pick(5) - 1); break;
          case 3: e->setValue(texts[h.pick(5)]), e->setValueErrorFlag(h.chance(30)); break;
          case 4: e->setCursorPosition(h.pick(6) - 1), e->getSelection(start, end); break;
          case 5: e->setTextColor(h.extreme(), h.pick(300), 0); break;
          case 6: h.chance(50) ? c->mouseWheelEvent(h.pick(61) - 30) : c->updateDropList(); break;
          }
      } },
    // The QAction front end over the same host and sinks; its actions call back like items do.
    { "actionToolbar", 4, true, [](RandomHost& h, int) {
          auto& t = h.m_actionToolbar;
          if (!t) {
              t = std::make_unique<ActionToolbar>();
              t->setWindowStrategy(h.m_strategy);
          }
          const QList<QAction*> actions = t->actions();
          QAction* a = actions.isEmpty() ? nullptr : actions[h.pick(actions.size())];
          if (a && a->menu() && !a->menu()->isEmpty() && h.chance(50))
              a = a->menu()->actions()[h.pick(a->menu()->actions().size())];
          const int x = h.coord(700), y = h.coord(500);
          const auto reach = [](int from, int extent) { return int(std::min<qint64>(qint64(from) + extent, INT_MAX)); };
          const QRect anchor(QPoint(x, y), QPoint(reach(x, h.pick(200)), reach(y, h.pick(40))));
          switch (h.pick(9)) {
          case 0: case 1: {
              auto* added = new QAction(QString::fromWCharArray(texts[h.pick(5)]), &h.m_hostWindow);
              added->setCheckable(h.chance(50));
              QObject::connect(added, &QAction::triggered, [&h] { h.react(-1); });
              QObject::connect(added, &QAction::hovered, [&h] { h.react(-1); });
              a && a->menu() && h.chance(50) ? a->menu()->addAction(added) : t->insertAction(a, added);
              break;
          }
          case 2: t->show(&h.m_hostWindow, anchor, h.chance(50) ? ActionToolbar::Above : ActionToolbar::Below); break;
          case 3: t->setAnchor(anchor); break;
          case 4: h.chance(50) ? t->close() : t.reset(); break;
          case 5: delete a; break;
          // A menu belongs to one action at a time.
          case 6: if (a) a->setMenu(h.chance(50) ? new QMenu(&h.m_hostWindow) : nullptr); break;
          default:
              if (a)
                  a->setText(QString::fromWCharArray(texts[h.pick(5)])), a->setChecked(h.chance(50)),
                      a->setVisible(h.chance(80)), a->setEnabled(h.chance(80));
          }
      } },
    { "cleanup", 2, true, [](RandomHost&, int) { MiniToolbar::CleanupOldViews(); } },
    { "pointerMoved", 3, true, [](RandomHost& h, int) {
          const int x = h.coord(h.m_desktop.width()), y = h.coord(h.m_desktop.height());
          h.withController([&](Controller& c) { c.pointerMoved(x, y); });
      } },
    { "clip", 1, true, [](RandomHost& h, int) {
          const bool none = h.chance(50);
          const int x = h.coord(800), y = h.coord(600), width = none ? 0 : h.pick(900), height = none ? 0 : h.pick(700);
          h.withController([&](Controller& c) { c.setClipRect(x, y, width, height); });
      } },
    // A nested event loop, as a host's modal dialog runs one; it delivers what was posted.
    { "pump", 2, true, [](RandomHost& h, int) {
          for (int n = 1 + h.pick(3); n > 0; --n)
              QCoreApplication::sendPostedEvents();
      } },
    { "press", 8, false, [](RandomHost& h, int) {
          const QPoint p = h.target();
          h.m_grab = h.windowAt(p);
          const auto button = h.chance(70) ? Qt::LeftButton : h.chance(50) ? Qt::RightButton : Qt::MiddleButton;
          h.pointer(QEvent::MouseButtonPress, button, p, h.m_grab);
      } },
    { "mouseMove", 15, false, [](RandomHost& h, int) {
          const QPoint p = h.chance(50) ? h.m_last + QPoint(h.pick(41) - 20, h.pick(41) - 20) : h.target();
          h.pointer(QEvent::MouseMove, Qt::NoButton, p, h.m_buttons ? h.m_grab.data() : nullptr);
      } },
    { "release", 8, false, [](RandomHost& h, int) {
          const auto button = Qt::MouseButton(int(h.m_buttons) & -int(h.m_buttons));
          const QPoint p = h.chance(50) ? h.m_last : h.target();
          if (button)
              h.pointer(QEvent::MouseButtonRelease, button, p, h.chance(50) ? h.m_grab.data() : nullptr);
      } },
    { "click", 15, false, [](RandomHost& h, int) {
          const QPoint p = h.target();
          h.m_grab = h.windowAt(p);
          h.pointer(QEvent::MouseButtonPress, Qt::LeftButton, p, h.m_grab);
          h.pointer(QEvent::MouseButtonRelease, Qt::LeftButton, p, h.m_grab);
      } },
    { "drag", 8, false, [](RandomHost& h, int) {
          QPoint p = h.target();
          h.m_grab = h.windowAt(p);
          h.pointer(QEvent::MouseButtonPress, Qt::LeftButton, p, h.m_grab);
          for (int n = 1 + h.pick(4); n > 0; --n)
              h.pointer(QEvent::MouseMove, Qt::NoButton, p += QPoint(h.pick(41) - 20, h.pick(41) - 20), h.m_grab);
          // Released where the pointer ended, or over another toolbar's window.
          const QPoint end = h.chance(30) ? h.target() : p;
          h.pointer(QEvent::MouseButtonRelease, Qt::LeftButton, end, h.chance(50) ? h.m_grab.data() : nullptr);
      } },
    // The user opens a menu (a click on a list item's arrow), hovers or chooses an entry, removes or dismisses it.
    { "menu", 20, false, [](RandomHost& h, int f) {
          auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
          float top = 0, left = 0, bottom = 0, right = 0;
          MTBxItem* item = nullptr;
          for (int tries = menu ? 0 : 20; !item && tries > 0; --tries)
              item = h.anyList(f);
          if (item && item->getBounds(top, left, bottom, right) && std::abs(right) + std::abs(bottom) < 1e5f
              && QmtbWindowRegistry::visibleWindows().contains(windowOf(item->owner())))
              h.pointer(QEvent::MouseButtonPress, Qt::LeftButton, windowOrigin(item->owner()) + QPoint(int(right) - 3, -int(bottom) - 3)),
              h.pointer(QEvent::MouseButtonRelease, Qt::LeftButton, h.m_last);
          QWindow* w = menu ? menu->windowHandle() : nullptr;
          auto* remove = w ? menu->findChild<QPushButton*>() : nullptr;
          const int n = w ? menu->actions().size() : 0, what = w ? h.pick(5) : -1;
          const QPoint at = n ? menu->actionGeometry(menu->actions().at(h.pick(n))).center() : QPoint(-20, -20);
          static const Qt::Key keys[] = { Qt::Key_Escape, Qt::Key_Down, Qt::Key_Up, Qt::Key_Return };
          what == 0 ? QTest::mouseMove(w, at) : what == 1 ? QTest::mouseClick(w, Qt::LeftButton, {}, at)
              : what == 2 && remove && remove->isVisible() ? QTest::mouseClick(remove, Qt::LeftButton) : what >= 3 ? QTest::keyClick(menu, keys[h.pick(4)]) : void();
        } },
    // Typing into a field or an open list, as the keyboard would.
    { "type", 6, false, [](RandomHost& h, int) {
          static const Qt::Key keys[] = { Qt::Key_A, Qt::Key_Escape, Qt::Key_Down, Qt::Key_Up, Qt::Key_Return, Qt::Key_Backspace,
                                          Qt::Key_PageDown, Qt::Key_End };
          const QPointer<QWidget> target = h.anyPopupChild();
          const Qt::Key key = keys[h.pick(8)];
          QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_A ? QStringLiteral("a") : QString());
          if (target)
              QCoreApplication::sendEvent(target, &press);
      } },
    // The pointer in a field or an open list: presses, moves, wheel turns and the list's remove button.
    { "popupPointer", 8, false, [](RandomHost& h, int) {
          const QPointer<QWidget> target = h.anyPopupChild();
          if (!target)
              return;
          auto* list = qobject_cast<ComboBoxListView*>(target);
          QWidget* const surface = list ? list->viewport() : target.data();
          const QPoint at(h.pick(surface->width() + 10) - 5, h.pick(surface->height() + 10) - 5);
          switch (h.pick(5)) {
          case 0: QTest::mouseMove(surface, at); break;
          case 1: QTest::mouseClick(surface, Qt::LeftButton, {}, at); break;
          case 2: QTest::mousePress(surface, Qt::LeftButton, {}, at); break;
          case 3: {
              QWheelEvent wheel(at, surface->mapToGlobal(at), {}, QPoint(0, h.chance(50) ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                                Qt::NoScrollPhase, false);
              QCoreApplication::sendEvent(surface, &wheel);
              break;
          }
          default:
              if (list && list->removeButton()->isVisible())
                  QTest::mouseClick(list->removeButton(), Qt::LeftButton);
          }
      } },
    // Focus moves: the host's window takes the keyboard back, or a field of any toolbar asks for it.
    { "focus", 4, true, [](RandomHost& h, int f) {
          if (h.chance(40)) {
              h.m_hostWindow.activateWindow(), h.m_hostEdit->setFocus();
              return;
          }
          if (auto* e = dynamic_cast<MTBxDropDownEntry*>(h.anyItem(f)))
              e->setFocus(h.chance(80));
      } },
    // Native input as the filter sees it, addressed to the host or to a toolbar window, which shares it out.
    { "native", 8, false, [](RandomHost& h, int) {
          static const UINT messages[] = { WM_MOUSEMOVE, WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP, WM_KEYDOWN, WM_KEYUP };
          const QPoint p = h.chance(50) ? h.m_last + QPoint(h.pick(41) - 20, h.pick(41) - 20) : h.target();
          const QPointer<QmtbView> window = h.chance(40) ? qobject_cast<QmtbView*>(h.windowAt(p)) : nullptr;
          const NativeMessage message{ window ? reinterpret_cast<HWND>(window->winId()) : nullptr, messages[h.pick(6)],
                                       WPARAM(h.chance(50) ? MK_LBUTTON : VK_ESCAPE), 0, p };
          if (!QmtbNativeInput::filterMessage(message) && window)
              window->winEvent(message);
      } },
    { "wheel", 3, false, [](RandomHost& h, int) { h.pointer(QEvent::Wheel, Qt::NoButton, h.target()); } },
    { "enter", 3, false, [](RandomHost& h, int) { h.pointer(QEvent::Enter, Qt::NoButton, h.target()); } },
    { "leave", 3, false, [](RandomHost& h, int) { h.pointer(QEvent::Leave, Qt::NoButton, h.m_last); } },
    { "giveKeyboard", 2, true, [](RandomHost& h, int f) { h.withToolbar(f, [](auto& c, auto& t) { c.giveKeyboardTo(&t); }); } },
    { "key", 6, false, [](RandomHost& h, int) {
          const int keys[] = { Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_End, Qt::Key_Return, Qt::Key_F4, Qt::Key_Escape };
          QKeyEvent press(QEvent::KeyPress, keys[h.pick(8)], h.chance(20) ? Qt::AltModifier : Qt::NoModifier);
          if (QObject* target = QApplication::focusWidget() ? QApplication::focusWidget() : QmtbWindowRegistry::visibleWindows().value(0))
              QCoreApplication::sendEvent(target, &press);
      } },
    // A screen reader reads one item of a window and triggers one of its actions.
    { "reader", 3, false, [](RandomHost& h, int) {
          const QList<QmtbView*> windows = QmtbWindowRegistry::visibleWindows();
          QAccessibleInterface* bar = windows.isEmpty() ? nullptr : QAccessible::queryAccessibleInterface(windows[h.pick(windows.size())]);
          if (QAccessibleInterface* item = bar ? bar->child(h.pick(bar->childCount() + 1) - 1) : nullptr) {
              const QStringList actions = (item->state(), item->rect(), item->text(QAccessible::Name), item->actionInterface()->actionNames());
              item->actionInterface()->doAction(actions.value(h.pick(actions.size() + 1)));
          }
      } },
    // Frames of a running fade, which its timer would advance, or its end.
    { "fadeFrames", 2, false, [](RandomHost& h, int) {
          const QList<QmtbView*> windows = QmtbWindowRegistry::visibleWindows();
          QPointer<QmtbView> window = windows.isEmpty() ? nullptr : windows[h.pick(windows.size())];
          for (int n = h.pick(25); window && window->fade().animation() && n > 0; --n)
              window->fade().animation()->advance();
          if (window && h.chance(30))
              window->fade().stopAnimation();
      } },
    // The single-shot tooltip timer of the first window that runs one fires.
    { "tooltipTimer", 2, false, [](RandomHost&, int) {
          for (QmtbView* window : QmtbWindowRegistry::visibleWindows()) {
              if (window->toolTips().isTimerActive()) {
                  window->toolTips().stopTimer();
                  window->toolTips().timeout();
                  return;
              }
          }
      } },
};

void RandomHost::act(int focus, bool inCallback)
{
    int chosen = 0;
    for (const Action& action : s_actions)
        chosen += inCallback && !action.inCallbacks ? 0 : action.weight;
    chosen = pick(chosen);
    for (const Action& action : s_actions) {
        if ((inCallback && !action.inCallbacks) || (chosen -= action.weight) >= 0)
            continue;
        ++m_actions;
        if (qEnvironmentVariableIsSet("MTB_RANDOM_HOST_TRACE"))
            std::fprintf(stderr, "%*s%ld %s %d\n", 2 * m_depth, "", m_actions, action.name, focus);
        action.run(*this, focus);
        return;
    }
}

void runSeeds(Options::WindowStrategy strategy)
{
    const bool chosen = qEnvironmentVariableIsSet("MTB_RANDOM_HOST_SEED");
    const unsigned long first = envNumber("MTB_RANDOM_HOST_SEED", 1);
    const unsigned long seeds = envNumber("MTB_RANDOM_HOST_SEEDS", chosen ? 1 : 8);
    const long budget = static_cast<long>(envNumber("MTB_RANDOM_HOST_ACTIONS", 1500));
    long total = 0;
    for (unsigned long seed = first; seed < first + seeds; ++seed) {
        std::fprintf(stderr, "[random host] seed %lu (replay: MTB_RANDOM_HOST_SEED=%lu)\n", seed, seed);
        total += RandomHost(seed, budget, strategy).run();
        ASSERT_FALSE(::testing::Test::HasFailure()) << "replay with MTB_RANDOM_HOST_SEED=" << seed;
    }
    std::printf("[random host] %ld host actions over %lu seeds\n", total, seeds);
}

} // namespace

TEST(RandomHostTest, shouldStaySoundUnderAHostileHost)
{
    // Random toolbars, pointer input and callbacks that rebuild, restyle, move, close and destroy anything keep the library sound.
    runSeeds(Options::TopLevelWindows);
}

TEST(RandomHostTest, shouldStaySoundUnderAHostileHostWithOverlays)
{
    // The same with every toolbar an overlay inside the host's window.
    runSeeds(Options::OverlayWindows);
}
