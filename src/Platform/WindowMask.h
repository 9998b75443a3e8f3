#ifndef MINITOOLBARS_WINDOWMASK_H
#define MINITOOLBARS_WINDOWMASK_H

#include <QRegion>

class QWidget;

namespace MiniToolbars {

// Restricts a window's visible and input-taking area to region. An empty
// region hides the whole window instead of lifting the mask, which is what
// QWidget::setMask would do with it. Nothing on platforms without a screen.
void applyWindowMask(QWidget* window, const QRegion& region);

} // namespace MiniToolbars

#endif
