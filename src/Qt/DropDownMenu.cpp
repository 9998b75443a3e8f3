#include "Qt/DropDownMenu.h"

#include "Core/ItemView.h"
#include "Core/Style.h"
#include "MiniToolbars/MTBxDropDownButton.h"
#include "Qt/PopupIcon.h"
#include "Qt/PopupLook.h"
#include "Qt/QmtbDeletion.h"
#include "Qt/QmtbImage.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QmtbString.h"
#include "Qt/QmtbView.h"
#include "Qt/QmtbWindowPopup.h"

#include <QPushButton>
#include <QStyle>
#include <QWindow>

#include <memory>
#include <optional>

namespace MiniToolbars {

namespace {

// At scaling factor 1; the button grows with the factor.
constexpr int removeButtonSize = 16;

MTBxItem* childOf(const QAction* action)
{
    return action ? static_cast<MTBxItem*>(action->data().value<void*>()) : nullptr;
}

} // namespace

// A handler entered from the event loop: a delivery of the window for the
// button, so that whatever the host deletes in a callback waits until the
// handler returns (and nothing is done for a button that waits for deletion),
// and a mark that keeps release() from deleting the menu under it.
class DropDownMenu::Handler
{
public:
    explicit Handler(DropDownMenu& menu)
        : m_menu(menu)
    {
        ++m_menu.m_running;
        if (m_menu.m_button && m_menu.m_window)
            m_delivery.emplace(m_menu.m_window->guard(), m_menu.m_button);
    }
    ~Handler()
    {
        m_delivery.reset();
        --m_menu.m_running;
    }
    Handler(const Handler&) = delete;
    Handler& operator=(const Handler&) = delete;

    // Entering may finish deletions asked for earlier, the button's among them.
    bool accepted() const { return m_delivery && m_delivery->accepted() && m_menu.m_button; }

private:
    DropDownMenu& m_menu;
    std::optional<NotificationGuard::Delivery> m_delivery;
};

DropDownMenu::DropDownMenu(MTBxDropDownButton* button, QmtbView* window)
    : m_button(button)
    , m_window(window)
{
    setObjectName(QStringLiteral("DropDownMenu"));
    PopupLook::apply(this);
    connect(this, &QMenu::aboutToHide, this, &DropDownMenu::menuClosing);
    connect(this, &QMenu::hovered, this, &DropDownMenu::MenuItemHovered);
    if (m_window)
        m_window->popups().setPopup(this);

    m_removeButton = new QPushButton(this);
    m_removeButton->setObjectName(QStringLiteral("removeButton"));
    m_removeButton->setFlat(true);
    m_removeButton->setFocusPolicy(Qt::NoFocus);
    if (auto* image = dynamic_cast<QmtbImage*>(Style::instance()->image(ThemeImage::RemoveButton))) {
        const QImage raster = image->rasterFor(PopupIcon::ratioFor(devicePixelRatioF()));
        if (!raster.isNull())
            m_removeButton->setIcon(QIcon(QPixmap::fromImage(raster)));
    }
    const int buttonSize = PopupLook::scaled(removeButtonSize);
    m_removeButton->setIconSize(QSize(buttonSize, buttonSize));
    m_removeButton->resize(buttonSize, buttonSize);
    m_removeButton->hide();
    connect(m_removeButton, &QPushButton::clicked, this, &DropDownMenu::handleRemoveClicked);
}

// Hidden quietly: the menu's own slots must not run on a half-destroyed menu.
// Reported as settled, so that the window keeps no pointer to a button that
// may be going away with it.
DropDownMenu::~DropDownMenu()
{
    blockSignals(true);
    hide();
    if (m_window)
        m_window->popups().popupClosed(this, true);
}

MTBxItem* DropDownMenu::item() const
{
    return m_button;
}

void DropDownMenu::dismissPopup(bool quiet)
{
    if (quiet)
        return;
    // Hiding runs menuClosing through aboutToHide.
    if (isVisible())
        hide();
    else
        menuClosing();
}

void DropDownMenu::hidePopup()
{
    {
        const QSignalBlocker blocker(this);
        hide();
    }
    m_removeButton->hide();
    m_hoveredEntry = nullptr;
    // Nothing was chosen, and no press waits for its release.
    if (m_window)
        m_window->popups().popupClosed(this, true);
}

// Qt may still be dispatching to the menu (a press on its way, one of its
// own handlers): it then hides, forgets the button and goes afterwards.
void DropDownMenu::release()
{
    if (m_running == 0 && !QmtbDeletion::mustWait()) {
        delete this;
        return;
    }
    hidePopup();
    m_button = nullptr;
    QmtbDeletion::deleteLater(this);
}

void DropDownMenu::addEntry(MTBxItem* child)
{
    auto* action = new QAction(this);
    action->setText(toQString(child->description().empty() ? child->text() : child->description()));
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    const PopupIcon icon = PopupIcon::of(*child, size, devicePixelRatioF());
    QImage image = icon.image;
    action->setEnabled(child->isEnabled());
    // A checkable entry shows its check state and never an icon; the active
    // child is marked unless its icon name gives it an image.
    if (child->isCheckable()) {
        action->setCheckable(true);
        action->setChecked(child->isChecked());
        image = QImage();
    } else if (!icon.fromName && child->isActive()) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    action->setData(QVariant::fromValue(static_cast<void*>(child)));
    if (!image.isNull())
        action->setIcon(QIcon(QPixmap::fromImage(image)));
    connect(action, &QAction::triggered, this, &DropDownMenu::handleAction);
    addAction(action);
}

void DropDownMenu::addSeparator(MTBxItem* child)
{
    QMenu::addSeparator()->setData(QVariant::fromValue(static_cast<void*>(child)));
}

// Un-hovering calls the host, which may remove entries meanwhile: the entry
// is looked up only afterwards. The child itself has been let go by the host:
// it hears nothing more, not even that the hover left it.
void DropDownMenu::removeEntry(const MTBxItem* child)
{
    if (child && child == m_hoveredEntry)
        m_hoveredEntry = nullptr;
    else
        unhover();
    removeItemAt(actions().indexOf(actionOf(child)));
}

// The menu may be using the action up the stack (hovering it calls the
// host, which may remove its child): it leaves the menu now and is deleted
// once control is back in the event loop.
void DropDownMenu::removeItemAt(int index)
{
    unhover();
    const QList<QAction*> entries = actions();
    if (index < 0 || index >= entries.size())
        return;
    QAction* const action = entries.at(index);
    removeAction(action);
    action->disconnect(this);
    action->setData(QVariant());
    action->deleteLater();
    m_removeButton->hide();
}

// Near a screen edge QMenu moves itself so that it stays fully visible.
// An overlay's menu has the host's window for its parent on screen (not for
// its owner): on Wayland a popup opens only next to a window of its own.
void DropDownMenu::popUp(const Point& point, float flipY)
{
    if (!m_window)
        return;
    if (m_window->isOverlay()) {
        winId();
        if (QWindow* handle = windowHandle())
            handle->setTransientParent(m_window->window()->windowHandle());
    }
    popup(m_window->placement().popupPosition(point, flipY, sizeHint()));
}

void DropDownMenu::handleAction()
{
    const Handler handler(*this);
    MTBxItem* const child = childOf(qobject_cast<QAction*>(sender()));
    if (!handler.accepted() || !child || !m_button->itemView())
        return;
    if (m_button->isSynchronizedWithCurrentItem())
        m_button->setCurrentItem(child);
    child->Notify(MTBxItemEvents::Clicked, nullptr, nullptr);
    if (m_window)
        m_window->popups().popupClosed(this, true);
}

void DropDownMenu::menuClosing()
{
    const Handler handler(*this);
    if (!handler.accepted())
        return;
    m_removeButton->hide();
    // Every HoverEnter of an entry gets its HoverLeave, however the menu closes.
    unhover();
    if (ItemView* view = m_button ? m_button->itemView() : nullptr) {
        view->setState(Normal);
        view->setPressedSubArea(false);
    }
    if (m_window) {
        m_window->refresh();
        m_window->popups().popupClosed(this, false);
    }
}

void DropDownMenu::MenuItemHovered(QAction* action)
{
    const Handler handler(*this);
    MTBxItem* const child = childOf(action);
    if (!handler.accepted() || !child)
        return;
    const QPointer<QAction> entry(action);
    if (child != m_hoveredEntry) {
        unhover();
        // The host may have removed the entry while hearing of the last one;
        // its action then stays alive a while, but out of the menu.
        if (!entry || !m_button || !actions().contains(entry))
            return;
        m_hoveredEntry = child;
        child->setHovered(true);
        if (!entry || m_hoveredEntry != child)
            return;
    }
    if (child->hasRemoveButton()) {
        const QPoint corner = actionGeometry(entry).topRight();
        m_removeButton->move(corner.x() - m_removeButton->width() - PopupLook::scaled(1),
                             corner.y() + PopupLook::scaled(3));
        // The menu's only child widget: nothing can cover it.
        m_removeButton->show();
    } else {
        m_removeButton->hide();
    }
}

void DropDownMenu::handleRemoveClicked()
{
    const Handler handler(*this);
    if (handler.accepted() && m_hoveredEntry)
        m_hoveredEntry->Notify(MTBxItemEvents::RemoveRequested, nullptr, nullptr);
}

void DropDownMenu::leaveEvent(QEvent* event)
{
    {
        const Handler handler(*this);
        if (handler.accepted())
            unhover();
    }
    QMenu::leaveEvent(event);
}

QAction* DropDownMenu::actionOf(const MTBxItem* child) const
{
    for (QAction* action : actions()) {
        if (childOf(action) == child)
            return action;
    }
    return nullptr;
}

void DropDownMenu::unhover()
{
    if (MTBxItem* const left = std::exchange(m_hoveredEntry, nullptr))
        left->setHovered(false);
}

} // namespace MiniToolbars
