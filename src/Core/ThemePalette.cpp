#include "Core/ThemePalette.h"

namespace MiniToolbars {

namespace {

constexpr int kImageCount = static_cast<int>(ThemeImage::Count);

const wchar_t* const s_iconPaths[2][kImageCount] = {
    {
        L":/MiniToolbars/Checkbox_On_L.svg",
        L":/MiniToolbars/Checkbox_Off_L.svg",
        L":/MiniToolbars/Options_L.svg",
        L":/MiniToolbars/OptionsHighlight_L.svg",
        L":/MiniToolbars/menuArrowRight_L.svg",
        L":/MiniToolbars/menuArrowLeft_L.svg",
        L":/MiniToolbars/menuArrowUp_L.svg",
        L":/MiniToolbars/menuArrowDown_L.svg",
        L":/MiniToolbars/deleteItem.svg",
        L":/MiniToolbars/Grip.svg",
    },
    {
        L":/MiniToolbars/Checkbox_On_D.svg",
        L":/MiniToolbars/Checkbox_Off_D.svg",
        L":/MiniToolbars/Options_D.svg",
        L":/MiniToolbars/OptionsHighlight_D.svg",
        L":/MiniToolbars/menuArrowRight_D.svg",
        L":/MiniToolbars/menuArrowLeft_D.svg",
        L":/MiniToolbars/menuArrowUp_D.svg",
        L":/MiniToolbars/menuArrowDown_D.svg",
        L":/MiniToolbars/deleteItem.svg",
        L":/MiniToolbars/Grip.svg",
    },
};

bool validTheme(int theme)
{
    return theme == 0 || theme == 1;
}

int imageIndex(ThemeImage image)
{
    const int i = static_cast<int>(image);
    return i >= 0 && i < kImageCount ? i : -1;
}

} // namespace

ThemePalette::ThemePalette(int theme)
{
    setTheme(validTheme(theme) ? theme : 0);
}

void ThemePalette::setTheme(int theme)
{
    if (!validTheme(theme))
        return;
    m_theme = theme;
    if (theme == 0) {
        m_buttonTop = ThemeColor::fromOpacity(255, 255, 255, 0.75f);
        m_buttonBottom = ThemeColor::fromOpacity(159, 159, 159, 0.75f);
        m_buttonOuterBorder = ThemeColor::fromOpacity(0, 0, 0, 0.5f);
        m_buttonInnerBorder = ThemeColor::fromOpacity(255, 255, 255, 0.3f);
        m_separatorLine = ThemeColor::fromOpacity(0, 0, 0, 0.2f);
        m_text = ThemeColor::fromOpacity(0, 0, 0, 1.0f);
        m_panelFill = ThemeColor::fromOpacity(242, 242, 242, 1.0f);
        m_panelBorder = ThemeColor::fromOpacity(0, 0, 0, 0.25f);
        m_panelShadow = ThemeColor::fromOpacity(0, 0, 0, 0.35f);
        // The popups keep the desktop's colours (popupColors() is false), so
        // the light theme has none of its own; only the list's translucent
        // grey is the theme's.
    } else {
        m_buttonTop = ThemeColor::fromOpacity(51, 51, 51, 0.75f);
        m_buttonBottom = ThemeColor::fromOpacity(0, 0, 0, 0.75f);
        m_buttonOuterBorder = ThemeColor::fromOpacity(255, 255, 255, 0.5f);
        m_buttonInnerBorder = ThemeColor::fromOpacity(0, 0, 0, 0.1f);
        m_separatorLine = ThemeColor::fromOpacity(255, 255, 255, 0.2f);
        m_text = ThemeColor::fromOpacity(255, 255, 255, 1.0f);
        m_panelFill = ThemeColor::fromOpacity(38, 38, 38, 1.0f);
        m_panelBorder = ThemeColor::fromOpacity(255, 255, 255, 0.25f);
        m_panelShadow = ThemeColor::fromOpacity(0, 0, 0, 0.6f);
        m_popupBackground = ThemeColor(43, 43, 43, 255);
        m_popupText = m_text;
        m_popupDisabledText = ThemeColor(128, 128, 128, 255);
        m_popupHighlight = ThemeColor(38, 79, 150, 255);
        m_popupHighlightedText = ThemeColor(255, 255, 255, 255);
        m_popupBorder = m_buttonOuterBorder;
    }
    for (int i = 0; i < kImageCount; ++i)
        m_iconNames[i].assign(s_iconPaths[theme][i]);
    m_activeTop = ThemeColor::fromOpacity(218, 234, 251, 0.9f);
    m_activeBottom = ThemeColor::fromOpacity(138, 163, 191, 0.9f);
    m_pressedOuterBorder = ThemeColor::fromOpacity(16, 50, 160, 0.9f);
    m_activeInnerBorder = ThemeColor::fromOpacity(255, 255, 255, 0.1f);
    m_pressedText = ThemeColor::fromOpacity(255, 255, 255, 1.0f);
}

const MTBxString& ThemePalette::iconName(ThemeImage image) const
{
    static const MTBxString s_empty;
    const int i = imageIndex(image);
    return i < 0 ? s_empty : m_iconNames[i];
}

const wchar_t* ThemePalette::builtInIconPath(int theme, ThemeImage image)
{
    const int i = imageIndex(image);
    if (!validTheme(theme) || i < 0)
        return L"";
    return s_iconPaths[theme][i];
}

} // namespace MiniToolbars
