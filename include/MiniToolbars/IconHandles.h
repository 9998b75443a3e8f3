#ifndef MINITOOLBARS_ICONHANDLES_H
#define MINITOOLBARS_ICONHANDLES_H

#include "MiniToolbarsGlobal.h"

class QImage;
class QPixmap;

namespace MiniToolbars {

/// Native icon handles for MTBxItem::setIconFromHandle(). The library keeps the
/// set of live handles: an unknown or destroyed handle gives a null pixmap.
MINITOOLBARS_EXPORT HICON createIconHandle(const QImage& image);
MINITOOLBARS_EXPORT void destroyIconHandle(HICON handle);
MINITOOLBARS_EXPORT QPixmap pixmapFromIconHandle(HICON handle);

} // namespace MiniToolbars

#endif
