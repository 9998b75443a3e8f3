#ifndef MINITOOLBARS_TOOLTIPOPTIONS_H
#define MINITOOLBARS_TOOLTIPOPTIONS_H

#include "MiniToolbarsGlobal.h"

namespace MiniToolbars {

/// A bit set: any combination of bits, known or not, is a valid value.
enum TooltipOptions : int {
    TooltipsEnabled = 1,
    DebugTooltip = 2
};

MINITOOLBARS_EXPORT void SetMTBTooltipOption(TooltipOptions option, bool on);
MINITOOLBARS_EXPORT bool IsMTBTooltipsEnabled();
MINITOOLBARS_EXPORT bool IsMTBDebugTooltipEnabled();
MINITOOLBARS_EXPORT void SetMTBToolTipDelay(int milliseconds);
MINITOOLBARS_EXPORT int GetMTBToolTipDelay();

} // namespace MiniToolbars

#endif
