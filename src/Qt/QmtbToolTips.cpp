#include "Compat/QtCompat.h"
#include "Qt/QmtbString.h"
#include "Qt/QmtbToolTips.h"
#include "Qt/PopupLook.h"

#include "Core/ItemView.h"
#include "Core/MTBxView.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/MTBxItem.h"
#include "MiniToolbars/TooltipOptions.h"

#include <QCursor>
#include <QToolTip>
#include <QWidget>

namespace MiniToolbars {

QmtbToolTips::QmtbToolTips(ToolbarWindow& window, QWidget& widget)
    : m_window(window)
    , m_widget(widget)
{
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { timeout(); });
    m_timer.setSingleShot(true);
}

void QmtbToolTips::startTimer()
{
    m_timer.start(m_visible ? 0 : GetMTBToolTipDelay());
}

void QmtbToolTips::stopTimer()
{
    if (m_timer.isActive())
        m_timer.stop();
}

void QmtbToolTips::timeout()
{
    const NotificationGuard::Delivery delivery(m_window.guard(), nullptr);
    if (!delivery.accepted() || !m_window.view())
        return;
    QString text;
    if (ItemView* current = m_window.view()->current()) {
        if (const MTBxItem* item = current->item()) {
            const MTBxString& tooltip = item->GetFullTooltip();
            text = toQString(tooltip);
        }
    }
    showText(text);
}

void QmtbToolTips::showText(const QString& text)
{
    if (text.isEmpty()) {
        hide();
        return;
    }
    // Qt gives a tooltip the style sheet of the widget it is shown for. The
    // theme's sheet sits on a hidden child of the window, which leaves the
    // window's own widgets as they are; the tooltip still belongs to the window.
    const QString sheet = PopupLook::toolTipStyleSheet(QToolTip::font());
    if (!sheet.isEmpty() && !m_sheetHolder) {
        m_sheetHolder = new QWidget(&m_widget);
        m_sheetHolder->setObjectName(QStringLiteral("toolTipLook"));
        m_sheetHolder->hide();
    }
    if (m_sheetHolder && m_sheetHolder->styleSheet() != sheet)
        m_sheetHolder->setStyleSheet(sheet);
    QWidget* const owner = sheet.isEmpty() ? &m_widget : m_sheetHolder.data();
    // An overlay's pointer is known from its events; Wayland tells no cursor position.
    if (m_widget.isWindow())
        QToolTip::showText(QCursor::pos(), text, sheet.isEmpty() ? nullptr : owner);
    else
        QToolTip::showText(m_pointer, text, owner);
    m_visible = true;
}

void QmtbToolTips::hide()
{
    if (!m_visible)
        return;
    QToolTip::hideText();
    m_visible = false;
}

} // namespace MiniToolbars
