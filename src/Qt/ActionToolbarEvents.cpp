#include "Qt/ActionToolbarEvents.h"

#include "MiniToolbars/Controller.h"
#include "MiniToolbars/MiniToolbar.h"
#include "Qt/ActionToolbarPrivate.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <cstdint>

namespace MiniToolbars {

ActionToolbarEvents::ActionToolbarEvents(ActionToolbarPrivate& owner)
    : d(owner)
{
}

HWND ActionToolbarEvents::getParentHwnd()
{
    return d.m_host ? reinterpret_cast<HWND>(d.m_host->window()->winId()) : nullptr;
}

// Screen pixels; the window keeps the toolbar this far inside what it gets here.
void ActionToolbarEvents::getMtbParentBounds(int, int, int& left, int& top, int& width, int& height)
{
    const QRect bounds = d.room().adjusted(-15, -10, 10, 10);
    left = bounds.left();
    top = bounds.top();
    width = bounds.width();
    height = bounds.height();
}

// Both come while the window is handling an event: reported from the event loop.
void ActionToolbarEvents::fadedInChanged(bool fadedIn)
{
    ActionToolbar* const q = d.q;
    QMetaObject::invokeMethod(q, [q, fadedIn] {
        if (fadedIn)
            Q_EMIT q->fadedIn();
        else
            Q_EMIT q->fadedOut();
    }, Qt::QueuedConnection);
}

void ActionToolbarEvents::wheelTurned(int delta)
{
    ActionToolbar* const q = d.q;
    const QPointer<QAction> hovered = d.m_mirror.hoveredAction();
    QMetaObject::invokeMethod(q, [q, hovered, delta] { Q_EMIT q->wheelTurned(hovered, delta); }, Qt::QueuedConnection);
}

void ActionToolbarEvents::Notify(void* context, MTBxItemEvents::EventType type, unsigned int* p1, unsigned int*)
{
    auto* entry = static_cast<ActionToolbarMirror::Entry*>(context);
    const auto argument = static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(p1));
    ActionToolbarMirror& mirror = d.m_mirror;
    if (!mirror.owns(entry))
        return;
    ActionToolbar* const q = d.q;
    const QPointer<ActionToolbar> alive(q);
    QAction* action = entry->action;
    switch (type) {
    case MTBxItemEvents::HoverEnter:
        Q_EMIT q->hovered(action);
        if (alive && mirror.owns(entry))
            action->hover();
        break;
    case MTBxItemEvents::CheckedChanged:
        // The action decides; its changed signal brings the item along.
        entry->item->setChecked(action->isChecked(), false);
        break;
    case MTBxItemEvents::Clicked:
        action->trigger();
        if (alive && mirror.owns(entry))
            mirror.syncItem(entry);
        break;
    case MTBxItemEvents::ModifiedClick:
        Q_EMIT q->modifiedClick(action, Qt::KeyboardModifiers(argument & Qt::KeyboardModifierMask),
                                Qt::MouseButtons(argument & ~unsigned(Qt::KeyboardModifierMask)));
        break;
    case MTBxItemEvents::RemoveRequested:
        Q_EMIT q->removeRequested(action);
        break;
    case MTBxItemEvents::DropDownAboutToShow:
        if (auto* menu = qobject_cast<QMenu*>(entry->menu.data()))
            Q_EMIT menu->aboutToShow();
        break;
    default:
        break;
    }
}

void ActionToolbarEvents::Notify(void*, MTBxToolbarEvents::EventType type, unsigned int* p1, unsigned int*)
{
    const auto argument = static_cast<int>(reinterpret_cast<std::intptr_t>(p1));
    ActionToolbar* const q = d.q;
    switch (type) {
    case MTBxToolbarEvents::ToolbarMoved:
        d.m_userPlaced = true;
        Q_EMIT q->movedByUser(q->geometry().topLeft());
        break;
    case MTBxToolbarEvents::ToolbarKeyDown:
        Q_EMIT q->keyPressed(argument);
        break;
    case MTBxToolbarEvents::ToolbarKeyUp:
        Q_EMIT q->keyReleased(argument);
        break;
    default:
        break;
    }
}

void ActionToolbarEvents::filter(QObject* watched, QEvent* event)
{
    if (const auto* menu = qobject_cast<QMenu*>(watched)) {
        if (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionRemoved)
            d.m_mirror.menuChanged(menu);
        return;
    }
    if (!d.m_shown || watched != d.m_hostWindow)
        return;
    switch (event->type()) {
    case QEvent::Move:
        if (d.m_userPlaced)
            ActionToolbar::controller()->moveToolbar(d.m_toolbar.get(), d.m_hostWindow->x() - d.m_hostWindowPos.x(),
                                                     d.m_hostWindow->y() - d.m_hostWindowPos.y(), true);
        else
            d.place();
        d.m_hostWindowPos = d.m_hostWindow->pos();
        break;
    case QEvent::Resize:
        if (!d.m_userPlaced)
            d.place();
        break;
    case QEvent::Hide:
        d.close(true);
        break;
    default:
        break;
    }
}

} // namespace MiniToolbars
