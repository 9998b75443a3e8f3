#include "MiniToolbars/TooltipOptions.h"

namespace MiniToolbars {

namespace {
int s_tooltipOptions = TooltipsEnabled;
int s_tooltipDelay = 500;
}

void SetMTBTooltipOption(TooltipOptions option, bool on)
{
    if (on)
        s_tooltipOptions |= option;
    else
        s_tooltipOptions &= ~static_cast<int>(option);
}

bool IsMTBTooltipsEnabled()
{
    return (s_tooltipOptions & TooltipsEnabled) != 0;
}

bool IsMTBDebugTooltipEnabled()
{
    return (s_tooltipOptions & DebugTooltip) != 0;
}

void SetMTBToolTipDelay(int milliseconds)
{
    s_tooltipDelay = milliseconds;
}

int GetMTBToolTipDelay()
{
    return s_tooltipDelay;
}

} // namespace MiniToolbars
