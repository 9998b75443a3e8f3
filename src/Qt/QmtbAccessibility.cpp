#include "Qt/QmtbAccessibility.h"

#include "Qt/QmtbAccessibleToolbar.h"
#include "Qt/QmtbView.h"

namespace MiniToolbars {
namespace QmtbAccessibility {

namespace {

QAccessibleInterface* toolbarFactory(const QString&, QObject* object)
{
    auto* window = qobject_cast<QmtbView*>(object);
    return window ? new QmtbAccessibleToolbar(window) : nullptr;
}

// Events go out only while a reader listens, and only about windows it has
// met: nothing is built for nobody.
QmtbAccessibleToolbar* toolbarOf(const QmtbView* window)
{
    return QAccessible::isActive() ? QmtbAccessibleToolbar::existing(window) : nullptr;
}

} // namespace

void install()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(toolbarFactory);
    installed = true;
}

// Made now if need be, so that the window's last events while Qt destroys its
// base classes find an empty interface instead of making one.
void forget(QmtbView* window)
{
    if (auto* toolbar = dynamic_cast<QmtbAccessibleToolbar*>(QAccessible::queryAccessibleInterface(window)))
        toolbar->forget();
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
