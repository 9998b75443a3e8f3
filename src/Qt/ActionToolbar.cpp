#include "MiniToolbars/ActionToolbar.h"

#include "Qt/ActionToolbarPlacement.h"
#include "Qt/ActionToolbarPrivate.h"
#include "Qt/ApplicationScoped.h"
#include "MiniToolbars/Controller.h"
#include "MiniToolbars/MiniToolbar.h"

#include <QAction>
#include <QMenu>
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
    , d(std::make_unique<Private>(this))
{
}

ActionToolbar::~ActionToolbar()
{
    d->close(true);
    for (const auto& entry : d->m_entries) {
        if (entry->menu)
            entry->menu->removeEventFilter(this);
    }
    d->m_entries.clear();
}

void ActionToolbar::addAction(QAction* action)
{
    insertAction(nullptr, action);
}

void ActionToolbar::insertAction(QAction* before, QAction* action)
{
    if (!action || actions().contains(action))
        return;
    int index = static_cast<int>(d->m_entries.size());
    for (int i = 0; i < index; ++i) {
        if (before && d->m_entries[static_cast<std::size_t>(i)]->action == before)
            index = i;
    }
    auto entry = d->makeEntry(action, nullptr);
    Private::Entry* raw = entry.get();
    d->m_entries.insert(d->m_entries.begin() + index, std::move(entry));
    if (d->m_shown) {
        d->m_toolbar->addItem(d->createItem(raw), index);
        d->scheduleUpdate();
    }
}

void ActionToolbar::removeAction(QAction* action)
{
    for (const auto& entry : d->m_entries) {
        if (entry->action == action) {
            d->actionDestroyed(entry.get());
            return;
        }
    }
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
    QList<QAction*> result;
    for (const auto& entry : d->m_entries)
        result.append(entry->action);
    return result;
}

void ActionToolbar::setSplitButton(QAction* action, bool split)
{
    for (const auto& entry : d->m_entries) {
        if (entry->action == action && entry->split != split) {
            entry->split = split;
            d->syncItem(entry.get());
            d->scheduleUpdate();
        }
    }
}

void ActionToolbar::setRemovableEntries(QAction* action, bool removable)
{
    for (const auto& entry : d->m_entries) {
        if (entry->action == action && entry->removable != removable) {
            entry->removable = removable;
            for (const auto& child : entry->children)
                d->syncItem(child.get());
        }
    }
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
    d->eventFilter(watched, event);
    return QObject::eventFilter(watched, event);
}

} // namespace MiniToolbars
