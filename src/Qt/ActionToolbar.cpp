#include "MiniToolbars/ActionToolbar.h"

#include "MiniToolbars/Controller.h"
#include "MiniToolbars/MiniToolbar.h"
#include "Qt/ActionToolbarPlacement.h"
#include "Qt/ActionToolbarPrivate.h"
#include "Qt/ApplicationScoped.h"

#include <QAction>
#include <QWidget>

#include <algorithm>
#include <memory>

namespace MiniToolbars {

namespace {

struct SharedController
{
    std::unique_ptr<Controller> controller{Controller::createInstance()};
};

} // namespace

ActionToolbar::ActionToolbar(QObject* parent)
    : QObject(parent)
    , d(std::make_unique<ActionToolbarPrivate>(this))
{
}

ActionToolbar::~ActionToolbar()
{
    d->close(true);
    d->m_mirror.clear();
}

void ActionToolbar::addAction(QAction* action)
{
    d->m_mirror.insert(nullptr, action);
}

void ActionToolbar::insertAction(QAction* before, QAction* action)
{
    d->m_mirror.insert(before, action);
}

void ActionToolbar::removeAction(QAction* action)
{
    d->m_mirror.remove(action);
}

QAction* ActionToolbar::addSeparator()
{
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    addAction(separator);
    return separator;
}

QAction* ActionToolbar::addRowBreak()
{
    auto* rowBreak = new QAction(this);
    rowBreak->setProperty(rowBreakProperty, true);
    addAction(rowBreak);
    return rowBreak;
}

QList<QAction*> ActionToolbar::actions() const
{
    return d->m_mirror.actions();
}

void ActionToolbar::setSplitButton(QAction* action, bool split)
{
    d->m_mirror.setSplit(action, split);
}

void ActionToolbar::setRemovableEntries(QAction* action, bool removable)
{
    d->m_mirror.setRemovable(action, removable);
}

bool ActionToolbar::show(QWidget* host, const QRect& anchor, Side preferred)
{
    return d->show(host, anchor, preferred);
}

void ActionToolbar::setAnchor(const QRect& anchor)
{
    if (!d->m_shown)
        return;
    d->m_anchor = boundedAnchor(anchor);
    d->m_userPlaced = false;
    d->place();
}

void ActionToolbar::close()
{
    d->close(true);
}

bool ActionToolbar::isVisible() const
{
    return d->m_shown;
}

int ActionToolbar::gap() const
{
    return d->m_gap;
}

void ActionToolbar::setGap(int gap)
{
    d->m_gap = std::clamp(gap, 0, 1 << 16);
    if (!d->m_userPlaced)
        d->place();
}

Options::WindowStrategy ActionToolbar::windowStrategy() const
{
    return d->m_windowStrategy ? *d->m_windowStrategy : controller()->getOptions().windowStrategy();
}

void ActionToolbar::setWindowStrategy(Options::WindowStrategy strategy)
{
    d->m_windowStrategy = strategy;
}

ActionToolbar::Look ActionToolbar::look() const
{
    return d->m_look;
}

void ActionToolbar::setLook(Look look)
{
    if (look != TranslucentLook && look != SolidLook)
        return;
    d->m_look = look;
    d->applyLook();
    if (d->m_shown && !d->m_userPlaced)
        d->place();
}

QWidget* ActionToolbar::host() const
{
    return d->m_host;
}

QRect ActionToolbar::anchor() const
{
    return d->m_anchor;
}

QRect ActionToolbar::geometry() const
{
    if (!d->m_shown)
        return {};
    return d->extent().translated(d->globalOrigin());
}

MiniToolbar* ActionToolbar::miniToolbar() const
{
    return d->m_toolbar.get();
}

Controller* ActionToolbar::controller()
{
    return applicationScoped<SharedController>().controller.get();
}

bool ActionToolbar::eventFilter(QObject* watched, QEvent* event)
{
    d->m_events.filter(watched, event);
    return QObject::eventFilter(watched, event);
}

} // namespace MiniToolbars
