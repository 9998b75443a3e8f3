#include "Qt/QtBackend.h"

#include "Core/NotificationGuard.h"
#include "Qt/ComboBoxListView.h"
#include "Qt/DropDownMenu.h"
#include "Qt/LineEditControl.h"
#include "Qt/QmtbImage.h"
#include "Qt/QmtbLogging.h"
#include "Qt/QmtbText.h"
#include "Qt/QmtbView.h"
#include "Qt/QWinWidget.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

namespace MiniToolbars {

namespace {

// Popups need the Qt window of the item they belong to.
QmtbView* qtWindow(ToolbarWindow* window)
{
    return dynamic_cast<QmtbView*>(window);
}

} // namespace

// Never destroyed: toolbars in static storage may still ask for it at exit.
QtBackend& QtBackend::instance()
{
    static QtBackend* const backend = new QtBackend;
    return *backend;
}

Text* QtBackend::createText(const MTBxString& text, unsigned int kind)
{
    return new QmtbText(text, static_cast<int>(kind));
}

int QtBackend::measureXHeight(const MTBxString& family, int pointSize)
{
    return QmtbText::measureXHeight(family, pointSize);
}

MTBxImage* QtBackend::createImage(const MTBxString& reference)
{
    return new QmtbImage(reference);
}

MTBxImage* QtBackend::createImageFromData(const unsigned char* data, int length)
{
    return QmtbImage::fromData(data, length);
}

MTBxImage* QtBackend::createImageFromIcon(HICON icon)
{
    return QmtbImage::fromIconHandle(icon);
}

HostWidget* QtBackend::createHostWidget(HWND parentWindow)
{
    return new QWinWidget(parentWindow);
}

// An overlay lies in the host's top-level window, which must be a Qt widget
// of this process: the one the parent handle names, else the active window.
ToolbarWindow* QtBackend::createToolbarWindow(MTBxView* view, HostWidget* host, WindowKind kind)
{
    if (!view)
        return nullptr;
    auto* const qtHost = dynamic_cast<QWinWidget*>(host);
    QWidget* overlayParent = nullptr;
    if (kind == WindowKind::Overlay) {
        overlayParent = qtHost && qtHost->hostWindow() ? qtHost->hostWindow() : QApplication::activeWindow();
        if (!overlayParent)
            qCInfo(lcMiniToolbars) << "no Qt window of the host to lie in: the toolbar gets a window of its own";
    }
    return new QmtbView(view, qtHost, overlayParent);
}

DropDownPopup* QtBackend::createDropDownMenu(MTBxDropDownButton* button, ToolbarWindow* window)
{
    QmtbView* const view = qtWindow(window);
    return button && view ? new DropDownMenu(button, view) : nullptr;
}

ComboListPopup* QtBackend::createComboBoxList(MTBxCombobox* combo, ToolbarWindow* window)
{
    QmtbView* const view = qtWindow(window);
    return combo && view ? new ComboBoxListView(combo, view) : nullptr;
}

EntryFieldPopup* QtBackend::createEntryField(MTBxDropDownEntry* entry, ToolbarWindow* window)
{
    QmtbView* const view = qtWindow(window);
    return entry && view ? new LineEditControl(entry, view) : nullptr;
}

void QtBackend::scheduleCleanup()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        QTimer::singleShot(0, app, &NotificationGuard::cleanupOldViews);
}

} // namespace MiniToolbars
