#ifndef MINITOOLBARS_QMTBDELETION_H
#define MINITOOLBARS_QMTBDELETION_H

class QObject;

namespace MiniToolbars {

// The library's widgets (toolbar windows, their host stand-ins, menus,
// lists, fields) may be released while Qt is still dispatching an event to
// them: from a host callback, from a focus change inside Qt's activation, or
// from a press that Qt has yet to hand on. Then they leave through Qt's
// deferred deletion, which waits until that dispatch is over; outside the
// event loop and every delivery they go at once.
namespace QmtbDeletion {

bool mustWait();
// Deletes object now or, when that must wait, once Qt is done with it.
void release(QObject* object);
// Qt's deferred deletion, held back further while any delivery runs: a host
// callback may spin a nested event loop, which would otherwise delete the
// object under the handler that is still on the stack.
void deleteLater(QObject* object);

} // namespace QmtbDeletion

} // namespace MiniToolbars

#endif
