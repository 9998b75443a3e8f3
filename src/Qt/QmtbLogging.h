#ifndef MINITOOLBARS_QMTBLOGGING_H
#define MINITOOLBARS_QMTBLOGGING_H

#include <QLoggingCategory>

namespace MiniToolbars {

// The "minitoolbars" category: images and resource modules that cannot be
// read warn; refused calls report at the info level, which is off unless
// QT_LOGGING_RULES="minitoolbars.info=true" turns it on.
const QLoggingCategory& lcMiniToolbars();

} // namespace MiniToolbars

#endif
