#ifndef MINITOOLBARS_ICONHANDLES_H
#define MINITOOLBARS_ICONHANDLES_H

#include "MiniToolbarsGlobal.h"

class QImage;
class QPixmap;

namespace MiniToolbars {

/** @addtogroup support */
/** @{ */
/// Native icon handles for MTBxItem::setIconFromHandle(). The library keeps the
/// set of live handles: an unknown or destroyed handle gives a null pixmap.
/// GUI thread only.
///
/// A new handle holding a copy of image; null for a null image. The caller owns
/// the handle and frees it with destroyIconHandle() once no item uses it.
MINITOOLBARS_EXPORT HICON createIconHandle(const QImage& image);
/// Frees a handle; no-op for null or an unknown handle.
MINITOOLBARS_EXPORT void destroyIconHandle(HICON handle);
/// The handle's image as a pixmap; null for an unknown handle or without a
/// QGuiApplication.
MINITOOLBARS_EXPORT QPixmap pixmapFromIconHandle(HICON handle);
/** @} */

} // namespace MiniToolbars

#endif
