#include "Qt/QmtbLogging.h"

namespace MiniToolbars {

Q_LOGGING_CATEGORY(lcMiniToolbars, "minitoolbars", QtWarningMsg)

} // namespace MiniToolbars
