#include "Qt/PopupIcon.h"

#include "MiniToolbars/IconHandles.h"
#include "MiniToolbars/MTBxItem.h"
#include "Qt/QmtbImage.h"

#include <QPixmap>

#include <memory>

namespace MiniToolbars {

PopupIcon PopupIcon::of(const MTBxItem& child, int size, qreal devicePixelRatio)
{
    PopupIcon icon;
    if (!child.icon().empty()) {
        QmtbImage named(child.icon());
        named.render(static_cast<float>(size), 0.0f, false);
        icon.image = named.rasterFor(ratioFor(devicePixelRatio));
        icon.fromName = !icon.image.isNull();
        if (icon.fromName)
            return icon;
    }
    if (child.iconData()) {
        const std::unique_ptr<QmtbImage> decoded(
            QmtbImage::fromData(child.iconData(), static_cast<int>(std::min(child.iconDataLength(), 0x7fffffffu))));
        if (decoded && decoded->raster() && !decoded->raster()->isNull()) {
            icon.image = *decoded->raster();
            return icon;
        }
    }
    if (child.iconHandle())
        icon.image = pixmapFromIconHandle(child.iconHandle()).toImage();
    return icon;
}

} // namespace MiniToolbars
