#include "Qt/QmtbAccessibleItem.h"

#include "Compat/QtCompat.h"
#include "Core/ItemView.h"
#include "Core/MTBxView.h"
#include "MiniToolbars/MTBxItem.h"
#include "Qt/QmtbAccessibleToolbar.h"
#include "Qt/QmtbKeyboard.h"
#include "Qt/QmtbString.h"
#include "Qt/QmtbView.h"

namespace MiniToolbars {

namespace {

bool opensList(const MTBxItem* item)
{
    return item->hasDropDown() || item->itemType() == MTBxItem::DropDownButton
        || item->itemType() == MTBxItem::Combobox;
}

} // namespace

QmtbAccessibleItem::QmtbAccessibleItem(QmtbView* window, const MTBxItem* item)
    : m_window(window)
    , m_item(item)
{
}

QString QmtbAccessibleItem::nameOf(const MTBxItem* item)
{
    const QString text = toQString(item->text());
    return text.isEmpty() ? toQString(item->toolTip()) : text;
}

QmtbAccessibleToolbar* QmtbAccessibleItem::toolbar() const
{
    return m_window ? dynamic_cast<QmtbAccessibleToolbar*>(QAccessible::queryAccessibleInterface(m_window.data())) : nullptr;
}

ItemView* QmtbAccessibleItem::view() const
{
    QmtbAccessibleToolbar* const bar = toolbar();
    return bar ? bar->viewOf(m_item) : nullptr;
}

bool QmtbAccessibleItem::isValid() const
{
    return view() != nullptr;
}

QWindow* QmtbAccessibleItem::window() const
{
    return m_window ? m_window->windowHandle() : nullptr;
}

QAccessibleInterface* QmtbAccessibleItem::parent() const
{
    return toolbar();
}

QString QmtbAccessibleItem::text(QAccessible::Text t) const
{
    const ItemView* itemView = view();
    if (!itemView)
        return QString();
    switch (t) {
    case QAccessible::Name:
        return nameOf(m_item);
    case QAccessible::Description:
        return toQString(m_item->toolTip());
    case QAccessible::Value:
        return toQString(m_item->value());
    default:
        return QString();
    }
}

QRect QmtbAccessibleItem::rect() const
{
    const ItemView* itemView = view();
    if (!itemView)
        return QRect();
    return toolbar()->screenRect(itemView->top(), itemView->left(), itemView->bottom(), itemView->right());
}

QAccessible::Role QmtbAccessibleItem::role() const
{
    if (!view())
        return QAccessible::NoRole;
    switch (m_item->itemType()) {
    case MTBxItem::Label:
        return QAccessible::StaticText;
    case MTBxItem::Separator:
        return QAccessible::Separator;
    case MTBxItem::Combobox:
        return QAccessible::ComboBox;
    case MTBxItem::DropDownEntry:
        return QAccessible::EditableText;
    case MTBxItem::DropDownButton:
        return QAccessible::ButtonMenu;
    default:
        return m_item->isCheckable() ? QAccessible::CheckBox : QAccessible::PushButton;
    }
}

QAccessible::State QmtbAccessibleItem::state() const
{
    QAccessible::State state;
    const ItemView* itemView = view();
    if (!itemView) {
        state.invalid = true;
        return state;
    }
    state.disabled = itemView->state() == Disabled;
    state.checkable = m_item->isCheckable();
    state.checked = m_item->isCheckable() && m_item->isChecked();
    state.focusable = QmtbKeyboard::isFocusable(itemView);
    const QmtbView* window = toolbar()->toolbarWindow();
    state.focused = QmtbKeyboard::instance().focused(window) == itemView;
    state.invisible = itemView->isFadedAway() || !window->view()->shown();
    return state;
}

void* QmtbAccessibleItem::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QStringList QmtbAccessibleItem::actionNames() const
{
    const ItemView* itemView = view();
    if (!QmtbKeyboard::isFocusable(itemView))
        return {};
    QStringList names;
    if (m_item->itemType() != MTBxItem::Combobox && m_item->itemType() != MTBxItem::DropDownEntry)
        names << pressAction();
    if (m_item->isCheckable())
        names << toggleAction();
    if (opensList(m_item))
        names << showMenuAction();
    return names;
}

void QmtbAccessibleItem::doAction(const QString& actionName)
{
    if (!actionNames().contains(actionName))
        return;
    QmtbKeyboard::click(toolbar()->toolbarWindow(), view(), actionName == showMenuAction());
}

} // namespace MiniToolbars
