#include "QmtbDeletion.h"

#include "NotificationGuard.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

namespace MiniToolbars {

bool QmtbDeletion::mustWait()
{
    if (!QCoreApplication::instance())
        return false;
    // Inside the event loop anything may be on the stack: Qt's own activation
    // and focus handling, a host's event filter, a press on its way.
    return NotificationGuard::anyDelivering() || QThread::currentThread()->loopLevel() > 0;
}

void QmtbDeletion::release(QObject* object)
{
    if (!object)
        return;
    if (mustWait())
        object->deleteLater();
    else
        delete object;
}

void QmtbDeletion::installDeferredRelease()
{
    NotificationGuard::setReleaseScheduler([] {
        if (QCoreApplication* app = QCoreApplication::instance())
            QTimer::singleShot(0, app, &NotificationGuard::cleanupOldViews);
    });
}

} // namespace MiniToolbars
