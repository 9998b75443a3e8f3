#include "Qt/QmtbDeletion.h"

#include "Core/NotificationGuard.h"

#include "Qt/ApplicationScoped.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace MiniToolbars {

namespace {

class DeletionGate : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::DeferredDelete || !NotificationGuard::anyDelivering())
            return false;
        watched->deleteLater();
        return true;
    }
};

} // namespace

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
        deleteLater(object);
    else
        delete object;
}

void QmtbDeletion::deleteLater(QObject* object)
{
    if (!object)
        return;
    object->installEventFilter(&applicationScoped<DeletionGate>());
    object->deleteLater();
}

} // namespace MiniToolbars
