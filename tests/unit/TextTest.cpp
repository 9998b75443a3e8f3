#include "Factories.h"
#include "MTBxRender.h"
#include "QmtbText.h"
#include "Style.h"
#include "Text.h"

#include <QFont>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

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

class RecordingRender : public MTBxRender
{
public:
    struct Call
    {
        Text* text;
        float x;
        float y;
    };
    void drawItem(ItemView*, float, float, double) override {}
    void drawText(Text* text, float x, float y) override { calls.push_back({text, x, y}); }
    std::vector<Call> calls;
};

// A text that is never measured, to see the base class on its own.
class UnmeasuredText : public Text
{
public:
    UnmeasuredText() : Text(MTBxString(L"idle"), 1) {}
    void measure() override {}
};

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

// A text keeps the font it was first measured with; a scaling change needs a new text.
TEST_F(TextTest, shouldKeepItsFontAcrossScalingChanges)
{
    auto before = textOf(L"Scaled");
    const float width = before->width();
    before->setOffset(3.0f, 4.0f);
    Style::instance()->setScalingFactor(3.0f);
    before->measure();
    EXPECT_EQ(before->width(), width);
    EXPECT_EQ(before->left(), 0.0f);
    EXPECT_EQ(before->offsetX(), 3.0f);
    EXPECT_GT(textOf(L"Scaled")->width(), width);
}

// draw hands the text to the renderer at its corner plus offset, and only when measured.
TEST_F(TextTest, shouldHandItselfToTheRendererWhenMeasured)
{
    RecordingRender render;
    auto text = textOf(L"Draw me");
    text->setOffset(2.5f, -1.0f);
    text->draw(&render);
    text->draw(nullptr);
    ASSERT_EQ(render.calls.size(), 1u);
    EXPECT_EQ(render.calls[0].text, text.get());
    EXPECT_EQ(render.calls[0].x, 2.5f);
    EXPECT_EQ(render.calls[0].y, -1.0f);

    UnmeasuredText idle;
    EXPECT_EQ(idle.width(), -1.0f);
    idle.draw(&render);
    EXPECT_EQ(render.calls.size(), 1u);
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
