#include "Core/Style.h"

#include "Core/Backend.h"
#include "Core/BaseMetrics.h"
#include "Core/MTBxImage.h"

#include <algorithm>
#include <cmath>

namespace MiniToolbars {

namespace {

std::unique_ptr<Style> s_instance;
int s_uses = 0;
bool s_destroyPending = false;
int s_xHeightOverride = -1;

constexpr int kImageCount = static_cast<int>(ThemeImage::Count);
// Point sizes outside this range make no usable toolbar (and larger ones would
// ask for rasters of absurd size).
constexpr int kMinPointSize = 1;
constexpr int kMaxPointSize = 256;

// Design ratio (value / reference + 0.0001) applied to a measured reference.
double scaled(int measured, double value, int reference)
{
    return measured * (value / reference + 0.0001);
}

int truncated(double value)
{
    return static_cast<int>(std::trunc(value));
}

} // namespace

Style* Style::instance()
{
    if (!s_instance)
        s_instance.reset(new Style());
    return s_instance.get();
}

void Style::destroy()
{
    if (s_uses > 0) {
        s_destroyPending = true;
        return;
    }
    s_destroyPending = false;
    s_instance.reset();
}

void Style::addUse()
{
    ++s_uses;
}

void Style::releaseUse()
{
    if (s_uses > 0)
        --s_uses;
    // Destroys only once no use is left; otherwise stays pending.
    if (s_destroyPending)
        destroy();
}

void Style::setXHeightOverride(int xHeight)
{
    s_xHeightOverride = xHeight < 0 ? -1 : xHeight;
    if (s_instance)
        s_instance->computeMetrics();
}

Style::Style()
    : m_widthStep(0.0f)
    , m_minItemWidth(0)
    , m_cornerRadiusX(0)
    , m_cornerRadiusY(0)
    , m_gripCornerRadiusX(0)
    , m_gripCornerRadiusY(0)
    , m_textBoxHeight(5)
    , m_maxTextWidth(150)
    , m_separatorGap(8)
    , m_fontFamily(L"Tahoma")
    , m_fontPointSize(0)
    , m_disabledOpacity(0.4f)
    , m_fadedOpacity(0.3f)
    , m_nearMargin(6)
    , m_stayNearMargin(10)
    , m_penColor(0, 52, 255, 200)
    , m_outlinePenColor(255, 255, 255, 179)
    , m_fadeFrameRate(30)
    , m_fadeInDuration(0.1f)
    , m_fadeOutDuration(0.6f)
    , m_palette(0)
    , m_scalingFactor(1.0f)
    , m_xHeight(0)
    , m_textTopSpace(0)
    , m_textBottomSpace(0)
    , m_borderWidth(0)
    , m_itemHeight(-1)
    , m_gaps{}
    , m_dropAreaWidth(0)
    , m_splitterWidth(0)
    , m_iconSize(0)
    , m_gripOffset(0)
    , m_gripPartWidth(0)
    , m_gripWidth(0)
    , m_ellipsisBoxWidth(0)
    , m_panelPadding(0)
    , m_panelShadowWidth(0)
    , m_autoFade(true)
    , m_imagesLoaded(false)
    , m_imageLoadCount(0)
{
    BaseMetrics::fill();
    // The images are loaded here but sized only once the metrics exist.
    setTheme(0);
    computeMetrics();
}

Style::~Style() = default;

void Style::setTheme(int theme)
{
    if (theme != 0 && theme != 1)
        return;
    if (m_palette.theme() == theme && m_imagesLoaded) {
        sizeImages();
        return;
    }
    m_palette.setTheme(theme);
    m_themePopupStyleSheet.assign(theme == 0 ? L"background-color: rgba(90%,90%,90%, 80%)"
                                             : L"background-color: rgba(17%,17%,17%, 80%)");
    for (int i = 0; i < kImageCount; ++i) {
        m_images[i].reset();
        m_images[i].reset(Backend::instance().createImage(m_palette.iconName(static_cast<ThemeImage>(i))));
        ++m_imageLoadCount;
    }
    m_imagesLoaded = true;
    sizeImages();
}

void Style::setScalingFactor(float factor)
{
    // A factor that names no size (NaN, infinite, zero or negative) changes nothing.
    if (!std::isfinite(factor) || !(factor > 0.0f))
        return;
    m_scalingFactor = factor;
    computeMetrics();
}

const MTBxString& Style::popupStyleSheet() const
{
    return m_popupStyleSheet.empty() ? m_themePopupStyleSheet : m_popupStyleSheet;
}

void Style::setPopupStyleSheet(const MTBxString& sheet)
{
    m_popupStyleSheet = sheet;
}

void Style::setAutoFade(bool autoFade)
{
    m_autoFade = autoFade;
}

MTBxImage* Style::image(ThemeImage which) const
{
    const int i = static_cast<int>(which);
    if (i < 0 || i >= kImageCount)
        return nullptr;
    return m_images[i].get();
}

int Style::gap(int number) const
{
    if (number < 1 || number > 9)
        return 0;
    return m_gaps[number - 1];
}

void Style::computeMetrics()
{
    const BaseMetrics& base = BaseMetrics::table();

    double points = std::trunc(static_cast<double>(base.fontPoints) * m_scalingFactor);
    if (!(points >= kMinPointSize))
        points = kMinPointSize;
    else if (points > kMaxPointSize)
        points = kMaxPointSize;
    m_fontPointSize = static_cast<int>(points);

    if (s_xHeightOverride >= 0) {
        m_xHeight = s_xHeightOverride;
    } else {
        m_xHeight = Backend::instance().measureXHeight(m_fontFamily, m_fontPointSize);
        // Without a font engine, fall back to the design proportion.
        if (m_xHeight <= 0)
            m_xHeight = std::max(1, m_fontPointSize * base.refXHeight / base.fontPoints);
    }

    const int x = m_xHeight;
    m_textTopSpace = truncated(scaled(x, base.refAscent, base.refXHeight));
    m_textBottomSpace = truncated(scaled(x, base.refDescent, base.refXHeight));
    const int inner = x + m_textTopSpace + m_textBottomSpace;
    m_borderWidth = truncated(scaled(inner, base.refBorder, base.refInner));
    m_itemHeight = inner + 2 * m_borderWidth;

    const int h = m_itemHeight;
    m_widthStep = static_cast<float>(scaled(h, base.widthStep, base.refItem));
    m_minItemWidth = truncated(scaled(h, base.minWidth, base.refItem));
    m_cornerRadiusX = truncated(h * base.cornerX / base.refItem);
    m_cornerRadiusY = truncated(h * base.cornerY / base.refItem);
    m_gripCornerRadiusX = truncated(h * base.gripCornerX / base.refItem);
    m_gripCornerRadiusY = truncated(h * base.gripCornerY / base.refItem);
    m_textBoxHeight = h - m_borderWidth - m_textBottomSpace;
    for (int i = 0; i < 7; ++i)
        m_gaps[i] = truncated(scaled(h, base.gaps[i], base.refItem));
    m_dropAreaWidth = truncated(scaled(h, base.dropArea, base.refItem));
    m_splitterWidth = truncated(scaled(m_borderWidth, base.splitter, base.refBorder));
    m_gaps[7] = truncated(scaled(h, base.gaps[7], base.refItem));
    m_gaps[8] = truncated(scaled(h, base.gaps[8], base.refItem));
    m_iconSize = truncated(scaled(h, base.iconSize, base.refItem));
    m_gripOffset = truncated(scaled(h, base.gripOffset, base.refItem));
    m_gripPartWidth = truncated(scaled(h, base.gripPart, base.refItem));
    m_gripWidth = truncated(scaled(h, base.gripWidth, base.refItem));
    m_ellipsisBoxWidth = truncated(scaled(h, base.ellipsisBox, base.refItem));
    m_panelPadding = std::max(2, h / 6);
    m_panelShadowWidth = std::max(3, h / 3);

    sizeImages();
}

float Style::imageSize(ThemeImage which) const
{
    const BaseMetrics& base = BaseMetrics::table();
    int design = base.bigIcon;
    switch (which) {
    case ThemeImage::CheckBoxOn:
    case ThemeImage::CheckBoxOff:
        design = base.checkBox;
        break;
    case ThemeImage::MenuArrowRight:
    case ThemeImage::MenuArrowLeft:
        design = base.arrowRL;
        break;
    case ThemeImage::MenuArrowUp:
    case ThemeImage::MenuArrowDown:
        design = base.arrowUD;
        break;
    case ThemeImage::Grip:
        return static_cast<float>(m_itemHeight);
    default:
        break;
    }
    return static_cast<float>(scaled(m_itemHeight, design, base.refItem));
}

void Style::sizeImages()
{
    if (m_itemHeight < 0)
        return;
    for (int i = 0; i < kImageCount; ++i) {
        if (m_images[i])
            m_images[i]->render(imageSize(static_cast<ThemeImage>(i)), 0.0f, false);
    }
}

int Style::partWidth(ItemPartKind kind) const
{
    const auto imageWidth = [this](ThemeImage which) {
        const MTBxImage* img = image(which);
        return img ? truncated(img->width()) : 0;
    };
    switch (kind) {
    case DropDownArrow:
        return imageWidth(ThemeImage::MenuArrowDown);
    case EntryArrow:
        return imageWidth(ThemeImage::MenuArrowRight);
    case CheckBox:
        return imageWidth(ThemeImage::CheckBoxOn);
    case Splitter:
        return m_splitterWidth;
    case OptionBox:
        return imageWidth(ThemeImage::OptionBox);
    case Grip:
        return imageWidth(ThemeImage::Grip);
    default:
        return 0;
    }
}

int Style::gapBetween(ItemPartKind a, ItemPartKind b) const
{
    const auto isText = [](ItemPartKind k) { return k == Caption || k == EntryField; };
    const auto pair = [a, b](ItemPartKind x, ItemPartKind y) { return a == x && b == y; };

    if (a == EmptyCaption || b == EmptyCaption)
        return 0;
    if (a == Grip || b == Grip)
        return 0;
    if ((a == LeadingMargin && isText(b)) || (isText(a) && b == TrailingMargin))
        return gap(1);
    if (isText(a) && b == EntryArrow)
        return gap(2);
    if (pair(Caption, DropDownArrow))
        return gap(3);
    if (pair(DropDownArrow, TrailingMargin))
        return gap(5);
    if (pair(EntryArrow, TrailingMargin))
        return gap(4);
    if ((a == CheckBox && isText(b)) || (isText(a) && b == CheckBox))
        return gap(6);
    if (pair(LeadingMargin, CheckBox) || pair(CheckBox, TrailingMargin))
        return gap(7);
    if ((isText(a) && b == Icon) || (a == Icon && isText(b)))
        return gap(8);
    if (pair(Icon, TrailingMargin) || pair(LeadingMargin, Icon))
        return gap(9);
    if (pair(Icon, DropDownArrow) || pair(Icon, EntryArrow))
        return gap(2);
    if (pair(Caption, EntryField))
        return gap(8);
    if (pair(CheckBox, Icon) || pair(Icon, CheckBox))
        return gap(6);
    if ((a == Splitter && b != OptionBox) || (b == Splitter && a != OptionBox))
        return gap(6);
    if (pair(OptionBox, TrailingMargin) || pair(LeadingMargin, OptionBox))
        return m_cornerRadiusX - m_borderWidth;
    if (a == OptionBox || b == OptionBox) {
        const MTBxImage* option = image(ThemeImage::OptionBox);
        const double optionWidth = option ? option->width() : 0.0;
        return truncated(m_dropAreaWidth - optionWidth - (m_cornerRadiusX - m_borderWidth));
    }
    return -1;
}

} // namespace MiniToolbars
