#include "Qt/ComboBoxListView.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QmtbString.h"

#include "Core/Backend.h"
#include "Core/ItemView.h"
#include "Core/Style.h"
#include "MiniToolbars/MTBxCombobox.h"
#include "Qt/PopupIcon.h"
#include "Qt/PopupLook.h"
#include "Qt/QmtbDeletion.h"
#include "Qt/QmtbImage.h"
#include "Qt/QmtbText.h"
#include "Qt/QmtbView.h"
#include "Qt/QmtbWindowPopup.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace MiniToolbars {

namespace {

bool isListKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    default:
        return false;
    }
}

} // namespace

// On an overlay the list is a window of its own, which the host's window does
// not clip; it never takes the keyboard either way.
ComboBoxListView::ComboBoxListView(MTBxCombobox* combo, QmtbView* window)
    : QListWidget(window->isOverlay() ? nullptr : window)
    , m_combo(combo)
    , m_window(window)
{
    if (window->isOverlay()) {
        setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
        setAttribute(Qt::WA_ShowWithoutActivating);
        winId();
        if (QWindow* handle = windowHandle())
            handle->setTransientParent(window->window()->windowHandle());
    }
    setSortingEnabled(false);
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QListWidget::itemClicked, this, &ComboBoxListView::handleClicked);
    connect(this, &QListWidget::itemEntered, this, &ComboBoxListView::handleEntered);
    connect(this, &QListWidget::currentItemChanged, this, &ComboBoxListView::handleItemChanged);
    window->popups().setPopup(this);

    const Style* const style = Style::instance();
    PopupLook::apply(this);
    m_removeButton = new QPushButton(this);
    m_removeButton->setFocusPolicy(Qt::NoFocus);
    if (const auto* image = dynamic_cast<const QmtbImage*>(style->image(ThemeImage::RemoveButton))) {
        const QImage raster = image->rasterFor(PopupIcon::ratioFor(devicePixelRatioF()));
        if (!raster.isNull())
            m_removeButton->setIcon(QIcon(QPixmap::fromImage(raster)));
    }
    connect(m_removeButton, &QPushButton::clicked, this, &ComboBoxListView::handleRemoveClicked);
    const int buttonSize = PopupLook::scaled(16);
    m_removeButton->resize(buttonSize, buttonSize);
    m_removeButton->setIconSize(QSize(buttonSize, buttonSize));
    m_removeButton->hide();
    setStyleSheet(toQString(style->popupStyleSheet()));

    // Room for the widest text, the icon and the scroll bar.
    const MTBxString& widest = combo->widestText();
    const QFont listFont = font();
    const std::unique_ptr<Text> measured(new QmtbText(widest, 0, &listFont));
    const double width = (measured ? measured->width() : 0.0) + PopupLook::scaled(5 + 18 + 20);
    setFixedWidth(std::min(static_cast<int>(std::min(width, 1e6)) + static_cast<int>(std::min(widest.length(), 100000u)),
                           QmtbCoordinates::desktopGeometry().width()));
}

ComboBoxListView::~ComboBoxListView()
{
    qApp->removeEventFilter(this);
    // The window forgets the list even when the combo box lost its view.
    if (m_window && m_window->popups().popup() == this)
        m_window->popups().popupClosed(this, !isLive());
}

// Released while Qt may still be dispatching to the list (its combo box
// removed from inside one of its own handlers, say), it forgets the combo box
// at once and goes once Qt is done with it.
void ComboBoxListView::release()
{
    if (!QmtbDeletion::mustWait()) {
        delete this;
        return;
    }
    hidePopup();
    m_combo = nullptr;
    QmtbDeletion::deleteLater(this);
}

// The toolbar's window, its children and this list, a window of its own on an overlay.
bool ComboBoxListView::isPartOfToolbar(const QWidget* widget) const
{
    return widget == m_window || widget == this || m_window->isAncestorOf(widget) || isAncestorOf(widget);
}

bool ComboBoxListView::isLive() const
{
    return m_combo && m_combo->itemView() && m_window;
}

MTBxItem* ComboBoxListView::item() const
{
    return m_combo;
}

MTBxItem* ComboBoxListView::childOf(const QListWidgetItem* row)
{
    return row ? static_cast<MTBxItem*>(row->data(Qt::UserRole).value<void*>()) : nullptr;
}

QListWidgetItem* ComboBoxListView::rowOf(const MTBxItem* child) const
{
    for (int i = 0; child && i < count(); ++i) {
        if (childOf(QListWidget::item(i)) == child)
            return QListWidget::item(i);
    }
    return nullptr;
}

void ComboBoxListView::fillRow(QListWidgetItem* row, MTBxItem* child)
{
    row->setText(toQString(child->description().empty() ? child->text() : child->description()));
    const QImage icon = PopupIcon::of(*child, Style::instance()->iconSize(), devicePixelRatioF()).image;
    row->setIcon(icon.isNull() ? QIcon() : QIcon(QPixmap::fromImage(icon)));
    row->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(child)));
    row->setFlags(child->isEnabled() ? row->flags() | Qt::ItemIsEnabled : row->flags() & ~Qt::ItemIsEnabled);
}

void ComboBoxListView::addRow(MTBxItem* child)
{
    if (!child)
        return;
    auto* row = new QListWidgetItem;
    fillRow(row, child);
    const QSignalBlocker blocker(this);
    QListWidget::addItem(row);
}

bool ComboBoxListView::updateRow(int row, MTBxItem* child)
{
    QListWidgetItem* const existing = child ? QListWidget::item(row) : nullptr;
    if (!existing)
        return false;
    fillRow(existing, child);
    return true;
}

// The host has let the child go: it hears nothing more, not even that the
// hover left it. Rows left over from a refresh may show it more than once.
void ComboBoxListView::removeRow(const MTBxItem* child)
{
    if (child && child == m_hoveredEntry)
        m_hoveredEntry = nullptr;
    else
        unhover();
    {
        const QSignalBlocker blocker(this);
        while (QListWidgetItem* row = rowOf(child))
            delete takeItem(QListWidget::row(row));
    }
    if (currentItem() && isVisible())
        handleEntered(currentItem());
    else
        m_removeButton->hide();
}

void ComboBoxListView::setCurrentRow(const MTBxItem* child)
{
    if (QListWidgetItem* row = rowOf(child))
        setCurrentItem(row);
}

void ComboBoxListView::popUp(const Point& point, float flipY)
{
    if (!m_window)
        return;
    // Fitted before it shows: a window of its own may not move once shown.
    fitHeight();
    const QPoint at = m_window->placement().popupPosition(point, flipY, size());
    move(isWindow() ? at : m_window->mapFromGlobal(at));
    show();
    raise();
}

// The rows' own height, not that of a laid-out current row: the list has
// no layout yet when it opens, and may have no current row at all.
void ComboBoxListView::fitHeight()
{
    // Rows with an icon may be taller than rows without: each counts its own.
    int height = 2 * frameWidth();
    const int limit = PopupLook::scaled(maxHeight);
    for (int row = 0; row < count() && height < limit; ++row)
        height += sizeHintForRow(row);
    if (horizontalScrollBar() && horizontalScrollBar()->isVisible())
        height += horizontalScrollBar()->sizeHint().height();
    resize(width(), std::min(height, limit));
}

void ComboBoxListView::unhover()
{
    if (MTBxItem* entry = std::exchange(m_hoveredEntry, nullptr))
        entry->setHovered(false);
}

// Each handler is a delivery for the combo box: refused while it waits for
// deletion, and a callback may remove it, whose list then lets go of it, so
// the combo box is looked at again after every call to the host.
void ComboBoxListView::handleEntered(QListWidgetItem* row)
{
    if (!row || !isLive())
        return;
    const NotificationGuard::Delivery delivery(m_window->guard(), m_combo);
    if (!delivery.accepted())
        return;
    MTBxItem* const child = childOf(row);
    if (child != m_hoveredEntry) {
        // Each hover change calls the host, which may remove rows meanwhile.
        unhover();
        if (!m_combo || !rowOf(child))
            return;
        m_hoveredEntry = child;
        child->setHovered(true);
        if (!m_combo || m_hoveredEntry != child)
            return;
    }
    row = rowOf(child);
    if (!row)
        return;
    {
        const QSignalBlocker blocker(this);
        setCurrentItem(row);
    }
    if (isVisible() && child->hasRemoveButton()) {
        // 17 px in from the row's right edge and 3 px down from its top, in
        // the row's own coordinates: the list's frame lies between the
        // viewport that holds the rows and the list that holds the button.
        const QRect r = visualItemRect(row);
        const QPoint corner(r.right() - PopupLook::scaled(17), r.top() + PopupLook::scaled(3));
        m_removeButton->move(viewport()->mapTo(this, corner));
        m_removeButton->show();
        m_removeButton->raise();
    } else {
        m_removeButton->hide();
    }
}

void ComboBoxListView::handleItemChanged(QListWidgetItem* current, QListWidgetItem*)
{
    if (current && isVisible())
        handleEntered(current);
}

void ComboBoxListView::handleClicked(QListWidgetItem* row)
{
    if (!row || !(row->flags() & Qt::ItemIsEnabled) || !isLive())
        return;
    const NotificationGuard::Delivery delivery(m_window->guard(), m_combo);
    if (!delivery.accepted())
        return;
    MTBxItem* const child = childOf(row);
    m_combo->setCurrentItem(child);
    child->Notify(MTBxItemEvents::Clicked, nullptr, nullptr);
    hide();
    if (!m_window)
        return;
    m_window->popups().popupClosed(this, true);
    if (ItemView* view = m_combo ? m_combo->itemView() : nullptr) {
        view->setState(Normal);
        view->setPressedSubArea(false);
    }
    m_window->refresh();
}

void ComboBoxListView::handleRemoveClicked()
{
    if (!isLive())
        return;
    const NotificationGuard::Delivery delivery(m_window->guard(), m_combo);
    if (MTBxItem* child = childOf(currentItem()); child && delivery.accepted())
        child->Notify(MTBxItemEvents::RemoveRequested, nullptr, nullptr);
}

void ComboBoxListView::menuClosing()
{
    if (ItemView* view = m_combo ? m_combo->itemView() : nullptr; view && m_window) {
        view->setState(Normal);
        view->setPressedSubArea(false);
        m_window->refresh();
        m_window->popups().popupClosed(this, false);
    }
    hide();
}

void ComboBoxListView::dismissPopup(bool quiet)
{
    if (!quiet)
        menuClosing();
}

void ComboBoxListView::hidePopup()
{
    hide();
    m_removeButton->hide();
    if (isLive())
        m_window->popups().popupClosed(this, false);
    m_hoveredEntry = nullptr;
}

void ComboBoxListView::keyPressEvent(QKeyEvent* event)
{
    if (!isLive())
        return;
    const NotificationGuard::Delivery delivery(m_window->guard(), m_combo);
    if (!delivery.accepted())
        return;
    QAbstractItemView::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Escape:
        if (m_window)
            m_window->popups().popupClosed(this, true);
        dismissPopup(false);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (currentItem())
            handleClicked(currentItem());
        break;
    default:
        break;
    }
    event->accept();
}

void ComboBoxListView::enterEvent(QtCompat::EnterEvent* event)
{
    setMouseTracking(true);
    QListWidget::enterEvent(event);
}

void ComboBoxListView::leaveEvent(QEvent* event)
{
    if (isLive()) {
        const NotificationGuard::Delivery delivery(m_window->guard(), m_combo);
        if (delivery.accepted())
            unhover();
    }
    setMouseTracking(false);
    QListWidget::leaveEvent(event);
}

void ComboBoxListView::showEvent(QShowEvent* event)
{
    qApp->installEventFilter(this);
    QListWidget::showEvent(event);
}

void ComboBoxListView::hideEvent(QHideEvent* event)
{
    qApp->removeEventFilter(this);
    QListWidget::hideEvent(event);
}

// The keyboard stays with the host while the list shows; the list's keys
// are taken from the host on the way, and a press outside closes the list.
bool ComboBoxListView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched != this && isVisible()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isListKey(key->key())) {
            keyPressEvent(key);
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() && m_window
               && !isPartOfToolbar(static_cast<QWidget*>(watched))) {
        dismissPopup(false);
    }
    return false;
}

} // namespace MiniToolbars
