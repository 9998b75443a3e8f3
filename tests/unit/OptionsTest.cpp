#include "Options.h"
#include "TooltipOptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace MiniToolbars;

TEST(Options, startsAtTheDefaults)
{
    // A new value has scaling 1, the light theme, the default icons and auto fade on.
    const Options options;
    EXPECT_EQ(1.0f, options.scalingFactor());
    EXPECT_EQ(Options::Light, options.theme());
    EXPECT_EQ(Options::DefaultIcons, options.iconTheme());
    EXPECT_TRUE(options.autoFade());
}

TEST(Options, ignoresScalingFactorsThatAreNotPositive)
{
    // Zero, negative, NaN and infinite factors leave the old value; positive ones are stored.
    Options options;
    for (float bad : { 0.0f, -2.0f, -0.0f, std::nanf(""), std::numeric_limits<float>::infinity() }) {
        options.setScalingFactor(bad);
        EXPECT_EQ(1.0f, options.scalingFactor()) << bad;
    }
    options.setScalingFactor(0.25f);
    EXPECT_EQ(0.25f, options.scalingFactor());
}

TEST(TooltipOptions, startEnabledWithoutDebugAndWithHalfASecondDelay)
{
    // Without any call tooltips are on, debug tooltips off and the delay 500 ms.
    EXPECT_TRUE(IsMTBTooltipsEnabled());
    EXPECT_FALSE(IsMTBDebugTooltipEnabled());
    EXPECT_EQ(500, GetMTBToolTipDelay());
}

TEST(TooltipOptions, switchesAreIndependentBits)
{
    // Each option sets or clears only its own bit; the delay is stored without checks.
    SetMTBTooltipOption(DebugTooltip, true);
    EXPECT_TRUE(IsMTBDebugTooltipEnabled());
    EXPECT_TRUE(IsMTBTooltipsEnabled());
    SetMTBTooltipOption(TooltipsEnabled, false);
    EXPECT_FALSE(IsMTBTooltipsEnabled());
    EXPECT_TRUE(IsMTBDebugTooltipEnabled());
    SetMTBTooltipOption(DebugTooltip, false);
    EXPECT_FALSE(IsMTBDebugTooltipEnabled());
    SetMTBTooltipOption(static_cast<TooltipOptions>(3), true);
    EXPECT_TRUE(IsMTBTooltipsEnabled());
    EXPECT_TRUE(IsMTBDebugTooltipEnabled());
    SetMTBTooltipOption(static_cast<TooltipOptions>(4), true);
    SetMTBTooltipOption(static_cast<TooltipOptions>(4), false);
    EXPECT_TRUE(IsMTBTooltipsEnabled());
    EXPECT_TRUE(IsMTBDebugTooltipEnabled());

    SetMTBToolTipDelay(0);
    EXPECT_EQ(0, GetMTBToolTipDelay());
    SetMTBToolTipDelay(-10);
    EXPECT_EQ(-10, GetMTBToolTipDelay());
}
