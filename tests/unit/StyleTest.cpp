#include "Factories.h"
#include "MTBxImage.h"
#include "Style.h"
#include "ThemePalette.h"

#include <QFile>
#include <QString>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

using namespace MiniToolbars;

namespace {

constexpr int kImageCount = static_cast<int>(ThemeImage::Count);

int ratio(int measured, double value, double reference)
{
    return static_cast<int>(std::trunc(measured * (value / reference + 0.0001)));
}

QString qString(const MTBxString& s)
{
    return QString::fromUtf16(static_cast<const unsigned short*>(s));
}

class StyleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Style::destroy();
        Style::setXHeightOverride(-1);
    }
    void TearDown() override
    {
        Style::setXHeightOverride(-1);
        Style::destroy();
    }
};

// The metrics at each scaling factor follow from the x-height measured at that point size.
TEST_F(StyleTest, shouldDeriveEveryMetricFromTheMeasuredXHeight)
{
    Style* style = Style::instance();
    for (float factor : {0.5f, 1.0f, 1.5f, 3.0f}) {
        SCOPED_TRACE(factor);
        style->setScalingFactor(factor);
        const int points = static_cast<int>(std::trunc(8 * factor));
        const int x = measureXHeight(MTBxString(L"Tahoma"), points);
        ASSERT_GT(x, 0);
        const int top = ratio(x, 8, 6);
        const int bottom = ratio(x, 6, 6);
        const int inner = x + top + bottom;
        const int border = ratio(inner, 1, 20);
        const int h = inner + 2 * border;

        EXPECT_FLOAT_EQ(style->scalingFactor(), factor);
        EXPECT_EQ(style->fontPointSize(), points);
        EXPECT_EQ(style->xHeight(), x);
        EXPECT_EQ(style->textTopSpace(), top);
        EXPECT_EQ(style->textBottomSpace(), bottom);
        EXPECT_EQ(style->borderWidth(), border);
        EXPECT_EQ(style->itemHeight(), h);
        EXPECT_FLOAT_EQ(style->widthStep(), static_cast<float>(h * (5.0 / 22 + 0.0001)));
        EXPECT_EQ(style->minItemWidth(), ratio(h, 20, 22));
        EXPECT_EQ(style->cornerRadiusX(), static_cast<int>(h * 10.0 / 22));
        EXPECT_EQ(style->cornerRadiusY(), static_cast<int>(h * 20.0 / 22));
        EXPECT_EQ(style->gripCornerRadiusX(), static_cast<int>(h * 5.0 / 22));
        EXPECT_EQ(style->gripCornerRadiusY(), static_cast<int>(h * 5.0 / 22));
        EXPECT_EQ(style->textBoxHeight(), h - border - bottom);
        const int gaps[9] = {8, 2, 2, 2, 2, 5, 2, 5, 5};
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(style->gap(i + 1), ratio(h, gaps[i], 22)) << "gap" << i + 1;
        EXPECT_EQ(style->dropAreaWidth(), ratio(h, 20, 22));
        EXPECT_EQ(style->splitterWidth(), border);
        EXPECT_EQ(style->iconSize(), ratio(h, 16, 22));

        // Vector theme images are rasterised at their derived heights.
        EXPECT_EQ(style->image(ThemeImage::CheckBoxOn)->height(), ratio(h, 12, 22));
        EXPECT_EQ(style->image(ThemeImage::OptionBox)->height(), ratio(h, 16, 22));
        EXPECT_EQ(style->image(ThemeImage::MenuArrowRight)->height(), ratio(h, 9, 22));
        EXPECT_EQ(style->image(ThemeImage::MenuArrowDown)->height(), ratio(h, 6, 22));
        EXPECT_EQ(style->image(ThemeImage::RemoveButton)->height(), ratio(h, 16, 22));
        EXPECT_EQ(style->image(ThemeImage::Grip)->height(), h);

    }
}

// Every rule of the gap table, including which rule wins where two could match.
TEST_F(StyleTest, shouldPickTheGapByTheFirstMatchingRule)
{
    Style::setXHeightOverride(6);
    const Style* s = Style::instance();
    const struct { ItemPartKind a, b; int gap; } rules[] = {
        {EmptyCaption, Grip, 0}, {LeadingMargin, EmptyCaption, 0}, {Grip, LeadingMargin, 0},
        {LeadingMargin, Caption, 8}, {EntryField, TrailingMargin, 8}, {Caption, EntryArrow, 2},
        {EntryField, EntryArrow, 2}, {Caption, DropDownArrow, 2}, {DropDownArrow, TrailingMargin, 2},
        {EntryArrow, TrailingMargin, 2}, {CheckBox, Caption, 5}, {EntryField, CheckBox, 5},
        {LeadingMargin, CheckBox, 2}, {CheckBox, TrailingMargin, 2}, {Caption, Icon, 5},
        {Icon, EntryField, 5}, {LeadingMargin, Icon, 5}, {Icon, TrailingMargin, 5},
        {Icon, DropDownArrow, 2}, {Icon, EntryArrow, 2}, {Caption, EntryField, 5},
        {CheckBox, Icon, 5}, {Icon, CheckBox, 5}, {Caption, Splitter, 5},
        {Splitter, DropDownArrow, 5}, {OptionBox, TrailingMargin, 9}, {LeadingMargin, OptionBox, 9},
    };
    for (const auto& r : rules)
        EXPECT_EQ(s->gapBetween(r.a, r.b), r.gap) << r.a << "," << r.b;
    // From the splitter to the end of the trailing margin the parts fill the sub-area.
    const int splitterToOption = s->gapBetween(Splitter, OptionBox);
    EXPECT_EQ(splitterToOption, 20 - 14 - 9);
    EXPECT_EQ(splitterToOption + s->partWidth(OptionBox) + s->gapBetween(OptionBox, TrailingMargin) + s->borderWidth(),
              s->dropAreaWidth() + s->borderWidth());
    // Part widths come from the rasterised theme images.
    const std::pair<ItemPartKind, int> widths[] = { { DropDownArrow, 9 }, { EntryArrow, 6 }, { CheckBox, 12 }, { OptionBox, 14 },
                                                    { Grip, 8 }, { Splitter, 1 }, { Caption, 0 }, { Icon, 0 } };
    for (const auto& w : widths)
        EXPECT_EQ(s->partWidth(w.first), w.second) << w.first;
    EXPECT_EQ(0, s->gap(0) + s->gap(10));
    EXPECT_EQ(s->gapBetween(Icon, Icon), -1);
    EXPECT_EQ(s->gapBetween(Caption, Caption), -1);
    EXPECT_EQ(s->gapBetween(DropDownArrow, Caption), -1);
}

// Factors that name no size leave the style as it was; tiny and huge ones stay usable.
TEST_F(StyleTest, shouldKeepAUsablePointSizeForBadScalingFactors)
{
    Style* style = Style::instance();
    const int height = style->itemHeight();
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity(), 0.0f, -1.0f}) {
        style->setScalingFactor(bad);
        EXPECT_EQ(style->fontPointSize(), 8);
        EXPECT_FLOAT_EQ(style->scalingFactor(), 1.0f);
        EXPECT_EQ(style->itemHeight(), height);
    }

    style->setScalingFactor(0.01f);
    EXPECT_EQ(style->fontPointSize(), 1);
    EXPECT_GE(style->itemHeight(), 0);

    style->setScalingFactor(1e30f);
    EXPECT_EQ(style->fontPointSize(), 256);
    EXPECT_GT(style->itemHeight(), height);
}

// Each of the twenty built-in paths names a resource that loads as a drawable image.
TEST_F(StyleTest, shouldResolveEveryBuiltInIconInBothThemes)
{
    Style* style = Style::instance();
    for (int theme : {0, 1}) {
        style->setTheme(theme);
        for (int i = 0; i < kImageCount; ++i) {
            const auto which = static_cast<ThemeImage>(i);
            const QString path = QString::fromWCharArray(ThemePalette::builtInIconPath(theme, which));
            SCOPED_TRACE(path.toStdString());
            EXPECT_TRUE(path.startsWith(QStringLiteral(":/MiniToolbars/")));
            EXPECT_TRUE(QFile::exists(path));
            EXPECT_EQ(qString(style->palette().iconName(which)), path);
            ASSERT_NE(style->image(which), nullptr);
            EXPECT_GT(style->image(which)->width(), 0.0f);
        }
    }
    EXPECT_STREQ(ThemePalette::builtInIconPath(2, ThemeImage::Grip), L"");
    EXPECT_STREQ(ThemePalette::builtInIconPath(0, ThemeImage::Count), L"");
}

// A new theme reloads all ten images; the same theme only re-rasterises them.
TEST_F(StyleTest, shouldReloadImagesOnlyWhenTheThemeChanges)
{
    Style* style = Style::instance();
    const int loads = style->imageLoadCount();
    MTBxImage* before[kImageCount];
    for (int i = 0; i < kImageCount; ++i)
        before[i] = style->image(static_cast<ThemeImage>(i));

    style->setTheme(0);
    EXPECT_EQ(style->imageLoadCount(), loads);
    for (int i = 0; i < kImageCount; ++i)
        EXPECT_EQ(style->image(static_cast<ThemeImage>(i)), before[i]);

    style->setTheme(5);
    EXPECT_EQ(style->imageLoadCount(), loads);
    EXPECT_EQ(style->palette().theme(), 0);
    EXPECT_EQ(ThemeColor::fromOpacity(1, 2, 3, std::numeric_limits<float>::quiet_NaN()).alpha, 0);
    EXPECT_EQ(ThemeColor::fromOpacity(1, 2, 3, 4.0f).alpha, 255);

    style->setTheme(1);
    EXPECT_EQ(style->imageLoadCount(), loads + kImageCount);
    EXPECT_EQ(style->palette().theme(), 1);
    EXPECT_EQ(style->palette().text(), ThemeColor(255, 255, 255, 255));
    EXPECT_EQ(qString(style->image(ThemeImage::CheckBoxOn)->reference()),
              QStringLiteral(":/MiniToolbars/Checkbox_On_D.svg"));
    EXPECT_EQ(qString(style->image(ThemeImage::Grip)->reference()), QStringLiteral(":/MiniToolbars/Grip.svg"));

    // A scaling change re-rasterises the images in place.
    MTBxImage* grip = style->image(ThemeImage::Grip);
    style->setScalingFactor(2.0f);
    EXPECT_EQ(style->imageLoadCount(), loads + kImageCount);
    EXPECT_EQ(style->image(ThemeImage::Grip), grip);
    EXPECT_EQ(grip->height(), style->itemHeight());
}

} // namespace
