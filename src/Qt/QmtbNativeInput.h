#ifndef MINITOOLBARS_QMTBNATIVEINPUT_H
#define MINITOOLBARS_QMTBNATIVEINPUT_H

#include "Platform/NativeMessage.h"

namespace MiniToolbars {

class QmtbView;

// The application's native pointer and key input, shared out to the toolbar
// windows so that every visible toolbar follows the pointer over all of the
// host's windows: hover, drag, fade, and the end of a drag that left it.
//
// The host's widgets share this event stream, so nothing of theirs is taken
// away: each visible toolbar gets a synthetic move or release and the event
// then goes on to its target. A release counts as one only once Qt has
// delivered its press; before that it is a move. An event addressed to a
// toolbar window reaches that window through Qt and the others through its
// nativeEvent, once each. The one event consumed is an Escape press that
// closes a toolbar's popup.
namespace QmtbNativeInput {

// Puts this logic behind the process-wide native event filter.
void attach();

// The process-wide filter's logic for one message; true consumes it.
bool filterMessage(const NativeMessage& message);

// The native-message logic of one toolbar window, for a message addressed to
// it: a key goes to the view as ToolbarKeyDown/ToolbarKeyUp, and a pointer
// message is shared out to the other toolbars (this one gets Qt's own event).
// True consumes the message.
bool windowMessage(QmtbView& window, const NativeMessage& message);

// Gives every visible toolbar window but except the synthetic move or release
// of a pointer message (a move for a release whose press Qt has not delivered
// yet), and lets a move drive the auto fade.
void shareOut(const NativeMessage& message, const QmtbView* except);

} // namespace QmtbNativeInput
} // namespace MiniToolbars

#endif
