#ifndef MINITOOLBARS_TESTS_FUZZTARGETS_H
#define MINITOOLBARS_TESTS_FUZZTARGETS_H

// The entry points shared by the libFuzzer targets and the regression test
// that replays their saved inputs. Each returns false when an invariant broke.

#include "Factories.h"
#include "MTBxImage.h"
#include "PeResourceReader.h"
#include "QmtbImage.h"

#include <QString>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace FuzzTargets {

// Looks up a spread of resource keys; every hit must lie inside the input.
inline bool peReader(const std::uint8_t* data, std::size_t size)
{
    const MiniToolbars::PeResourceReader reader(data, size);
    static const char* const keys[][2] = {
        {"PNG", "#101"}, {"#10", "LOGO"}, {"#10", "#1"}, {"#3", "#1"}, {"#14", "#1"}, {"#24", "#1"},
        {"PNG", "logo"}, {"SVG", "#1"}, {"#1", "#1"}, {"#0", "#0"},
    };
    for (const auto& key : keys) {
        const unsigned char* bytes = nullptr;
        std::uint32_t length = 0;
        if (!reader.find(MiniToolbars::ResourceKey::fromString(QString::fromLatin1(key[0])),
                         MiniToolbars::ResourceKey::fromString(QString::fromLatin1(key[1])), &bytes, &length))
            continue;
        if (!bytes || bytes < data || length > size || bytes - data > static_cast<std::ptrdiff_t>(size - length))
            return false;
    }
    return true;
}

// Decodes the bytes as an icon; whatever comes out must respect the size limit.
inline bool imageData(const std::uint8_t* data, std::size_t size)
{
    const int length = size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
    std::unique_ptr<MiniToolbars::MTBxImage> image(MiniToolbars::createImageFromData(data, length));
    if (!image)
        return true;
    const float limit = static_cast<float>(MiniToolbars::QmtbImage::kMaxEdge);
    image->render(16.0f, 0.0f, false);
    return image->width() >= 0.0f && image->width() <= limit && image->height() >= 0.0f && image->height() <= limit;
}

} // namespace FuzzTargets

#endif
