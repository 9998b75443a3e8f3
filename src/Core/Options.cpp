#include "MiniToolbars/Options.h"

#include <cmath>

namespace MiniToolbars {

Options::Options()
    : m_scalingFactor(1.0f)
    , m_theme(Light)
    , m_iconTheme(DefaultIcons)
    , m_autoFade(true)
    , m_windowStrategy(AutomaticWindows)
{
}

Options::WindowStrategy Options::windowStrategy() const
{
    return m_windowStrategy;
}

// Unknown values mean the platform's own choice.
void Options::setWindowStrategy(WindowStrategy strategy)
{
    m_windowStrategy = strategy == TopLevelWindows || strategy == OverlayWindows ? strategy : AutomaticWindows;
}

float Options::scalingFactor() const
{
    return m_scalingFactor;
}

Options::Theme Options::theme() const
{
    return m_theme;
}

Options::IconTheme Options::iconTheme() const
{
    return m_iconTheme;
}

bool Options::autoFade() const
{
    return m_autoFade;
}

// Every metric is multiplied by this factor: an infinite one would be as
// meaningless as zero, so only finite positive values are taken.
void Options::setScalingFactor(float factor)
{
    if (std::isfinite(factor) && factor > 0.0f)
        m_scalingFactor = factor;
}

void Options::setTheme(Theme theme)
{
    m_theme = theme;
}

void Options::setIconTheme(IconTheme iconTheme)
{
    m_iconTheme = iconTheme;
}

const MTBxString& Options::popupStyleSheet() const
{
    return m_popupStyleSheet;
}

void Options::setPopupStyleSheet(const MTBxString& sheet)
{
    m_popupStyleSheet = sheet;
}

void Options::setAutoFade(bool autoFade)
{
    m_autoFade = autoFade;
}

} // namespace MiniToolbars
