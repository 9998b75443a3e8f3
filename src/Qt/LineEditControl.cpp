#include "Qt/LineEditControl.h"
#include "Qt/QmtbAutoFade.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QmtbString.h"
#include "Qt/QmtbWindowRegistry.h"

#include "Compat/QtCompat.h"
#include "Core/Backend.h"
#include "Core/ItemView.h"
#include "Core/Style.h"
#include "MiniToolbars/MTBxDropDownEntry.h"
#include "Platform/XcbConnection.h"
#include "Qt/PopupLook.h"
#include "Qt/QmtbDeletion.h"
#include "Qt/QmtbView.h"
#include "Qt/QmtbWindowPopup.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>

#include <cmath>
#include <string>

namespace MiniToolbars {

namespace {

// Where the keyboard goes back to: the host's window and its focus widget
// when a field took it, shared by every field.
QPointer<QWidget> hostWindow;
QPointer<QWidget> hostFocus;
QPointer<LineEditControl> owner;

unsigned int* eventArgument(std::intptr_t value)
{
    return reinterpret_cast<unsigned int*>(value);
}

void allowWindowFocus(QWidget* window, bool allow)
{
    if (QWindow* handle = window->windowHandle())
        handle->setFlag(Qt::WindowDoesNotAcceptFocus, !allow);
}

bool insideToolbar(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (qobject_cast<const QmtbView*>(widget))
            return true;
    }
    return false;
}

// The host's last focus widget outside every toolbar. A field in an overlay
// lies in the host's window, where a press into it has moved the focus by the
// time the field hears of it.
QPointer<QWidget>& lastHostFocus()
{
    static QPointer<QWidget> last;
    static const QMetaObject::Connection watching = [] {
        if (QWidget* now = QApplication::focusWidget(); now && !insideToolbar(now))
            last = now;
        return QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) {
            if (now && !insideToolbar(now))
                last = now;
        });
    }();
    Q_UNUSED(watching);
    return last;
}

} // namespace

LineEditControl::LineEditControl(MTBxDropDownEntry* entry, QmtbView* window)
    : QLineEdit(window)
    , m_entry(entry)
    , m_window(window)
{
    lastHostFocus();
    setFrame(false);
    PopupLook::apply(this);
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QLineEdit::textEdited, this, &LineEditControl::textChanged);
}

LineEditControl::~LineEditControl()
{
    m_entry = nullptr;
    if (owner == this)
        returnKeyboard();
}

LineEditControl* LineEditControl::keyboardOwner()
{
    return owner;
}

MTBxItem* LineEditControl::item() const
{
    return m_entry;
}

const ToolbarWindow* LineEditControl::fieldWindow() const
{
    return m_window.data();
}

// Released while Qt may still be dispatching to the field (a callback of one
// of its own handlers removed the entry, say), it forgets the entry at once
// and goes once Qt is done with it.
void LineEditControl::release()
{
    if (!QmtbDeletion::mustWait()) {
        delete this;
        return;
    }
    m_entry = nullptr;
    hide();
    QmtbDeletion::deleteLater(this);
}

// Nothing makes the field the window's popup, so no dismissal reaches it;
// hiding is all one could ask.
void LineEditControl::dismissPopup(bool)
{
    hide();
}

// A relayout inside a callback disconnects the entry and gives it a new view
// at once: the field, and its focus, stay unless the entry is left without.
void LineEditControl::hidePopup()
{
    QTimer::singleShot(0, this, [this] {
        if (!m_entry || !m_entry->itemView())
            hide();
    });
}

MTBxString LineEditControl::fieldText() const
{
    return toMtbString(text());
}

void LineEditControl::setFieldText(const MTBxString& value)
{
    setText(toQString(value));
}

bool LineEditControl::selection(int& start, int& length) const
{
    if (!hasSelectedText())
        return false;
    start = selectionStart();
    length = selectedText().length();
    return true;
}

void LineEditControl::takeFocus(bool afterPaint, bool selectAll, int start, int length)
{
    auto apply = [this, selectAll, start, length] {
        if (!m_entry)
            return;
        if (!hasFocus())
            takeKeyboard();
        if (selectAll)
            QLineEdit::selectAll();
        else if (start >= 0)
            QLineEdit::setSelection(start, length);
    };
    if (afterPaint)
        QTimer::singleShot(0, this, apply);
    else
        apply();
}

void LineEditControl::dropFocus(bool simulateFocusOut)
{
    if (simulateFocusOut) {
        QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
        QLineEdit::focusOutEvent(&out);
    }
    clearFocus();
    if (owner == this)
        returnKeyboard();
}

// The toolbar window does not take the keyboard by itself: it is allowed to
// just for this, and activated when it is not the active window yet.
void LineEditControl::takeKeyboard()
{
    QWidget* const active = QApplication::activeWindow();
    if (active && !qobject_cast<QmtbView*>(active)) {
        QWidget* const focus = QApplication::focusWidget();
        hostWindow = active;
        hostFocus = focus && !insideToolbar(focus) ? focus : lastHostFocus().data();
    }
    if (!owner)
        qApp->installEventFilter(this);
    else if (owner != this)
        qApp->removeEventFilter(owner), qApp->installEventFilter(this);
    owner = this;
    setFocus(Qt::OtherFocusReason);
    // On an overlay the field lies in the host's window, whose keyboard it takes.
    if (!hasFocus() && !window()->isActiveWindow() && qobject_cast<QmtbView*>(window())) {
        allowWindowFocus(window(), true);
        window()->activateWindow();
        setFocus(Qt::OtherFocusReason);
    }
}

void LineEditControl::returnKeyboard()
{
    qApp->removeEventFilter(this);
    owner = nullptr;
    if (qobject_cast<QmtbView*>(window()))
        allowWindowFocus(window(), false);
    QWidget* const host = hostWindow;
    // The posted second try may come after the host let that widget go.
    const QPointer<QWidget> focus = hostFocus;
    hostWindow = nullptr;
    hostFocus = nullptr;
    if (!host)
        return;
    // An active window is not asked again: Wayland refuses such requests.
    const auto activate = [host, focus] {
        XcbConnection::refreshTime();
        if (!host->isActiveWindow())
            host->activateWindow();
        if (focus)
            focus->setFocus(Qt::OtherFocusReason);
    };
    activate();
    // A toolbar window that hides with the keyboard hands it to the root
    // window afterwards: the host asks for it once more when that is over.
    QTimer::singleShot(0, host, [host, focus, activate] {
        if (!host->isActiveWindow() || (focus && !focus->hasFocus()))
            activate();
    });
}

void LineEditControl::place(float x, float y, int dx, int dy, int width, int height)
{
    if (!m_window)
        return;
    QPoint origin;
    m_window->getOrigin(origin.rx(), origin.ry());
    const QPoint corner = m_window->placement().toLocal(origin)
        + QPoint(static_cast<int>(std::trunc(x)), static_cast<int>(std::trunc(-y)));
    QRect target(corner + QPoint(dx, dy), QSize(std::max(width, 0), std::max(height, 0)));
    const QRect clip = QmtbWindowRegistry::parentClipRect();
    if (!clip.isEmpty())
        target &= clip.translated(-m_window->placement().windowOffset());
    if (geometry() != target)
        setGeometry(target);
    if (!isVisible())
        show();
}

void LineEditControl::setLook(unsigned int textColor, int alpha)
{
    QPalette look = palette();
    QColor text = QColor::fromRgba(textColor);
    // Black, the entry's default, is the theme's text colour.
    const ThemePalette& theme = Style::instance()->palette();
    if (theme.popupColors() && (textColor & 0xffffffu) == 0)
        text = QColor(theme.popupText().red, theme.popupText().green, theme.popupText().blue);
    text.setAlpha(alpha);
    QColor base = look.color(QPalette::Base);
    base.setAlpha(alpha);
    if (look.color(QPalette::Text) == text && look.color(QPalette::Base) == base)
        return;
    look.setColor(QPalette::Text, text);
    look.setColor(QPalette::Base, base);
    setPalette(look);
}

// A focused field hides once the paint that asked for it is over: losing
// the focus calls the host.
void LineEditControl::hideField()
{
    if (!isVisible())
        return;
    if (hasFocus())
        QTimer::singleShot(0, this, &QWidget::hide);
    else
        hide();
}

void LineEditControl::textChanged(const QString& text)
{
    if (!m_entry)
        return;
    // The value follows the typing, so a rebuilt field shows what was typed.
    m_entry->setValue(toMtbString(text));
    std::wstring edited = text.toStdWString();
    m_entry->Notify(MTBxItemEvents::TextEdited, reinterpret_cast<unsigned int*>(&edited), nullptr);
}

// Each handler is a delivery for its entry: refused while the entry waits
// for deletion, and a callback may remove the entry, whose field then lets go
// of it, so the entry is looked at again after every call to the host.
void LineEditControl::mousePressEvent(QMouseEvent* event)
{
    if (m_entry && m_window) {
        const NotificationGuard::Delivery delivery(m_window->guard(), m_entry);
        if (delivery.accepted()) {
            m_entry->Notify(MTBxItemEvents::Clicked, nullptr, nullptr);
            if (m_entry && !NotificationGuard::isAwaitingDeletion(m_entry) && owner != this)
                takeKeyboard();
        }
    }
    QLineEdit::mousePressEvent(event);
}

void LineEditControl::mouseMoveEvent(QMouseEvent* event)
{
    if (m_entry && m_window) {
        const NotificationGuard::Delivery delivery(m_window->guard(), m_entry);
        if (delivery.accepted() && m_window)
            m_window->fade().setFadedIn(true);
    }
    QLineEdit::mouseMoveEvent(event);
}

void LineEditControl::keyPressEvent(QKeyEvent* event)
{
    if (!m_entry || !m_window) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const NotificationGuard::Delivery delivery(m_window->guard(), m_entry);
    if (delivery.accepted())
        m_entry->Notify(MTBxItemEvents::KeyPressed, eventArgument(event->key()), nullptr);
    QLineEdit::keyPressEvent(event);
    if (event->key() == Qt::Key_Escape)
        dropFocus(false);
}

void LineEditControl::focusInEvent(QFocusEvent* event)
{
    if (m_entry && m_window) {
        const NotificationGuard::Delivery delivery(m_window->guard(), m_entry);
        if (delivery.accepted())
            m_entry->Notify(MTBxItemEvents::FocusChanged, eventArgument(1), nullptr);
    }
    QLineEdit::focusInEvent(event);
}

void LineEditControl::focusOutEvent(QFocusEvent* event)
{
    if (m_entry && m_window) {
        const NotificationGuard::Delivery delivery(m_window->guard(), m_entry);
        if (delivery.accepted())
            m_entry->Notify(MTBxItemEvents::FocusChanged, eventArgument(0), nullptr);
    }
    // The window lost the keyboard. Hiding hands it back to the host; another
    // window that took it (a window manager's doing) keeps it.
    if (event->reason() == Qt::ActiveWindowFocusReason && owner == this) {
        QTimer::singleShot(0, this, [this] {
            if (owner != this || window()->isActiveWindow())
                return;
            if (window()->isVisible() || QApplication::activeWindow()) {
                hostWindow = nullptr;
                hostFocus = nullptr;
            }
            returnKeyboard();
        });
    }
    QLineEdit::focusOutEvent(event);
}

// Qt leaves the focus on a hidden widget when nothing else in its window
// takes it; a hidden field must not go on taking the typing.
void LineEditControl::hideEvent(QHideEvent* event)
{
    QLineEdit::hideEvent(event);
    if (hasFocus())
        clearFocus();
    if (owner == this)
        returnKeyboard();
}

// While the field holds the keyboard, a press outside its toolbar window
// gives it back; the press then focuses what it falls on as usual.
bool LineEditControl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress || !watched->isWidgetType() || owner != this)
        return false;
    // The toolbar is its window and what lies in it; on an overlay the rest
    // of the host's window is outside.
    const auto* pressed = static_cast<QWidget*>(watched);
    const QWidget* toolbar = m_window ? static_cast<QWidget*>(m_window.data()) : window();
    if (pressed != toolbar && !toolbar->isAncestorOf(pressed))
        dropFocus(false);
    return false;
}

} // namespace MiniToolbars
