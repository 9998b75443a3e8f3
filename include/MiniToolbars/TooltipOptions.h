#ifndef MINITOOLBARS_TOOLTIPOPTIONS_H
#define MINITOOLBARS_TOOLTIPOPTIONS_H

#include "MiniToolbarsGlobal.h"

namespace MiniToolbars {

/** @addtogroup control */
/** @{ */
/// Process-wide tooltip switches, for SetMTBTooltipOption().
/// A bit set: any combination of bits, known or not, is a valid value.
enum TooltipOptions : int {
    /// Tooltips show (on by default).
    TooltipsEnabled = 1,
    /// Tooltips add the item's id and icon name (off by default).
    DebugTooltip = 2
};

/// Turns the bits of option on or off for the whole process.
MINITOOLBARS_EXPORT void SetMTBTooltipOption(TooltipOptions option, bool on);
/// Whether TooltipsEnabled is on.
MINITOOLBARS_EXPORT bool IsMTBTooltipsEnabled();
/// Whether DebugTooltip is on.
MINITOOLBARS_EXPORT bool IsMTBDebugTooltipEnabled();
/// How long the pointer rests on an item before its tooltip shows, in
/// milliseconds, for the whole process; default 500.
/// @{
MINITOOLBARS_EXPORT void SetMTBToolTipDelay(int milliseconds);
MINITOOLBARS_EXPORT int GetMTBToolTipDelay();
/// @}
/** @} */

} // namespace MiniToolbars

#endif
