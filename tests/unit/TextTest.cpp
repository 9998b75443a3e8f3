#include "Factories.h"
#include "QmtbText.h"
#include "Style.h"
#include "Text.h"

#include <QFont>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include <memory>

using namespace MiniToolbars;

namespace {

std::unique_ptr<Text> textOf(const wchar_t* s, unsigned int kind = 0)
{
    return std::unique_ptr<Text>(createText(MTBxString(s), kind));
}

QFont styleFont()
{
    const Style* style = Style::instance();
    return QFont(QString::fromUtf16(static_cast<const unsigned short*>(style->fontFamily())), style->fontPointSize());
}

class TextTest : public ::testing::Test
{
protected:
    void TearDown() override { Style::destroy(); }
};

// A created text is measured at once: its rect is the ink extent in the style font.
TEST_F(TextTest, shouldMeasureTheInkExtentInTheStyleFont)
{
    auto text = textOf(L"Bold caption", 0);
    const QRect ink = QFontMetrics(styleFont()).tightBoundingRect(QStringLiteral("Bold caption"));
    EXPECT_EQ(text->width(), ink.width());
    EXPECT_EQ(text->height(), ink.height());
    EXPECT_GT(text->width(), 0.0f);
    EXPECT_EQ(text->xHeight(), Style::instance()->xHeight());

    // Leading and trailing blanks add no ink; empty and blank strings measure 0 wide, never -1.
    EXPECT_EQ(textOf(L"  Bold caption  ")->width(), text->width());
    auto empty = textOf(L"");
    EXPECT_EQ(empty->width(), 0.0f);
    EXPECT_EQ(empty->height(), 0.0f);
    EXPECT_EQ(empty->xHeight(), Style::instance()->xHeight());
    EXPECT_EQ(textOf(L"     ")->width(), 0.0f);
}

// A caller's font is used for measuring, copied, and left untouched.
TEST_F(TextTest, shouldMeasureInTheCallersFontWhenGiven)
{
    QFont big(QStringLiteral("DejaVu Sans"), 30);
    std::unique_ptr<Text> text(createText(MTBxString(L"Entry"), 0, &big));
    const auto* qtext = static_cast<const QmtbText*>(text.get());
    EXPECT_EQ(text->width(), QFontMetrics(big).tightBoundingRect(QStringLiteral("Entry")).width());
    EXPECT_GT(text->width(), textOf(L"Entry")->width());
    EXPECT_EQ(text->xHeight(), QFontMetrics(big).tightBoundingRect(QStringLiteral("x")).height());

    big.setPointSize(6);
    EXPECT_EQ(qtext->font()->pointSize(), 30);
    text.reset();
    EXPECT_EQ(big.pointSize(), 6);
}

// measureXHeight agrees with the font engine and survives a nonsense point size.
TEST_F(TextTest, shouldMeasureTheXHeightOfAFont)
{
    const int x = measureXHeight(MTBxString(L"Tahoma"), 8);
    EXPECT_EQ(x, QFontMetrics(QFont(QStringLiteral("Tahoma"), 8)).tightBoundingRect(QStringLiteral("x")).height());
    EXPECT_GT(measureXHeight(MTBxString(L"Tahoma"), 24), x);
    EXPECT_GE(measureXHeight(MTBxString(L"Tahoma"), 0), 0);
    EXPECT_GE(measureXHeight(MTBxString(), -3), 0);
}

} // namespace
