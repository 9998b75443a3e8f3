#include "QmtbAccessibility.h"

#include "QmtbAccessibleToolbar.h"
#include "QmtbView.h"

namespace MiniToolbars {
namespace QmtbAccessibility {

namespace {

QAccessibleInterface* toolbarFactory(const QString&, QObject* object)
{
    auto* window = qobject_cast<QmtbView*>(object);
    return window ? new QmtbAccessibleToolbar(window) : nullptr;
}

// Only a window a reader has asked about is told about: nothing is built for
// nobody.
QmtbAccessibleToolbar* toolbarOf(const QmtbView* window)
{
    return QmtbAccessibleToolbar::existing(window);
}

} // namespace

void install()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(toolbarFactory);
    installed = true;
}

void focusMoved(QmtbView* window, const ItemView* view)
{
    if (QmtbAccessibleToolbar* toolbar = toolbarOf(window)) {
        QAccessibleEvent event(toolbar->interfaceOf(view), QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void refreshed(QmtbView* window)
{
    if (QmtbAccessibleToolbar* toolbar = toolbarOf(window))
        toolbar->announceChanges();
}

} // namespace QmtbAccessibility
} // namespace MiniToolbars
