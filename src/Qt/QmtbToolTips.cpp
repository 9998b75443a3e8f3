#include "Qt/QmtbToolTips.h"
#include "Compat/QtCompat.h"

#include "Core/ItemView.h"
#include "MiniToolbars/MTBxItem.h"
#include "Core/MTBxView.h"
#include "Qt/QmtbView.h"
#include "MiniToolbars/TooltipOptions.h"

#include <QCursor>
#include <QToolTip>

namespace MiniToolbars {

QmtbToolTips::QmtbToolTips(QmtbView& window)
    : m_window(window)
{
    QObject::connect(&m_timer, &QTimer::timeout, &window, &QmtbView::showToolTipTimeout);
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

void QmtbToolTips::showCurrent()
{
    QString text;
    if (ItemView* current = m_window.view()->current()) {
        if (const MTBxItem* item = current->item()) {
            const MTBxString& tooltip = item->GetFullTooltip();
            text = QtCompat::fromUtf16(static_cast<const unsigned short*>(tooltip), static_cast<int>(tooltip.length()));
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
    QToolTip::showText(QCursor::pos(), text, nullptr);
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
