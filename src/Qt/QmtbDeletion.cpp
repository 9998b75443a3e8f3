#include "Qt/QmtbDeletion.h"

#include "Core/NotificationGuard.h"

#include <QCoreApplication>
#include <QThread>

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

} // namespace MiniToolbars
