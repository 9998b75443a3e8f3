#include "Qt/QmtbKeyboard.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QmtbPointerInput.h"

#include "Core/ItemView.h"
#include "Core/MTBxView.h"
#include "Core/Style.h"
#include "MiniToolbars/MTBxItem.h"
#include "Qt/ApplicationScoped.h"
#include "Qt/QmtbAccessibility.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbView.h"
#include "Qt/QmtbWindowPopup.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace MiniToolbars {

namespace {

std::vector<ItemView*> focusableViews(const QmtbView* window)
{
    std::vector<ItemView*> views;
    const MTBxView* view = window ? window->view() : nullptr;
    for (int i = 0; view && i < view->itemViewCount(); ++i) {
        if (QmtbKeyboard::isFocusable(view->itemViewAt(i)))
            views.push_back(view->itemViewAt(i));
    }
    return views;
}

float centreX(const ItemView* view)
{
    return (view->left() + view->right()) / 2;
}

} // namespace

QmtbKeyboard& QmtbKeyboard::instance()
{
    return applicationScoped<QmtbKeyboard>();
}

QmtbKeyboard::Move QmtbKeyboard::moveFor(int key, Qt::KeyboardModifiers modifiers)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Backtab:
        return Move::Previous;
    case Qt::Key_Right:
    case Qt::Key_Tab:
        return modifiers & Qt::ShiftModifier ? Move::Previous : Move::Next;
    case Qt::Key_Up:
        return Move::Up;
    case Qt::Key_Down:
        return modifiers & Qt::AltModifier ? Move::DropDown : Move::Down;
    case Qt::Key_Home:
        return Move::First;
    case Qt::Key_End:
        return Move::Last;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        return Move::Click;
    case Qt::Key_F4:
        return Move::DropDown;
    case Qt::Key_Escape:
        return Move::Escape;
    default:
        return Move::None;
    }
}

bool QmtbKeyboard::isFocusable(const ItemView* view)
{
    const MTBxItem* item = view ? view->item() : nullptr;
    return item && !view->isGrip() && view->state() != Disabled && !view->isFadedAway()
        && item->itemType() != MTBxItem::Label && !item->isSeparatorType();
}

bool QmtbKeyboard::take(QmtbView* window)
{
    if (!window || !window->isShown())
        return false;
    const std::vector<ItemView*> views = focusableViews(window);
    if (views.empty())
        return false;
    if (m_window != window) {
        if (m_window) {
            m_window->removeEventFilter(this);
            m_window->update();
        } else {
            m_previousFocus = QApplication::focusWidget();
            qApp->installEventFilter(this);
            // Focus leaves for no widget while the application is inactive,
            // and comes back to the same one.
            connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
                if (now && now != m_previousFocus)
                    release(false);
            });
        }
        m_window = window;
        window->installEventFilter(this);
    }
    ItemView* current = focused(window);
    setFocused(current ? current : views.front());
    return true;
}

void QmtbKeyboard::release(bool restoreFocus)
{
    qApp->removeEventFilter(this);
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    if (m_window) {
        m_window->removeEventFilter(this);
        m_window->update();
    }
    const QPointer<QWidget> previous = m_previousFocus;
    m_window = nullptr;
    m_previousFocus = nullptr;
    m_item = nullptr;
    if (restoreFocus && previous)
        previous->setFocus(Qt::OtherFocusReason);
}

void QmtbKeyboard::forget(const QmtbView* window)
{
    // Late in shutdown the keyboard object is gone and must not be made again.
    if (QCoreApplication::closingDown())
        return;
    if (instance().m_window == window)
        instance().release(false);
}

ItemView* QmtbKeyboard::focused(const QmtbView* window) const
{
    if (!window || window != m_window)
        return nullptr;
    for (ItemView* view : focusableViews(window)) {
        if (view->item() == m_item)
            return view;
    }
    return nullptr;
}

void QmtbKeyboard::setFocused(ItemView* view)
{
    m_item = view->item();
    m_window->update();
    QmtbAccessibility::focusMoved(m_window, view);
}

ItemView* QmtbKeyboard::neighbour(const ItemView* from, Move move) const
{
    const std::vector<ItemView*> views = focusableViews(m_window);
    if (views.empty())
        return nullptr;
    if (!from || move == Move::First)
        return views.front();
    if (move == Move::Last)
        return views.back();
    auto at = std::find(views.begin(), views.end(), from);
    if (move == Move::Previous)
        return at == views.begin() ? nullptr : *(at - 1);
    if (move == Move::Next)
        return at + 1 == views.end() ? nullptr : *(at + 1);
    // Up and down: the nearest row above or below (y runs up), and in it the
    // item whose centre is nearest horizontally.
    ItemView* best = nullptr;
    float bestRow = 0;
    float bestColumn = 0;
    for (ItemView* view : views) {
        const float row = move == Move::Up ? view->top() - from->top() : from->top() - view->top();
        const float column = std::abs(centreX(view) - centreX(from));
        if (row <= 0 || (best && (row > bestRow || (row == bestRow && column >= bestColumn))))
            continue;
        best = view;
        bestRow = row;
        bestColumn = column;
    }
    return best;
}

void QmtbKeyboard::click(QmtbView* target, const ItemView* view, bool dropDown)
{
    if (!target || !view)
        return;
    float x = centreX(view);
    float y = (view->top() + view->bottom()) / 2;
    if (dropDown) {
        const MTBxItem* item = view->item();
        if (const Rect* subArea = view->subAreaRect()) {
            x = view->left() + (subArea->left() + subArea->right()) / 2;
            y = view->top() - (subArea->top() + subArea->bottom()) / 2;
        } else if (!item->hasDropDown() && item->itemType() != MTBxItem::DropDownButton
                   && item->itemType() != MTBxItem::Combobox) {
            return;
        }
    }
    // The pointer's own path, so that the host sees exactly a click's events.
    const QPointer<QmtbView> window = target;
    int originX = 0;
    int originY = 0;
    window->getOrigin(originX, originY);
    const QPoint point(originX + static_cast<int>(std::floor(x)), originY - static_cast<int>(std::floor(y)));
    const NotificationGuard::Delivery delivery(window->guard(), nullptr);
    if (!delivery.accepted())
        return;
    window->pointer().handleHover(point.x(), point.y());
    if (window->isShown())
        window->pointer().pressAt(point);
    if (window->isShown())
        window->pointer().releaseAt(point, Qt::LeftButton);
    // Hover and drag points go back to where the pointer really is.
    if (window->isShown())
        window->pointer().moveTo(QmtbCoordinates::windowPoint(QCursor::pos()));
}

void QmtbKeyboard::apply(Move move)
{
    QmtbView* window = m_window;
    ItemView* current = focused(window);
    if (move == Move::Escape) {
        if (window->hasPopup())
            window->popups().dismissPopup();
        else
            release(true);
    } else if (!current) {
        // The focused item went away: start again at the first one.
        if (ItemView* first = neighbour(nullptr, Move::First))
            setFocused(first);
        else
            release(true);
    } else if (move == Move::Click || move == Move::DropDown) {
        click(window, current, move == Move::DropDown);
    } else if (ItemView* next = neighbour(current, move)) {
        setFocused(next);
    }
}

bool QmtbKeyboard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Hide) {
        release(false);
        return false;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    if (!m_window || !m_window->isShown()) {
        release(false);
        return false;
    }
    // An open menu or list reads its own keys.
    if (QApplication::activePopupWidget())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const Move move = moveFor(key->key(), key->modifiers());
    if (move == Move::None)
        return false;
    key->accept();
    if (event->type() == QEvent::KeyPress)
        apply(move);
    return true;
}

void QmtbKeyboard::paintFocusRing(const QmtbView* window, QPainter& painter) const
{
    const ItemView* view = focused(window);
    if (!view)
        return;
    int originX = 0;
    int originY = 0;
    window->getOrigin(originX, originY);
    const QPoint topLeft = window->placement().toLocal(QPoint(originX, originY)) + QPoint(qRound(view->left()), -qRound(view->top()));
    const double scaling = Style::instance()->scalingFactor();
    const double width = 1.5 * scaling;
    const double inset = width / 2 + 2 * scaling;
    const QRectF ring = QRectF(topLeft, QSizeF(view->width(), view->height())).adjusted(inset, inset, -inset, -inset);
    const ThemeColor& colour = Style::instance()->palette().text();
    painter.save();
    painter.setOpacity(1);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(colour.red, colour.green, colour.blue), width, Qt::DotLine));
    painter.drawRoundedRect(ring, 3 * scaling, 3 * scaling);
    painter.restore();
}

} // namespace MiniToolbars
