#include "Qt/QWinWidget.h"

#include "Core/Backend.h"
#include "Platform/NativeEventFilter.h"
#include "Qt/QmtbDeletion.h"

#include <QGuiApplication>
#include <QWindow>

namespace MiniToolbars {

QWinWidget::QWinWidget(HWND parentWindow)
    : QWidget(nullptr)
    , m_parentWindow(parentWindow)
{
    const WId id = reinterpret_cast<WId>(parentWindow);
    if (id == 0)
        return;
    if (QWidget* widget = QWidget::find(id)) {
        m_hostWindow = widget->window();
        return;
    }
    // Only xcb can wrap a window of another client; a bad id there yields a
    // window that is never mapped, which is harmless as a transient parent.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        m_foreignWindow.reset(QWindow::fromWinId(id));
}

QWinWidget::~QWinWidget() = default;

// The toolbar window is a child: it goes with this widget, when Qt is done with both.
void QWinWidget::release()
{
    QmtbDeletion::release(this);
}

QWindow* QWinWidget::transientTarget() const
{
    if (m_hostWindow)
        return m_hostWindow->windowHandle();
    return m_foreignWindow.get();
}

void QWinWidget::attach(QWidget* toolbarWindow) const
{
    if (!toolbarWindow)
        return;
    QWindow* target = transientTarget();
    if (!target)
        return;
    toolbarWindow->winId();
    if (QWindow* handle = toolbarWindow->windowHandle())
        handle->setTransientParent(target);
}

bool QWinWidget::fixWindowsHook()
{
    return NativeEventFilter::instance().reinstall();
}

} // namespace MiniToolbars
