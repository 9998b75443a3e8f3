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

std::unique_ptr<Text> textOf(const wchar_t* s, QFont* font = nullptr)
{
    return std::unique_ptr<Text>(createText(MTBxString(s), 0, font));
}

} // namespace

TEST(TextTest, shouldMeasureTheInkExtentInTheGivenFont)
{
    // A text measures its ink in the style font (blanks add none) or in a caller's copied font, and x-heights grow with the point size.
    const Style* style = Style::instance();
    const QFont font(QString::fromUtf16(static_cast<const unsigned short*>(style->fontFamily())), style->fontPointSize());
    auto text = textOf(L"Bold caption");
    EXPECT_EQ(QFontMetrics(font).tightBoundingRect(QStringLiteral("Bold caption")).size(), QSize(text->width(), text->height()));
    EXPECT_EQ(style->xHeight(), text->xHeight());
    EXPECT_EQ(text->width(), textOf(L"  Bold caption  ")->width());
    EXPECT_EQ(0.0f, textOf(L"     ")->width());

    QFont big(QStringLiteral("DejaVu Sans"), 30);
    auto inBig = textOf(L"Entry", &big);
    EXPECT_EQ(QFontMetrics(big).tightBoundingRect(QStringLiteral("Entry")).width(), inBig->width());
    big.setPointSize(6);
    EXPECT_EQ(30, static_cast<const QmtbText*>(inBig.get())->font()->pointSize());

    EXPECT_GT(measureXHeight(MTBxString(L"Tahoma"), 24), measureXHeight(MTBxString(L"Tahoma"), 8));
    EXPECT_GE(measureXHeight(MTBxString(), -3), 0);
}
