#ifndef MINITOOLBARS_EVENTTYPES_H
#define MINITOOLBARS_EVENTTYPES_H

namespace MiniToolbars {

// The three event types that toolbar windows post to themselves, registered
// once when the library is loaded.
namespace EventTypes {

void registerAll();
int deferredShow();
int relayout();
int fadedNotify();

} // namespace EventTypes
} // namespace MiniToolbars

#endif
