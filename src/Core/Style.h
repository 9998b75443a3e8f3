#ifndef MINITOOLBARS_STYLE_H
#define MINITOOLBARS_STYLE_H

#include "Core/ItemPart.h"
#include "Core/ThemeColor.h"
#include "Core/ThemePalette.h"
#include "MiniToolbars/MTBxString.h"

#include <memory>

namespace MiniToolbars {

class MTBxImage;

// The process-wide source of every size, gap, colour, opacity, timing and theme
// image. Pixel metrics derive from the measured x-height of the toolbar font.
class Style
{
public:
    // Creates the style on first use.
    static Style* instance();
    // Destroys the style once nothing uses it (at once when nothing does);
    // the next instance() then creates a fresh one.
    static void destroy();
    // Whoever keeps the style beyond one call (controllers, item views)
    // holds a use, so that a destroy() meanwhile waits for it.
    static void addUse();
    static void releaseUse();
    // For tests and font-independent layouts: use this x-height instead of
    // measuring the font (-1 measures again). Recomputes the metrics.
    static void setXHeightOverride(int xHeight);

    ~Style();
    Style(const Style&) = delete;
    Style& operator=(const Style&) = delete;

    void setTheme(int theme);
    // Stores the factor and recomputes every metric.
    void setScalingFactor(float factor);
    void setAutoFade(bool autoFade);

    float widthStep() const { return m_widthStep; }
    int minItemWidth() const { return m_minItemWidth; }
    int cornerRadiusX() const { return m_cornerRadiusX; }
    int cornerRadiusY() const { return m_cornerRadiusY; }
    int gripCornerRadiusX() const { return m_gripCornerRadiusX; }
    int gripCornerRadiusY() const { return m_gripCornerRadiusY; }
    int textBoxHeight() const { return m_textBoxHeight; }
    int maxTextWidth() const { return m_maxTextWidth; }
    int separatorGap() const { return m_separatorGap; }
    const MTBxString& fontFamily() const { return m_fontFamily; }
    int fontPointSize() const { return m_fontPointSize; }
    float disabledOpacity() const { return m_disabledOpacity; }
    float fadedOpacity() const { return m_fadedOpacity; }
    int nearMargin() const { return m_nearMargin; }
    int stayNearMargin() const { return m_stayNearMargin; }
    const ThemeColor& penColor() const { return m_penColor; }
    const ThemeColor& outlinePenColor() const { return m_outlinePenColor; }
    int fadeFrameRate() const { return m_fadeFrameRate; }
    float fadeInDuration() const { return m_fadeInDuration; }
    float fadeOutDuration() const { return m_fadeOutDuration; }
    // Null until loaded; owned by the style.
    MTBxImage* image(ThemeImage which) const;
    const ThemePalette& palette() const { return m_palette; }
    // The combo list's style sheet: the host's while it has set one, else
    // the theme's translucent background.
    const MTBxString& popupStyleSheet() const;
    // An empty sheet gives the theme's back.
    void setPopupStyleSheet(const MTBxString& sheet);
    bool hasHostPopupStyleSheet() const { return !m_popupStyleSheet.empty(); }
    float scalingFactor() const { return m_scalingFactor; }
    int xHeight() const { return m_xHeight; }
    int textTopSpace() const { return m_textTopSpace; }
    int textBottomSpace() const { return m_textBottomSpace; }
    int borderWidth() const { return m_borderWidth; }
    int itemHeight() const { return m_itemHeight; }
    // gap(1) ... gap(9); 0 for any other number.
    int gap(int number) const;
    int dropAreaWidth() const { return m_dropAreaWidth; }
    int splitterWidth() const { return m_splitterWidth; }
    int iconSize() const { return m_iconSize; }
    // Left edge of the grip view, relative to the first item.
    int gripOffset() const { return m_gripOffset; }
    int gripPartWidth() const { return m_gripPartWidth; }
    int gripWidth() const { return m_gripWidth; }
    // Width of the box that holds the ellipsis after a cut caption.
    int ellipsisBoxWidth() const { return m_ellipsisBoxWidth; }
    bool autoFade() const { return m_autoFade; }
    // The solid look: the panel reaches this far beyond the items, and its
    // shadow this far beyond the panel (the shadow's blur, half of it an offset down).
    int panelPadding() const { return m_panelPadding; }
    int panelShadowWidth() const { return m_panelShadowWidth; }

    // Default width of a part of the given kind, and the gap between two parts.
    int partWidth(ItemPartKind kind) const;
    int gapBetween(ItemPartKind a, ItemPartKind b) const;

    // Counts image loads; tests use it to tell a reload from a re-rasterisation.
    int imageLoadCount() const { return m_imageLoadCount; }

private:
    Style();
    void computeMetrics();
    void sizeImages();
    float imageSize(ThemeImage which) const;

    float m_widthStep;
    int m_minItemWidth;
    int m_cornerRadiusX;
    int m_cornerRadiusY;
    int m_gripCornerRadiusX;
    int m_gripCornerRadiusY;
    int m_textBoxHeight;
    int m_maxTextWidth;
    int m_separatorGap;
    MTBxString m_fontFamily;
    int m_fontPointSize;
    float m_disabledOpacity;
    float m_fadedOpacity;
    int m_nearMargin;
    int m_stayNearMargin;
    ThemeColor m_penColor;
    ThemeColor m_outlinePenColor;
    int m_fadeFrameRate;
    float m_fadeInDuration;
    float m_fadeOutDuration;
    std::unique_ptr<MTBxImage> m_images[static_cast<int>(ThemeImage::Count)];
    ThemePalette m_palette;
    MTBxString m_popupStyleSheet;
    MTBxString m_themePopupStyleSheet;
    float m_scalingFactor;
    int m_xHeight;
    int m_textTopSpace;
    int m_textBottomSpace;
    int m_borderWidth;
    int m_itemHeight;
    int m_gaps[9];
    int m_dropAreaWidth;
    int m_splitterWidth;
    int m_iconSize;
    int m_gripOffset;
    int m_gripPartWidth;
    int m_gripWidth;
    int m_ellipsisBoxWidth;
    int m_panelPadding;
    int m_panelShadowWidth;
    bool m_autoFade;
    bool m_imagesLoaded;
    int m_imageLoadCount;
};

} // namespace MiniToolbars

#endif
