#ifndef MINITOOLBARS_QWINWIDGET_H
#define MINITOOLBARS_QWINWIDGET_H

#include "Core/HostWidget.h"
#include "MiniToolbars/MiniToolbarsGlobal.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QWindow;

namespace MiniToolbars {

// Stands for the host's native window. The toolbar window is its child; the
// host's window becomes the toolbar window's transient parent: the Qt window
// that the handle names, or the foreign window wrapped where the platform can
// do that. Elsewhere it is a plain, never shown widget.
class QWinWidget : public QWidget, public HostWidget
{
    Q_OBJECT

public:
    explicit QWinWidget(HWND parentWindow);
    ~QWinWidget() override;

    // HostWidget
    void release() override;

    HWND parentWindow() const { return m_parentWindow; }
    // The Qt widget the handle names (its top-level window), or null.
    QWidget* hostWindow() const { return m_hostWindow.data(); }
    // The native window the toolbar window should stay above, or null.
    QWindow* transientTarget() const;
    // Ties a top-level toolbar window to the host's window.
    void attach(QWidget* toolbarWindow) const;

    // Re-installs the process-wide native event filter.
    static bool fixWindowsHook();

private:
    HWND m_parentWindow;
    QPointer<QWidget> m_hostWindow;
    std::unique_ptr<QWindow> m_foreignWindow;
};

} // namespace MiniToolbars

#endif
