#ifndef MINITOOLBARS_OPTIONS_H
#define MINITOOLBARS_OPTIONS_H

#include "MTBxString.h"
#include "MiniToolbarsGlobal.h"

namespace MiniToolbars {

/// Global display options, applied through Controller::setOptions(). A plain
/// value: defaults are the light theme, the default icons, scaling factor 1 and
/// auto fade on.
/// \ingroup control
class MINITOOLBARS_EXPORT Options
{
public:
    /// A fixed underlying type: hosts may hand in any int; unknown themes are ignored.
    /// @{
    enum Theme : int { Light = 0, Dark = 1 };
    /// Stored and handed back; no behaviour depends on it.
    enum IconTheme : int { DefaultIcons = 0, AlternateIcons = 1 };
    /// How a toolbar's window lies over the host's window.
    /// - TopLevelWindows: a frameless window of its own, which may reach
    ///   beyond the host's window. Needs a platform that places windows where
    ///   asked (X11).
    /// - OverlayWindows: a translucent child widget inside the host's top-level
    ///   window, placed in that window's coordinates; it works on every
    ///   platform, Wayland included, but cannot reach beyond the host's window:
    ///   a toolbar shown partly outside it is shifted inside. It needs the
    ///   host's window to be a Qt widget of this process (the parent HWND);
    ///   otherwise the toolbar gets a top-level window.
    /// - AutomaticWindows: overlays on Wayland, top-level windows elsewhere.
    enum WindowStrategy : int { AutomaticWindows = 0, TopLevelWindows = 1, OverlayWindows = 2 };
    /// @}

    /// The defaults listed above.
    Options();
    /// Plain copies.
    /// @{
    Options(const Options&) = default;
    Options& operator=(const Options&) = default;
    /// @}

    /// Multiplies every size and metric of the toolbars; default 1.
    float scalingFactor() const;
    /// Light or dark drawing; default Light.
    /// @{
    Theme theme() const;
    /// @}
    /// The icon set; default DefaultIcons.
    /// @{
    IconTheme iconTheme() const;
    /// @}
    /// Whether toolbars fade with the pointer's distance (for toolbars whose local
    /// auto fade is -1); default true.
    /// @{
    bool autoFade() const;

    /// @}
    /// The window strategy of toolbars shown for the first time from then on
    /// (a toolbar keeps its window until it is closed); default AutomaticWindows.
    /// @{
    WindowStrategy windowStrategy() const;
    void setWindowStrategy(WindowStrategy strategy);
    /// @}
    /// The Qt style sheet of combo box lists; default empty, which gives the
    /// theme's translucent background. A sheet set here is used as it is, in
    /// either theme.
    /// @{
    const MTBxString& popupStyleSheet() const;
    void setPopupStyleSheet(const MTBxString& sheet);
    /// @}
    /// Ignores zero, negative and non-finite values.
    void setScalingFactor(float factor);
    /// Stores any value; Controller::setOptions() ignores unknown themes.
    void setTheme(Theme theme);
    /// Stores the icon set.
    void setIconTheme(IconTheme iconTheme);
    /// Turns the global auto fade on or off.
    void setAutoFade(bool autoFade);

private:
    float m_scalingFactor;
    Theme m_theme;
    IconTheme m_iconTheme;
    bool m_autoFade;
    WindowStrategy m_windowStrategy;
    MTBxString m_popupStyleSheet;
};

} // namespace MiniToolbars

#endif
