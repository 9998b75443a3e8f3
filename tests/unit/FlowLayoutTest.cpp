#include "Core/ItemView.h"
#include "Core/MTBxFlowLayout.h"
#include "Core/Style.h"
#include "MiniToolbars/MTBxButton.h"
#include "MiniToolbars/MTBxCombobox.h"
#include "MiniToolbars/MTBxCommandItem.h"
#include "MiniToolbars/MTBxDropDownButton.h"
#include "MiniToolbars/MTBxLabel.h"
#include "MiniToolbars/MTBxNewLine.h"
#include "MiniToolbars/MTBxSeparator.h"
#include "Qt/QmtbFaceCache.h"
#include "Qt/QmtbRender.h"
#include "support/CraftedPng.h"
#include "support/ReferenceImage.h"
#include "support/ToolbarStandIns.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

using namespace MiniToolbars;

namespace {

const QPoint kOrigin(20, 10);
const wchar_t* const kIcon = L":/MiniToolbars/Options_L.svg";

// A toolbar laid out by the real flow layout, with sinks for what reaches the host, painted onto an offscreen image.
struct Scene
{
    explicit Scene(int theme = 0, int xHeight = 6) : toolbar(MTBxString(L"bar"), &toolbarContext), layout(&toolbar, nullptr)
    {
        Style::setXHeightOverride(xHeight);
        Style::instance()->setScalingFactor(1.0f), Style::instance()->setTheme(theme);
        toolbar.setView(&layout);
        layout.adoptWindow(std::unique_ptr<ToolbarWindow>(window = new Testing::StandInWindow(&layout)));
    }
    ~Scene() { toolbar.setView(nullptr); }

    MTBxButton* button(const wchar_t* text, int width = 0, const wchar_t* icon = L"")
    {
        auto* b = new MTBxButton(MTBxString(L"button"), &itemContext);
        b->setText(MTBxString(text)), b->setShowText(true), b->setIcon(MTBxString(icon)), b->setWidth(width);
        toolbar.addItem(b);
        return b;
    }
    // An icon-only item: 28 px of parts, so any width from 28 up is exact.
    template<typename Kind = MTBxButton>
    MTBxItem* add(const wchar_t* id, int width, bool autoHide = true)
    {
        MTBxItem* item = new Kind(MTBxString(id), &itemContext);
        item->setIconData(reinterpret_cast<const unsigned char*>(icon.constData()), static_cast<unsigned int>(icon.size()));
        return item->setWidth(width), item->setAutoHide(autoHide), toolbar.addItem(item);
    }
    // An item with caption and icon, then past a separator a bare twin that shows the background the icon covers.
    MTBxButton* iconAndTwin(bool checkable = false)
    {
        MTBxButton* item = button(L"Bold", 90, kIcon);
        return item->setCheckable(checkable), separator(), button(L"", 90), layOut(), item;
    }
    MTBxItem* separator() { return toolbar.addItem(new MTBxSeparator); }
    MTBxItem* lineBreak() { return toolbar.addItem(new MTBxNewLine); }
    void layOut() { layout.rebuild(true), layout.setShown(true); }

    QImage paint(QmtbRender& with, qreal ratio = 1.0)
    {
        QImage image = blankImage(QSize(900, 150), ratio);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing), with.setPainter(&painter), with.setOrigin(kOrigin);
        return layout.draw(&with, true), with.setPainter(nullptr), image;
    }
    QImage paint() { return paint(render); }
    // The item's rectangle in image pixels.
    static QRect pixels(const MTBxItem* item)
    {
        const ItemView* v = item->itemView();
        return QRect(kOrigin.x() + int(v->left()), kOrigin.y() - int(v->top()), int(v->width()), int(v->height()));
    }
    static const ItemPart* part(const MTBxItem* item, ItemPartKind kind)
    {
        const auto& parts = item->itemView()->parts();
        return &*std::find_if(parts.begin(), parts.end(), [kind](const ItemPart& p) { return p.kind == kind; });
    }
    ItemView* view(int index) const { return layout.itemViewAt(index); }
    ItemView* hit(float x, float y, bool& onSubArea) const { return layout.itemViewAt(x, y, onSubArea); }
    ItemView* hit(float x, float y) const { bool ignored = false; return hit(x, y, ignored); }
    void click(float x, bool moved = false, int buttons = 1) { layout.mousePress(x, -10.0f), layout.mouseRelease(x, -10.0f, moved, buttons); }
    static std::vector<float> bounds(const ItemView* v) { return { v->left(), v->top(), v->width(), v->height() }; }
    std::vector<float> edges(bool noFade) const
    {
        std::vector<float> e(4, 1.0f);
        return (noFade ? layout.getNoFadeBounds(e[0], e[1], e[2], e[3]) : layout.getBounds(e[0], e[1], e[2], e[3])), e;
    }

    int toolbarContext = 0, itemContext = 0;
    QByteArray icon = CraftedPng::encoded(16, 16);
    Testing::RecordingItemSink sink;
    Testing::RecordingToolbarSink toolbarSink;
    MiniToolbar toolbar;
    MTBxFlowLayout layout;
    Testing::StandInWindow* window = nullptr;
    QmtbRender render;
};

struct FlowLayoutTest : ::testing::Test, Scene {};

// The device pixels of an area, as a plain image.
QImage pixels(QImage image, const QRect& area) { return image.setDevicePixelRatio(1.0), image.copy(area); }

int largestDifference(const QImage& a, const QImage& b)
{
    int largest = a.size() == b.size() ? 0 : 255;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            for (int shift : { 0, 8, 16, 24 })
                largest = std::max(largest, std::abs(int(a.pixel(x, y) >> shift & 0xff) - int(b.pixel(x, y) >> shift & 0xff)));
    return largest;
}

bool blank(const QImage& image) { return image == blankImage(image.size(), 1.0).convertToFormat(image.format()); }

// The gradient's colour at row t of the item, extrapolated from two clean rows of one column.
std::vector<int> stopAt(const QImage& image, int x, const QRect& item, double t)
{
    const QColor a = image.pixelColor(x, item.top() + 3), b = image.pixelColor(x, item.top() + 18);
    const auto at = [t](int ca, int cb) { return int(std::lround(ca + (cb - ca) / 15.0 * (t - 3))); };
    return { at(a.red(), b.red()), at(a.green(), b.green()), at(a.blue(), b.blue()) };
}

// Each channel within 4 of the colour.
testing::AssertionResult near(const std::vector<int>& actual, const ThemeColor& c)
{
    const int expected[] = { c.red, c.green, c.blue };
    for (int i = 0; i < 3; ++i)
        if (std::abs(actual[i] - expected[i]) > 4)
            return testing::AssertionFailure() << "channel " << i << ": " << actual[i] << " vs " << expected[i];
    return testing::AssertionSuccess();
}

} // namespace

TEST_F(FlowLayoutTest, shouldPlaceRowsAndSeparatorsBehindGrip)
{
    // [Separator, A, Sep, Sep, NewLine, NewLine, B, Sep, C, hidden, NewLine] lays out as [A, NewLine, B, Sep, C] in two rows 30 apart behind the grip.
    separator();
    MTBxItem* a = add(L"A", 60);
    separator(), separator();
    MTBxItem* newLine = lineBreak();
    lineBreak();
    MTBxItem* b = add(L"B", 40);
    separator(), add(L"C", 52), add(L"hidden", 40)->setVisible(false), lineBreak();
    layout.rebuild(false);
    ASSERT_EQ(6, layout.itemViewCount());
    EXPECT_TRUE(a == view(0)->item() && newLine == view(1)->item() && b->itemView() == view(2) && newLine == view(2)->previousItem());
    EXPECT_TRUE(view(2)->endsGroup() && view(4)->startsGroup() && !layout.layoutDirty());
    // Views 0, 2, 3 and 4, the whole (the trailing line break adds a row) and the grip.
    using Rects = std::vector<std::vector<float>>;
    EXPECT_EQ((Rects{ bounds(view(0)), bounds(view(2)), bounds(view(3)), bounds(view(4)), edges(false), bounds(layout.gripView()) }),
              (Rects{ { 0, 0, 60, 22 }, { 0, -30, 40, 22 }, { 0, 0, 0, 0 }, { 48, -30, 52, 22 }, { 0, 0, -82, 100 }, { -12, 0, 9, 22 } }));
}

TEST_F(FlowLayoutTest, shouldBoundItemsThatNeverFade)
{
    // The no-fade rectangle spans the steady items and reaches one row pitch below the lowest; without any it is the bounds.
    add(L"A", 60), add(L"B", 40, false), lineBreak(), add(L"E", 52, false);
    layout.rebuild(false);
    EXPECT_TRUE(layout.hasNoFadeItems());
    EXPECT_EQ(edges(true), (std::vector<float>{ 0, 0, -60, 100 }));
    toolbar.item(3)->setAutoHide(true), layout.rebuild(true);
    EXPECT_EQ(edges(true), (std::vector<float>{ 0, 60, -30, 100 }));
    toolbar.item(1)->setAutoHide(true), layout.rebuild(true);
    EXPECT_TRUE(!layout.hasNoFadeItems() && edges(true) == edges(false));
}

TEST_F(FlowLayoutTest, shouldHitOnlyEnabledClickableAreas)
{
    // Disabled items, labels, separators, row breaks and an entry's text never take the pointer; its drop area does, with onSubArea set.
    add<MTBxLabel>(L"label", 60), lineBreak(), add(L"disabled", 40)->setEnabled(false), separator();
    MTBxItem* button = add(L"button", 40);
    auto* entry = new MTBxItem(MTBxItem::DropDownEntry, MTBxString(L"entry"), true, &itemContext);
    entry->setHasSplitter(true), entry->setWidth(60), toolbar.addItem(entry);
    layout.rebuild(false);
    for (const auto& at : std::vector<std::pair<float, float>>{ { 0, -10 }, { 30, -10 }, { 20, -40 }, { 44, -40 } })
        EXPECT_EQ(nullptr, hit(at.first, at.second)) << at.first << "," << at.second;
    EXPECT_EQ(button->itemView(), hit(50.0f, -40.0f));
    EXPECT_TRUE(layout.mousePress(0.0f, 0.0f) == nullptr && sink.events.empty());
    ItemView* entryView = entry->itemView();
    bool onSubArea = false;
    EXPECT_EQ(nullptr, hit(entryView->left() + 5.0f, -40.0f, onSubArea));
    EXPECT_TRUE(hit(entryView->right() - 2.0f, -40.0f, onSubArea) == entryView && onSubArea);
    // On the shared edge the earlier view wins.
    EXPECT_EQ(button->itemView(), hit(entryView->left(), -40.0f));
}

TEST_F(FlowLayoutTest, shouldKeepThePressedItemUntilRelease)
{
    // A pressed item keeps the pointer: others are not hovered and release clicks the pressed one; a release over an unpressed item does nothing.
    MTBxItem *a = add(L"A", 60), *b = add(L"B", 40);
    layout.rebuild(false);
    EXPECT_TRUE(a->itemView() == layout.mouseMove(10.0f, -10.0f) && a->itemView() == layout.mousePress(10.0f, -10.0f));
    EXPECT_EQ(Pressed, a->itemView()->state());
    EXPECT_EQ(nullptr, layout.mouseMove(80.0f, -10.0f));
    EXPECT_TRUE(layout.hoverChanged() && !b->isHover() && !a->isHover());
    EXPECT_EQ(b->itemView(), layout.mouseRelease(80.0f, -10.0f, false, 1));
    EXPECT_EQ(Normal, a->itemView()->state());
    EXPECT_EQ(sink.types(), (std::vector<int>{ MTBxItemEvents::HoverEnter, MTBxItemEvents::HoverLeave, MTBxItemEvents::Clicked }));
    EXPECT_EQ(&itemContext, sink.events.back().hostContext);
    // A click that opened a popup leaves its item pressed; showing the toolbar again releases it.
    window->popup = true;
    click(10.0f);
    EXPECT_EQ(Pressed, a->itemView()->state());
    EXPECT_TRUE(layout.show(100.0f, 200.0f, true));
    EXPECT_TRUE(a->itemView()->state() == Normal && Point(100.0, 200.0) == window->shownAt && window->shownDeferred);
}

TEST_F(FlowLayoutTest, shouldKeepStateOnUnchangedRelayoutButNotOnChangedOrForcedOne)
{
    // A relayout that moves nothing keeps the views with hover and press; a moving or forced one replaces them.
    MTBxItem* a = add(L"A", 60);
    add(L"B", 40), layout.rebuild(false);
    layout.mouseMove(10.0f, -10.0f), layout.mousePress(10.0f, -10.0f);
    ItemView* before = a->itemView();
    layout.rebuild(false);
    EXPECT_TRUE(before == view(0) && before->isHovered() && before == layout.current() && before->state() == Pressed);
    a->setWidthString(MTBxString(L"W")), layout.rebuild(false);
    EXPECT_TRUE(before == view(0) && before->isHovered()) << "a change that moves nothing in a fixed width keeps the views";
    a->setWidth(70), layout.rebuild(false);
    EXPECT_TRUE(70.0f == view(1)->left() && nullptr == layout.current()) << view(1)->left();
    layout.mousePress(10.0f, -10.0f), layout.rebuild(true);
    EXPECT_TRUE(a->itemView()->state() == Normal && layout.current() == nullptr);
}

TEST_F(FlowLayoutTest, shouldEndDrawingAtAnItemDeletedWhileShown)
{
    // Deleting a shown item asks for a relayout, makes it unhittable and stops drawing at its place; a hidden layout draws nothing.
    add(L"A", 60);
    MTBxItem *b = add(L"B", 40), *c = add(L"C", 40);
    layout.rebuild(false);
    ItemView* cView = c->itemView();
    const int relayoutsBefore = window->relayoutRequests;
    toolbar.removeItem(b);
    EXPECT_EQ(relayoutsBefore + 1, window->relayoutRequests);
    EXPECT_TRUE(hit(70.0f, -10.0f) == nullptr && hit(110.0f, -10.0f) == cView);
    const auto alphaAt = [&](bool shown, int x) { return layout.setShown(shown), qAlpha(paint().pixel(kOrigin + QPoint(x, 11))); };
    EXPECT_TRUE(alphaAt(true, 40) > 0 && alphaAt(true, -8) > 0);
    EXPECT_EQ(0, alphaAt(true, 125) + alphaAt(false, 40));
    layout.rebuild(false);
    EXPECT_EQ(60.0f, c->itemView()->left());
}

TEST_F(FlowLayoutTest, shouldReportMovesKeysFadeAndModifiedClicksToTheHost)
{
    // A release after a drag reports the new origin and clicks nothing; keys and fade reach the toolbar sink; a modified click comes first.
    MTBxItem* a = add(L"A", 60);
    a->setCheckable(true), layout.rebuild(false);
    window->originX = 320, window->originY = -45;
    click(10.0f, true);
    EXPECT_TRUE(sink.events.empty());
    layout.keyDown(0x41, 0x1e0001), layout.keyUp(0x41, -7), layout.notifyFaded();
    EXPECT_EQ(toolbarSink.types, (std::vector<MTBxToolbarEvents::EventType>{ MTBxToolbarEvents::ToolbarMoved, MTBxToolbarEvents::ToolbarKeyDown,
                                                                            MTBxToolbarEvents::ToolbarKeyUp, MTBxToolbarEvents::ToolbarFaded }));
    EXPECT_EQ(toolbarSink.args[0], std::make_pair(std::intptr_t(320), std::intptr_t(-45)));
    EXPECT_TRUE(toolbarSink.args[1] == std::make_pair(std::intptr_t(0x41), std::intptr_t(0x1e0001)) && toolbarSink.contexts[0] == &toolbarContext);
    EXPECT_EQ(toolbarSink.args[3], std::make_pair(std::intptr_t(0), std::intptr_t(0))) << "fading carries no arguments";
    const int buttons = 0x04000000 | 0x1;
    click(10.0f, false, buttons);
    EXPECT_TRUE(a->isChecked());
    EXPECT_EQ(sink.types(), (std::vector<int>{ MTBxItemEvents::ModifiedClick, MTBxItemEvents::CheckedChanged, MTBxItemEvents::Clicked }));
    EXPECT_TRUE(sink.arg(0) == buttons && sink.arg(1) == 1);
}

TEST(RenderTest, shouldRoundOnlyTheEndsThatStandAloneAndDrawAPressedCaptionWhite)
{
    // In both themes a lone item is rounded at both ends, in a run of three only the outer ends are; pressed, a caption takes the palette's pressed text colour, white.
    for (int theme : { 0, 1 }) {
        SCOPED_TRACE(theme);
        Scene scene(theme);
        const MTBxItem* lone = scene.button(L"Lone");
        scene.separator();
        const MTBxItem *a = scene.button(L"A"), *b = scene.button(L"WWW", 100), *c = scene.button(L"C");
        scene.layOut();
        const QImage image = scene.paint();
        const auto alpha = [&](const MTBxItem* item, double at) {
            const QRect r = Scene::pixels(item);
            return image.pixelColor(r.left() + int(at * (r.width() - 1)), r.top()).alpha() > 100;
        };
        EXPECT_EQ((std::vector<bool>{ false, true, false, false, true, true, true, true, false }),
                  (std::vector<bool>{ alpha(lone, 0), alpha(lone, 0.5), alpha(lone, 1), alpha(a, 0), alpha(a, 1), alpha(b, 0),
                                      alpha(b, 1), alpha(c, 0), alpha(c, 1) }));
        b->itemView()->setState(Pressed);
        const QImage pressed = scene.paint(), white = pixels(pressed, Scene::pixels(b)).convertToFormat(QImage::Format_ARGB32);
        EXPECT_GT(std::count(reinterpret_cast<const QRgb*>(white.constBits()), reinterpret_cast<const QRgb*>(white.constBits()) + white.width() * white.height(),
                             qRgba(255, 255, 255, 255)), 0);
    }
}

TEST(RenderTest, shouldFillTheBackgroundFromTheTopToTheBottomColourAndBrightenOnHover)
{
    // Plain and active gradients run top to bottom; hovering multiplies each channel by 1.2 and clamps at 255; a disabled item has 0.4 of the opacity.
    const auto channel = [](int v) { return std::min(int(v * 1.2), 255); };
    for (int theme : { 0, 1 }) {
        for (bool hovered : { false, true }) {
            SCOPED_TRACE(testing::Message() << "theme " << theme << (hovered ? " hovered" : ""));
            Scene scene(theme);
            MTBxButton* plain = scene.button(L"P", 100);
            scene.separator();
            MTBxButton* active = scene.button(L"A", 100);
            scene.separator();
            MTBxButton* disabled = scene.button(L"D", 100);
            active->setActive(true), disabled->setEnabled(false), scene.layOut();
            plain->itemView()->setHovered(hovered), active->itemView()->setHovered(hovered);
            scene.window->opacity = hovered ? 0.5 : 1.0;
            const QImage image = scene.paint();
            const ThemePalette& palette = Style::instance()->palette();
            const auto look = [&](const ThemeColor& c) { return hovered ? ThemeColor(channel(c.red), channel(c.green), channel(c.blue), c.alpha) : c; };
            const auto alphaAt = [&](const MTBxItem* item) { return image.pixelColor(Scene::pixels(item).topLeft() + QPoint(70, 10)).alpha(); };
            const auto stop = [&](const MTBxItem* item, double t) { const QRect r = Scene::pixels(item); return stopAt(image, r.left() + 70, r, t); };
            EXPECT_TRUE(near(stop(plain, 0), look(palette.buttonTop())));
            EXPECT_TRUE(near(stop(plain, 21), look(palette.buttonBottom())));
            // Brightened, 218, 234, 251 would be 261, 280, 301.
            EXPECT_TRUE(near(stop(active, 0), hovered ? ThemeColor(255, 255, 255, 229) : palette.activeTop()));
            EXPECT_TRUE(near(stop(active, 21), look(palette.activeBottom())));
            EXPECT_NEAR(alphaAt(plain), palette.buttonTop().alpha * scene.window->opacity, 2);
            EXPECT_NEAR(alphaAt(disabled), palette.buttonTop().alpha * scene.window->opacity * 0.4, 2);
            scene.window->opacity = 0.0;
            EXPECT_TRUE(blank(pixels(scene.paint(), Scene::pixels(disabled))));
        }
    }
}

TEST(RenderTest, shouldKeepTheOptionGlyphInItsEndAndCutCaptionsWithThreeDotsAtEveryScale)
{
    // At every factor the option glyph starts inside its option end, past the splitter, and a cut caption ends in three dots.
    for (float factor : { 1.0f, 1.5f, 2.0f, 3.0f }) {
        SCOPED_TRACE(factor);
        Scene scene(0, -1);
        Style::instance()->setScalingFactor(factor);
        MTBxButton* cut = scene.button(L"Cut caption here");
        scene.separator();
        MTBxButton* option = scene.button(L"Options");
        cut->setWidthString(MTBxString(L"Cut cap")), option->setOptionBox(true), scene.layOut();
        const QImage image = scene.paint();
        // Item-local columns in [from, to) where a run of dark ink starts, in the item's middle rows.
        const auto inkRuns = [&](const MTBxItem* item, int from, int to) {
            const QRect r = Scene::pixels(item);
            std::vector<int> starts;
            for (int x = from, last = -2; x < to; ++x)
                for (int y = r.height() / 4; y < r.height() * 3 / 4; ++y) {
                    const QRgb p = image.pixel(r.left() + x, r.top() + y);
                    if (qGray(p) < 96 && qAlpha(p) > 200) {
                        if (x > last + 1)
                            starts.push_back(x);
                        last = x;
                        break;
                    }
                }
            return starts;
        };
        const ItemPart *caption = Scene::part(option, Caption), *splitter = Scene::part(option, Splitter);
        const std::vector<int> glyph = inkRuns(option, caption->x + caption->width + 2, int(option->itemView()->width()) - 2 * Style::instance()->borderWidth());
        ASSERT_FALSE(glyph.empty());
        EXPECT_GT(glyph.front(), splitter->x + splitter->width);
        EXPECT_GE(glyph.front(), int(option->itemView()->subAreaRect()->left()));
        const ItemPart* text = Scene::part(cut, Caption);
        const int dotsFrom = text->x + text->width - QFontMetrics(QFont(QStringLiteral("Tahoma"), Style::instance()->fontPointSize())).tightBoundingRect("...").width();
        EXPECT_EQ(inkRuns(cut, dotsFrom, text->x + text->width + 4).size(), 3u);
    }
}

TEST(RenderTest, shouldInsetTheSplitterByTheBorderAtBothEnds)
{
    // With a 2-px border the splitter leaves the item's top and bottom rows as plain border and marks the rows between, darker in the light theme and lighter in the dark one; the 1-px inner border covers the next row in whole.
    for (int theme : { 0, 1 }) {
        SCOPED_TRACE(theme);
        Scene scene(theme, 12);
        scene.button(L"A");
        MTBxButton* item = scene.button(L"Split");
        item->setHasSplitter(true), scene.button(L"C"), scene.layOut();
        ASSERT_EQ(Style::instance()->borderWidth(), 2);
        const QImage image = scene.paint();
        const QRect r = Scene::pixels(item);
        const int x = r.left() + Scene::part(item, Splitter)->x, y = r.center().y();
        for (int edge : { r.top(), r.bottom() })
            EXPECT_EQ(image.pixel(x, edge), image.pixel(x + 3, edge)) << edge - r.top();
        EXPECT_EQ(theme == 1, qGray(image.pixel(x, y)) > qGray(image.pixel(x + 3, y)));
        EXPECT_NE(image.pixel(x, y), image.pixel(x + 3, y));
        const int inner = Style::instance()->palette().buttonInnerBorder().alpha;
        for (const auto& [row, beside] : { std::pair{ r.top() + 2, r.top() + 3 }, { r.bottom() - 2, r.bottom() - 3 } })
            EXPECT_NEAR(qAlpha(image.pixel(x + 3, row)), inner + qAlpha(image.pixel(x + 3, beside)) * (255 - inner) / 255, 2) << row - r.top();
    }
}

TEST(RenderTest, shouldDrawEveryStateAsTheReferenceSheet)
{
    // Every kind of item in every state, in both themes, at three scales and faded, draws pixel for pixel as the reference sheet.
    struct Pass { int theme; float factor; double opacity; };
    const Pass passes[] = { { 0, 1.0f, 1.0 }, { 1, 1.0f, 1.0 }, { 0, 2.0f, 1.0 }, { 1, 1.5f, 1.0 }, { 0, 1.0f, 0.5 } };
    QImage sheet(QSize(900, 5 * 150), QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::transparent);
    QPainter sheetPainter(&sheet);
    int y = 0;
    for (const Pass& pass : passes) {
        Scene scene(pass.theme, pass.factor == 1.0f ? 6 : -1);
        Style::instance()->setScalingFactor(pass.factor);
        MTBxButton* hovered = scene.button(L"Hover", 0, kIcon);
        MTBxButton* pressed = scene.button(L"Press");
        scene.button(L"Checked", 0, kIcon)->setCheckable(true);
        scene.toolbar.item(2)->setChecked(true, false);
        scene.button(L"Active")->setActive(true);
        scene.button(L"Off", 0, kIcon)->setEnabled(false);
        scene.separator();
        auto* label = new MTBxLabel(MTBxString(L"label"), &scene.itemContext);
        label->setText(MTBxString(L"Label")), label->setShowText(true), scene.toolbar.addItem(label);
        scene.lineBreak();
        MTBxButton* option = scene.button(L"Option");
        option->setOptionBox(true);
        MTBxButton* split = scene.button(L"Split", 0, kIcon);
        split->setHasSplitter(true);
        scene.button(L"Cut caption here")->setWidthString(MTBxString(L"Cut"));
        scene.separator();
        auto* dropDown = new MTBxDropDownButton(MTBxString(L"dd"), &scene.itemContext);
        dropDown->setText(MTBxString(L"Menu")), dropDown->setShowText(true), scene.toolbar.addItem(dropDown);
        auto* combo = new MTBxCombobox(MTBxString(L"combo"), &scene.itemContext);
        combo->setShowText(true), combo->setSynchronizedWithCurrentItem(true), combo->setWidth(70), scene.toolbar.addItem(combo);
        auto* child = new MTBxCommandItem(MTBxString(L"child"), &scene.itemContext);
        child->setParent(combo), child->setText(MTBxString(L"Eleven")), combo->addItem(child), combo->setCurrentItem(child);
        scene.layOut();
        hovered->itemView()->setHovered(true), pressed->itemView()->setState(Pressed);
        option->itemView()->setHovered(true), option->itemView()->setHoverSubArea(true);
        split->itemView()->setState(Pressed), split->itemView()->setPressedSubArea(true);
        scene.window->opacity = pass.opacity;
        sheetPainter.drawImage(0, y, scene.paint());
        y += 150;
    }
    sheetPainter.end();
    EXPECT_TRUE(Testing::matchesReference(sheet, QStringLiteral("item-states")));
}

TEST(RenderTest, shouldDrawAnItemTooWideForAFaceAsAFaceWould)
{
    // An item wider than any face is painted straight onto the window, and its start, icon and rounded end, looks as that of a narrower item.
    Scene scene;
    const MTBxItem* narrow = scene.button(L"", 200, kIcon);
    scene.lineBreak();
    const MTBxItem* wide = scene.button(L"", 5000, kIcon);
    scene.layOut();
    const QImage image = scene.paint();
    const QRect start(0, 0, 120, 22);
    EXPECT_FALSE(blank(pixels(image, start.translated(Scene::pixels(wide).topLeft()))));
    EXPECT_LE(largestDifference(pixels(image, start.translated(Scene::pixels(narrow).topLeft())), pixels(image, start.translated(Scene::pixels(wide).topLeft()))), 1);
}

TEST(RenderTest, shouldRepaintAChangedItemAsAFreshRendererDoes)
{
    // After each change and the relayout a host asks for, a renderer that painted before shows what a new one shows.
    using Change = std::function<void(Scene&, MTBxButton*)>;
    const std::pair<const char*, Change> changes[] = {
        { "icon", [](Scene&, MTBxButton* b) { b->setIcon(MTBxString(L":/MiniToolbars/Checkbox_On_L.svg")); } },
        { "caption", [](Scene&, MTBxButton* b) { b->setText(MTBxString(L"Italic")); } },
        { "checked", [](Scene&, MTBxButton* b) { b->setChecked(true, false); } },
        { "disabled", [](Scene&, MTBxButton* b) { b->setEnabled(false); } },
        { "hovered", [](Scene&, MTBxButton* b) { b->itemView()->setHovered(true); } },
        { "pressed", [](Scene&, MTBxButton* b) { b->itemView()->setState(Pressed); } },
        { "width", [](Scene&, MTBxButton* b) { b->setWidth(120); } },
        { "no caption", [](Scene&, MTBxButton* b) { b->setShowText(false); } },
        { "option box", [](Scene&, MTBxButton* b) { b->setOptionBox(true); } },
        { "faded", [](Scene& s, MTBxButton*) { s.window->opacity = 0.4; } },
        { "theme", [](Scene&, MTBxButton*) { Style::instance()->setTheme(1); } },
        { "scale", [](Scene&, MTBxButton*) { Style::instance()->setScalingFactor(1.5f); } },
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        Scene scene;
        MTBxButton* item = scene.iconAndTwin(true);
        const QImage before = scene.paint();
        change(scene, item);
        scene.layout.rebuild(name == std::string("scale"));
        const QImage after = scene.paint();
        QmtbRender fresh;
        EXPECT_TRUE(after != before) << "no pixel changes";
        EXPECT_TRUE(after == scene.paint(fresh)) << "a stale face";
    }
}

TEST(RenderTest, shouldPaintIconsAtTheDevicePixelRatio)
{
    // The icon is the SVG rasterised at ratio times its size, left-aligned and centred over the item's background, at ratio 1 as at 2; below 1, where QPainter paints one to one, as at 1.
    for (qreal deviceRatio : { 0.5, 1.0, 2.0 }) {
        const qreal ratio = std::max(deviceRatio, 1.0);
        Scene scene;
        MTBxButton* item = scene.iconAndTwin();
        const MTBxItem* twin = scene.toolbar.item(2);
        const QImage image = scene.paint(scene.render, deviceRatio);
        const int size = Style::instance()->iconSize(), rasterSize = int(size * ratio);
        QSvgRenderer svg(QString::fromWCharArray(kIcon));
        const QRect icon((Scene::pixels(item).topLeft() + QPoint(Scene::part(item, Icon)->x, (22 - size) / 2)) * ratio,
                         QSize(rasterSize * svg.defaultSize().width() / svg.defaultSize().height(), rasterSize));
        QImage expected = pixels(image, icon.translated(int((twin->itemView()->left() - item->itemView()->left()) * ratio), 0));
        QPainter painter(&expected);
        svg.render(&painter, QRectF(expected.rect()));
        painter.end();
        EXPECT_LE(largestDifference(pixels(image, icon), expected), 1) << deviceRatio;
    }
}

TEST(RenderTest, shouldKeyFacesByEveryFieldAndTrimTheOldestFacesFirst)
{
    // Keys that differ in any one field name different faces; trimming drops faces of earlier paints, oldest first, down to the limit, never the current paint's; another theme drops them all.
    FaceKey base;
    base.size = QSize(20, 10), base.parts = { { 1, 2, 3, 4 } }, base.text = QStringLiteral("A");
    const std::function<void(FaceKey&)> changes[] = {
        [](FaceKey& k) { k.size.rwidth()++; }, [](FaceKey& k) { k.ratioPermille++; }, [](FaceKey& k) { k.theme++; },
        [](FaceKey& k) { k.scaling++; }, [](FaceKey& k) { k.xHeight++; }, [](FaceKey& k) { k.itemHeight++; },
        [](FaceKey& k) { k.fontPointSize++; }, [](FaceKey& k) { k.flags++; }, [](FaceKey& k) { k.subArea.setWidth(1); },
        [](FaceKey& k) { k.parts[0].kind++; }, [](FaceKey& k) { k.parts[0].x++; }, [](FaceKey& k) { k.parts[0].width++; },
        [](FaceKey& k) { k.parts[0].raster++; }, [](FaceKey& k) { k.text += 'B'; }, [](FaceKey& k) { k.font.setBold(true); },
    };
    for (const auto& change : changes) {
        FaceKey other = base;
        EXPECT_TRUE(other == base && qHash(other) == qHash(base));
        change(other);
        EXPECT_FALSE(other == base);
    }
    QmtbFaceCache cache;
    cache.paint = 5;
    const auto add = [&](int id, quint64 lastUsed) {
        FaceKey key = base;
        key.xHeight = id;
        const Face face{ blankImage(QSize(1024, 512), 1.0), QImage(), lastUsed }; // 2 MiB
        cache.bytes += faceBytes(face), cache.faces.insert(key, face);
    };
    const auto kept = [&] { std::vector<int> ids; for (const FaceKey& key : cache.faces.keys()) ids.push_back(key.xHeight); std::sort(ids.begin(), ids.end()); return ids; };
    for (const auto& [id, lastUsed] : { std::pair{ 0, 3 }, { 1, 1 }, { 2, 2 }, { 3, 5 }, { 4, 5 }, { 5, 5 } })
        add(id, lastUsed);
    cache.trim();
    EXPECT_EQ(kept(), (std::vector<int>{ 0, 3, 4, 5 }));
    add(6, 5), add(7, 5), cache.trim();
    EXPECT_EQ(kept(), (std::vector<int>{ 3, 4, 5, 6, 7 }));
    EXPECT_EQ(cache.bytes, 10 << 20);
    // The same style keeps the faces; another theme drops them all.
    Style* const style = Style::instance();
    const int theme = style->palette().theme();
    cache.forgetOtherStyles(*style), add(8, 5), cache.forgetOtherStyles(*style);
    EXPECT_EQ(cache.faces.size(), 1);
    style->setTheme(1 - theme), cache.forgetOtherStyles(*style), style->setTheme(theme);
    EXPECT_TRUE(cache.faces.isEmpty() && cache.bytes == 0);
}
