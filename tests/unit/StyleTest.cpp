// The style's metrics, gaps, scaling and theme images, and the text measure.
#include "Compat/QtCompat.h"
#include "Core/MTBxImage.h"
#include "Core/Style.h"
#include "Core/ThemePalette.h"
#include "Qt/QmtbText.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using namespace MiniToolbars;

namespace {

constexpr int kImageCount = static_cast<int>(ThemeImage::Count);
QString qString(const MTBxString& s) { return QtCompat::fromUtf16(static_cast<const unsigned short*>(s)); }
struct StyleTest : ::testing::Test {
    void SetUp() override { Style::destroy(), Style::setXHeightOverride(-1); }
    void TearDown() override { Style::setXHeightOverride(-1), Style::destroy(); }
};

} // namespace

TEST_F(StyleTest, shouldDeriveEveryMetricFromTheXHeight)
{
    // At x-height 6 the design metrics come out whole; at 25 each ratio truncates on its own; without an override the font gives it.
    const struct { int xHeight; std::vector<int> metrics; float widthStep; std::vector<float> images; } cases[] = {
        { 6, { 8, 6, 1, 22, 20, 10, 20, 5, 5, 15, 8, 2, 2, 2, 2, 5, 2, 5, 5, 20, 1, 16, 12, 6, 4, 10 }, 5.0022f, { 12, 16, 9, 6, 16, 22 } },
        { 25, { 33, 25, 4, 91, 82, 41, 82, 20, 20, 62, 33, 8, 8, 8, 8, 20, 8, 20, 20, 82, 4, 66, 49, 24, 16, 41 }, 20.690918f, { 49, 66, 37, 24, 66, 91 } },
    };
    for (const auto& c : cases) {
        Style::setXHeightOverride(c.xHeight);
        const Style* s = Style::instance();
        EXPECT_EQ((std::vector<int>{ s->textTopSpace(), s->textBottomSpace(), s->borderWidth(), s->itemHeight(), s->minItemWidth(), s->cornerRadiusX(),
                                     s->cornerRadiusY(), s->gripCornerRadiusX(), s->gripCornerRadiusY(), s->textBoxHeight(), s->gap(1), s->gap(2), s->gap(3),
                                     s->gap(4), s->gap(5), s->gap(6), s->gap(7), s->gap(8), s->gap(9), s->dropAreaWidth(), s->splitterWidth(),
                                     s->iconSize(), s->gripOffset(), s->gripPartWidth(), s->gripWidth(), s->ellipsisBoxWidth() }), c.metrics);
        EXPECT_FLOAT_EQ(s->widthStep(), c.widthStep);
        std::vector<float> heights; // vector theme images are rasterised at their derived heights
        for (ThemeImage i : { ThemeImage::CheckBoxOn, ThemeImage::OptionBox, ThemeImage::MenuArrowRight, ThemeImage::MenuArrowDown,
                              ThemeImage::RemoveButton, ThemeImage::Grip })
            heights.push_back(s->image(i)->height());
        EXPECT_TRUE(heights == c.images && s->gap(0) + s->gap(10) == 0);
    }
    // Zero is an override like any other, where the solid panel keeps its least padding and shadow; only a negative
    // override measures the font, at the scaled point size.
    Style::setXHeightOverride(0);
    const Style* tiny = Style::instance();
    EXPECT_EQ((std::vector<int>{ tiny->xHeight(), tiny->panelPadding(), tiny->panelShadowWidth() }), (std::vector<int>{ 0, 2, 3 }));
    Style::setXHeightOverride(-1), Style::instance()->setScalingFactor(1.5f);
    EXPECT_EQ(Style::instance()->fontPointSize(), 12);
    EXPECT_EQ(Style::instance()->xHeight(), QmtbText::measureXHeight(MTBxString(L"Tahoma"), 12));
    EXPECT_TRUE(QmtbText::measureXHeight(MTBxString(L"Tahoma"), 24) > QmtbText::measureXHeight(MTBxString(L"Tahoma"), 8) && QmtbText::measureXHeight(MTBxString(), -3) >= 0);
}

TEST_F(StyleTest, shouldPickTheGapByTheFirstMatchingRule)
{
    // Every rule of the gap table, including which rule wins where two could match; part widths come from the theme images.
    Style::setXHeightOverride(6);
    const Style* s = Style::instance();
    const struct { ItemPartKind a, b; int gap; } rules[] = {
        { EmptyCaption, Grip, 0 }, { LeadingMargin, EmptyCaption, 0 }, { Grip, LeadingMargin, 0 }, { LeadingMargin, Caption, 8 }, { EntryField, TrailingMargin, 8 },
        { Caption, EntryArrow, 2 }, { EntryField, EntryArrow, 2 }, { Caption, DropDownArrow, 2 }, { DropDownArrow, TrailingMargin, 2 }, { EntryArrow, TrailingMargin, 2 },
        { CheckBox, Caption, 5 }, { EntryField, CheckBox, 5 }, { LeadingMargin, CheckBox, 2 }, { CheckBox, TrailingMargin, 2 }, { Caption, Icon, 5 }, { Icon, EntryField, 5 },
        { LeadingMargin, Icon, 5 }, { Icon, TrailingMargin, 5 }, { Icon, DropDownArrow, 2 }, { Icon, EntryArrow, 2 }, { Caption, EntryField, 5 }, { CheckBox, Icon, 5 },
        { Icon, CheckBox, 5 }, { Caption, Splitter, 5 }, { Splitter, DropDownArrow, 5 }, { OptionBox, TrailingMargin, 9 }, { LeadingMargin, OptionBox, 9 },
        { Splitter, OptionBox, 20 - 14 - 9 }, // from the splitter to the trailing margin's end the parts fill the 20-px drop area
        { Icon, Icon, -1 }, { Caption, Caption, -1 }, { DropDownArrow, Caption, -1 },
    };
    for (const auto& r : rules)
        EXPECT_EQ(s->gapBetween(r.a, r.b), r.gap) << r.a << "," << r.b;
    for (const auto& w : std::vector<std::pair<ItemPartKind, int>>{ { DropDownArrow, 9 }, { EntryArrow, 6 }, { CheckBox, 12 }, { OptionBox, 14 }, { Grip, 8 }, { Splitter, 1 }, { Caption, 0 } })
        EXPECT_EQ(s->partWidth(w.first), w.second) << w.first;
}

TEST_F(StyleTest, shouldKeepAUsablePointSizeForBadScalingFactors)
{
    // Factors that name no size leave the style as it was; tiny and huge ones stay usable.
    Style* style = Style::instance();
    const int height = style->itemHeight();
    for (float bad : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -1.0f, 0.0f }) {
        style->setScalingFactor(bad);
        EXPECT_TRUE(style->fontPointSize() == 8 && style->scalingFactor() == 1.0f && style->itemHeight() == height) << bad;
    }
    style->setScalingFactor(0.01f);
    EXPECT_TRUE(style->fontPointSize() == 1 && style->itemHeight() >= 0);
    style->setScalingFactor(1e30f);
    EXPECT_TRUE(style->fontPointSize() == 256 && style->itemHeight() > height);
}

TEST_F(StyleTest, shouldReloadTheImagesOfEachThemeOnlyWhenTheThemeChanges)
{
    // Each built-in path names a drawable resource; only a new theme reloads the images, a new scale re-rasterises them in place.
    Style* style = Style::instance();
    const int loads = style->imageLoadCount();
    int reloads = 0;
    for (int theme : { 0, 5, 1, 0 }) {
        style->setTheme(theme);
        reloads += theme == 1 || reloads ? 1 : 0;
        EXPECT_TRUE(style->imageLoadCount() == loads + reloads * kImageCount && style->palette().theme() == theme % 5) << theme;
        for (int i = 0; i < kImageCount; ++i) {
            const QString path = QString::fromWCharArray(ThemePalette::builtInIconPath(theme % 5, static_cast<ThemeImage>(i)));
            EXPECT_TRUE(path.startsWith(QStringLiteral(":/MiniToolbars/")) && qString(style->image(static_cast<ThemeImage>(i))->reference()) == path);
            EXPECT_GT(style->image(static_cast<ThemeImage>(i))->width(), 0.0f) << path.toStdString();
        }
    }
    EXPECT_TRUE(ThemeColor::fromOpacity(1, 2, 3, std::nanf("")).alpha == 0 && ThemeColor::fromOpacity(1, 2, 3, 4.0f).alpha == 255);
    MTBxImage* grip = style->image(ThemeImage::Grip);
    style->setScalingFactor(2.0f);
    EXPECT_TRUE(style->imageLoadCount() == loads + 2 * kImageCount && style->image(ThemeImage::Grip) == grip && grip->height() == style->itemHeight());
}

TEST(TextTest, shouldMeasureTheInkExtentInTheGivenFont)
{
    // A text measures its ink in the style font (blanks add none) or in a caller's copied font.
    const Style* style = Style::instance();
    const QFont font(qString(style->fontFamily()), style->fontPointSize());
    const auto textOf = [](const wchar_t* s, QFont* font = nullptr) { return std::unique_ptr<Text>(new QmtbText(MTBxString(s), 0, font)); };
    auto text = textOf(L"Bold caption");
    EXPECT_EQ(QFontMetrics(font).tightBoundingRect(QStringLiteral("Bold caption")).size(), QSize(text->width(), text->height()));
    EXPECT_TRUE(style->xHeight() == text->xHeight() && text->width() == textOf(L"  Bold caption  ")->width() && textOf(L"     ")->width() == 0.0f);
    QFont big(QStringLiteral("DejaVu Sans"), 30);
    auto inBig = textOf(L"Entry", &big);
    EXPECT_EQ(QFontMetrics(big).tightBoundingRect(QStringLiteral("Entry")).width(), inBig->width());
    big.setPointSize(6);
    EXPECT_EQ(30, static_cast<const QmtbText*>(inBig.get())->font()->pointSize());
}
