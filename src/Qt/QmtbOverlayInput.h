#ifndef MINITOOLBARS_QMTBOVERLAYINPUT_H
#define MINITOOLBARS_QMTBOVERLAYINPUT_H

namespace MiniToolbars {

class QmtbView;

// The pointer input of overlay toolbars, from Qt's own events: no native
// event reaches a client on Wayland. An overlay gets its hover, presses,
// clicks, drags and wheel turns as the widget it is; this application-wide
// filter gives every overlay of a host's window the moves over the rest of
// that window, which drive its fading, and the pointer leaving that window,
// which counts as far away.
namespace QmtbOverlayInput {

// Installs the filter once; overlay windows are found in the registry.
void watch(QmtbView* window);

} // namespace QmtbOverlayInput
} // namespace MiniToolbars

#endif
