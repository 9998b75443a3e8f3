#include "Qt/QmtbFaceCache.h"

#include "Core/Style.h"
#include "Core/ThemePalette.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace MiniToolbars {

bool operator==(const FaceKey::Part& a, const FaceKey::Part& b)
{
    return a.kind == b.kind && a.x == b.x && a.width == b.width && a.raster == b.raster;
}

bool operator==(const FaceKey& a, const FaceKey& b)
{
    return a.size == b.size && a.ratioPermille == b.ratioPermille && a.theme == b.theme
        && a.scaling == b.scaling && a.xHeight == b.xHeight && a.itemHeight == b.itemHeight
        && a.fontPointSize == b.fontPointSize && a.flags == b.flags && a.subArea == b.subArea
        && a.parts == b.parts && a.text == b.text && a.font == b.font;
}

uint qHash(const FaceKey& key, uint seed)
{
    uint h = seed;
    const auto mix = [&h](uint value) { h = h * 31u + value; };
    mix(uint(key.size.width()));
    mix(uint(key.size.height()));
    mix(uint(key.ratioPermille));
    mix(uint(key.theme));
    mix(uint(key.itemHeight));
    mix(key.flags);
    for (const FaceKey::Part& part : key.parts) {
        mix(uint(part.kind));
        mix(uint(part.x));
        mix(uint(part.width));
        mix(::qHash(part.raster));
    }
    mix(::qHash(key.text));
    return h;
}

qsizetype faceBytes(const Face& face)
{
    return face.image.sizeInBytes() + face.cleared.sizeInBytes();
}

QImage blankImage(const QSize& size, qreal pixelRatio)
{
    QImage image(std::max(1, static_cast<int>(std::ceil(size.width() * pixelRatio))),
                 std::max(1, static_cast<int>(std::ceil(size.height() * pixelRatio))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(0);
    return image;
}

void QmtbFaceCache::trim()
{
    if (bytes <= kByteLimit)
        return;
    std::vector<std::pair<quint64, FaceKey>> aged;
    for (auto it = faces.cbegin(); it != faces.cend(); ++it) {
        if (it->lastUsed < paint)
            aged.emplace_back(it->lastUsed, it.key());
    }
    std::sort(aged.begin(), aged.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& entry : aged) {
        if (bytes <= kByteLimit)
            break;
        const auto it = faces.find(entry.second);
        bytes -= faceBytes(*it);
        faces.erase(it);
    }
}

void QmtbFaceCache::forgetOtherStyles(const Style& style)
{
    if (theme == style.palette().theme() && scaling == style.scalingFactor()
        && xHeight == style.xHeight() && itemHeight == style.itemHeight())
        return;
    faces.clear();
    bytes = 0;
    theme = style.palette().theme();
    scaling = style.scalingFactor();
    xHeight = style.xHeight();
    itemHeight = style.itemHeight();
}

} // namespace MiniToolbars
