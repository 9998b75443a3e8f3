#ifndef MINITOOLBARS_THEMECOLOR_H
#define MINITOOLBARS_THEMECOLOR_H

namespace MiniToolbars {

struct ThemeColor
{
    int red = 0;
    int green = 0;
    int blue = 0;
    int alpha = 255;

    ThemeColor() = default;
    ThemeColor(int r, int g, int b, int a) : red(r), green(g), blue(b), alpha(a) {}
    // Alpha declared as an opacity in [0, 1], stored as trunc(a * 255).
    static ThemeColor fromOpacity(int r, int g, int b, float opacity);

    bool operator==(const ThemeColor& o) const
    {
        return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
    }
};

} // namespace MiniToolbars

#endif
