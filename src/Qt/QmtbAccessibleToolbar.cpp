#include "Qt/QmtbAccessibleToolbar.h"
#include "Qt/QmtbPlacement.h"

#include "Compat/QtCompat.h"
#include "Core/ItemView.h"
#include "Core/MTBxView.h"
#include "MiniToolbars/MTBxItem.h"
#include "Qt/QmtbAccessibleItem.h"
#include "Qt/QmtbView.h"

#include <QCoreApplication>

#include <algorithm>

namespace MiniToolbars {

namespace {

std::map<const QmtbView*, QmtbAccessibleToolbar*>& existingInterfaces()
{
    static std::map<const QmtbView*, QmtbAccessibleToolbar*> s_interfaces;
    return s_interfaces;
}

} // namespace

QmtbAccessibleToolbar::QmtbAccessibleToolbar(QmtbView* window)
    : QAccessibleWidget(window, QAccessible::ToolBar)
    , m_window(window)
{
    existingInterfaces()[window] = this;
}

QmtbAccessibleToolbar* QmtbAccessibleToolbar::existing(const QmtbView* window)
{
    const auto found = existingInterfaces().find(window);
    return found == existingInterfaces().end() ? nullptr : found->second;
}

QmtbAccessibleToolbar::~QmtbAccessibleToolbar()
{
    forget();
    // At shutdown Qt's cache deletes every interface itself.
    if (QCoreApplication::closingDown())
        return;
    for (const auto& known : m_known)
        QAccessible::deleteAccessibleInterface(known.second.id);
}

// Qt asks the interface about its widget while the widget's base classes are
// being destroyed; the window says it goes before that.
void QmtbAccessibleToolbar::forget()
{
    existingInterfaces().erase(m_window);
    m_window = nullptr;
}

bool QmtbAccessibleToolbar::isValid() const
{
    return m_window && QAccessibleWidget::isValid();
}

std::vector<ItemView*> QmtbAccessibleToolbar::itemViews() const
{
    std::vector<ItemView*> views;
    const MTBxView* view = m_window ? m_window->view() : nullptr;
    for (int i = 0; view && i < view->itemViewCount(); ++i) {
        ItemView* itemView = view->itemViewAt(i);
        if (itemView && !itemView->isGrip() && itemView->item() && !itemView->item()->isNewLine())
            views.push_back(itemView);
    }
    return views;
}

ItemView* QmtbAccessibleToolbar::viewOf(const MTBxItem* item) const
{
    for (ItemView* view : itemViews()) {
        if (view->item() == item)
            return view;
    }
    return nullptr;
}

QRect QmtbAccessibleToolbar::screenRect(float top, float left, float bottom, float right) const
{
    const QmtbView* window = toolbarWindow();
    int originX = 0;
    int originY = 0;
    window->getOrigin(originX, originY);
    const QPoint topLeft = window->placement().toLocal(QPoint(originX + qRound(left), originY - qRound(top)));
    return QRect(window->mapToGlobal(topLeft), QSize(qRound(right - left), qRound(top - bottom)));
}

QAccessibleInterface* QmtbAccessibleToolbar::interfaceOf(const ItemView* view)
{
    const MTBxItem* item = view->item();
    auto known = m_known.find(item);
    if (known == m_known.end()) {
        auto* face = new QmtbAccessibleItem(toolbarWindow(), item);
        const Known entry{ QAccessible::registerAccessibleInterface(face), item->isChecked(), QmtbAccessibleItem::nameOf(item) };
        known = m_known.emplace(item, entry).first;
    }
    return QAccessible::accessibleInterface(known->second.id);
}

void QmtbAccessibleToolbar::announceChanges()
{
    const std::vector<ItemView*> views = itemViews();
    for (auto known = m_known.begin(); known != m_known.end();) {
        const bool gone = std::none_of(views.begin(), views.end(), [&](const ItemView* v) { return v->item() == known->first; });
        if (gone) {
            QAccessible::deleteAccessibleInterface(known->second.id);
            known = m_known.erase(known);
        } else {
            ++known;
        }
    }
    for (const ItemView* view : views) {
        const auto known = m_known.find(view->item());
        if (known == m_known.end())
            continue;
        QAccessibleInterface* face = QAccessible::accessibleInterface(known->second.id);
        const bool checked = view->item()->isChecked();
        if (checked != known->second.checked) {
            known->second.checked = checked;
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent event(face, changed);
            QAccessible::updateAccessibility(&event);
        }
        const QString name = QmtbAccessibleItem::nameOf(view->item());
        if (name != known->second.name) {
            known->second.name = name;
            QAccessibleEvent event(face, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        }
    }
}

QString QmtbAccessibleToolbar::text(QAccessible::Text t) const
{
    if (!m_window)
        return QString();
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    const MTBxString& name = m_window->view()->name();
    return name.empty() ? QAccessibleWidget::text(t) : QtCompat::fromUtf16(name, static_cast<int>(name.length()));
}

QRect QmtbAccessibleToolbar::rect() const
{
    float top = 0;
    float left = 0;
    float bottom = 0;
    float right = 0;
    if (!m_window)
        return QRect();
    m_window->view()->getBounds(top, left, bottom, right);
    return screenRect(top, left, bottom, right);
}

int QmtbAccessibleToolbar::childCount() const
{
    return static_cast<int>(itemViews().size());
}

QAccessibleInterface* QmtbAccessibleToolbar::child(int index) const
{
    const std::vector<ItemView*> views = itemViews();
    if (index < 0 || index >= static_cast<int>(views.size()))
        return nullptr;
    return const_cast<QmtbAccessibleToolbar*>(this)->interfaceOf(views[static_cast<size_t>(index)]);
}

int QmtbAccessibleToolbar::indexOfChild(const QAccessibleInterface* child) const
{
    const std::vector<ItemView*> views = itemViews();
    for (size_t i = 0; i < views.size(); ++i) {
        const auto known = m_known.find(views[i]->item());
        if (known != m_known.end() && QAccessible::accessibleInterface(known->second.id) == child)
            return static_cast<int>(i);
    }
    return -1;
}

QAccessibleInterface* QmtbAccessibleToolbar::childAt(int x, int y) const
{
    for (int i = 0; i < childCount(); ++i) {
        QAccessibleInterface* item = child(i);
        if (item->rect().contains(x, y))
            return item;
    }
    return nullptr;
}

} // namespace MiniToolbars
