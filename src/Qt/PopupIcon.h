#ifndef MINITOOLBARS_POPUPICON_H
#define MINITOOLBARS_POPUPICON_H

#include <QImage>

namespace MiniToolbars {

class MTBxItem;

// The icon that the menu and the combo list show for a child, by one rule:
// the image its icon name gives, else its encoded icon bytes, else its icon
// handle. fromName tells the first source, which alone keeps an active
// menu entry from showing a check mark.
struct PopupIcon
{
    QImage image;
    bool fromName = false;

    // size is the edge in device-independent pixels for vector sources.
    static PopupIcon of(const MTBxItem& child, int size, qreal devicePixelRatio);
    // The ratio to rasterise a popup's icon for. QIcon takes a pixmap below
    // ratio 1 for as many logical pixels as it has: such a device gets the
    // ratio 1 raster, which Qt scales down as it draws.
    static qreal ratioFor(qreal devicePixelRatio) { return devicePixelRatio < 1.0 ? 1.0 : devicePixelRatio; }
};

} // namespace MiniToolbars

#endif
