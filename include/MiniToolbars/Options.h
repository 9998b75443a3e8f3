#ifndef MINITOOLBARS_OPTIONS_H
#define MINITOOLBARS_OPTIONS_H

#include "MiniToolbarsGlobal.h"

namespace MiniToolbars {

/// Global display options, applied through Controller::setOptions().
class MINITOOLBARS_EXPORT Options
{
public:
    /// A fixed underlying type: hosts may hand in any int; unknown themes are ignored.
    enum Theme : int { Light = 0, Dark = 1 };
    /// Stored and handed back; no behaviour depends on it.
    enum IconTheme : int { DefaultIcons = 0, AlternateIcons = 1 };

    Options();
    Options(const Options&) = default;
    Options& operator=(const Options&) = default;

    float scalingFactor() const;
    Theme theme() const;
    IconTheme iconTheme() const;
    bool autoFade() const;

    /// Ignores zero, negative values and NaN.
    void setScalingFactor(float factor);
    void setTheme(Theme theme);
    void setIconTheme(IconTheme iconTheme);
    void setAutoFade(bool autoFade);

private:
    float m_scalingFactor;
    Theme m_theme;
    IconTheme m_iconTheme;
    bool m_autoFade;
};

} // namespace MiniToolbars

#endif
