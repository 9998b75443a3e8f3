#ifndef MINITOOLBARS_THEMEPALETTE_H
#define MINITOOLBARS_THEMEPALETTE_H

#include "Core/ThemeColor.h"
#include "MiniToolbars/MTBxString.h"

namespace MiniToolbars {

// The ten theme images, in the order of the palette's icon names.
enum class ThemeImage {
    CheckBoxOn = 0,
    CheckBoxOff,
    OptionBox,
    OptionBoxHighlighted,
    MenuArrowRight,
    MenuArrowLeft,
    MenuArrowUp,
    MenuArrowDown,
    RemoveButton,
    Grip,
    Count
};

// Colours and built-in icon paths of one theme (0 light, 1 dark).
class ThemePalette
{
public:
    explicit ThemePalette(int theme = 0);

    // Rewrites every colour and icon name for the theme; other values are ignored.
    void setTheme(int theme);
    int theme() const { return m_theme; }

    const ThemeColor& buttonTop() const { return m_buttonTop; }
    const ThemeColor& buttonBottom() const { return m_buttonBottom; }
    const ThemeColor& buttonOuterBorder() const { return m_buttonOuterBorder; }
    const ThemeColor& buttonInnerBorder() const { return m_buttonInnerBorder; }
    const ThemeColor& separatorLine() const { return m_separatorLine; }
    const ThemeColor& text() const { return m_text; }
    const ThemeColor& activeTop() const { return m_activeTop; }
    const ThemeColor& activeBottom() const { return m_activeBottom; }
    const ThemeColor& pressedOuterBorder() const { return m_pressedOuterBorder; }
    const ThemeColor& activeInnerBorder() const { return m_activeInnerBorder; }
    const ThemeColor& pressedText() const { return m_pressedText; }
    // The solid look's panel: opaque fill, its outline, and its shadow's darkest colour.
    const ThemeColor& panelFill() const { return m_panelFill; }
    const ThemeColor& panelBorder() const { return m_panelBorder; }
    const ThemeColor& panelShadow() const { return m_panelShadow; }

    // The popups' colours (menu, combo list, entry field, tooltip). The light
    // theme keeps the desktop's own: popupColors() is false for it, and
    // these colours are meaningful only where it is true.
    bool popupColors() const { return m_theme != 0; }
    const ThemeColor& popupBackground() const { return m_popupBackground; }
    const ThemeColor& popupText() const { return m_popupText; }
    const ThemeColor& popupDisabledText() const { return m_popupDisabledText; }
    const ThemeColor& popupHighlight() const { return m_popupHighlight; }
    const ThemeColor& popupHighlightedText() const { return m_popupHighlightedText; }
    const ThemeColor& popupBorder() const { return m_popupBorder; }
    // The translucent background of the combo list, in both themes.

    const MTBxString& iconName(ThemeImage image) const;

    // The constant table of the twenty built-in paths, ten per theme.
    static const wchar_t* builtInIconPath(int theme, ThemeImage image);

private:
    int m_theme = 0;
    ThemeColor m_buttonTop;
    ThemeColor m_buttonBottom;
    ThemeColor m_buttonOuterBorder;
    ThemeColor m_buttonInnerBorder;
    ThemeColor m_separatorLine;
    ThemeColor m_text;
    MTBxString m_iconNames[static_cast<int>(ThemeImage::Count)];
    ThemeColor m_activeTop;
    ThemeColor m_activeBottom;
    ThemeColor m_pressedOuterBorder;
    ThemeColor m_activeInnerBorder;
    ThemeColor m_pressedText;
    ThemeColor m_panelFill;
    ThemeColor m_panelBorder;
    ThemeColor m_panelShadow;
    ThemeColor m_popupBackground;
    ThemeColor m_popupText;
    ThemeColor m_popupDisabledText;
    ThemeColor m_popupHighlight;
    ThemeColor m_popupHighlightedText;
    ThemeColor m_popupBorder;
};

} // namespace MiniToolbars

#endif
