#include "Options.h"
#include "TooltipOptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace MiniToolbars;

TEST(Options, ignoresScalingFactorsThatAreNotPositive)
{
    // Zero, negative, NaN and infinite factors leave the old value; positive ones are stored.
    Options options;
    for (float bad : { 0.0f, -2.0f, std::nanf(""), std::numeric_limits<float>::infinity() }) {
        options.setScalingFactor(bad);
        EXPECT_EQ(1.0f, options.scalingFactor()) << bad;
    }
    options.setScalingFactor(0.25f);
    EXPECT_EQ(0.25f, options.scalingFactor());
}

TEST(TooltipOptions, switchesAreIndependentBits)
{
    // Tooltips start on with debug off and a 500 ms delay; each option sets or clears only its own bit.
    EXPECT_EQ(500, GetMTBToolTipDelay());
    EXPECT_TRUE(IsMTBTooltipsEnabled() && !IsMTBDebugTooltipEnabled());
    SetMTBTooltipOption(DebugTooltip, true);
    SetMTBTooltipOption(TooltipsEnabled, false);
    EXPECT_TRUE(!IsMTBTooltipsEnabled() && IsMTBDebugTooltipEnabled());
    SetMTBTooltipOption(static_cast<TooltipOptions>(3), true);
    SetMTBTooltipOption(static_cast<TooltipOptions>(4), false);
    EXPECT_TRUE(IsMTBTooltipsEnabled() && IsMTBDebugTooltipEnabled());
}
