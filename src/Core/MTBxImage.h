#ifndef MINITOOLBARS_MTBXIMAGE_H
#define MINITOOLBARS_MTBXIMAGE_H

#include "MiniToolbars/MTBxString.h"

namespace MiniToolbars {

// An icon: a raster, or a vector source rasterised by render().
class MTBxImage
{
public:
    explicit MTBxImage(const MTBxString& reference) : m_reference(reference) {}
    virtual ~MTBxImage() = default;
    MTBxImage(const MTBxImage&) = delete;
    MTBxImage& operator=(const MTBxImage&) = delete;

    // Size of the current raster; -1 when there is none.
    virtual float width() const = 0;
    virtual float height() const = 0;
    // Produces the raster at the given edge length. The core passes angle 0 and asPicture false.
    virtual void render(float size, float angle, bool asPicture) = 0;

    const MTBxString& reference() const { return m_reference; }

private:
    MTBxString m_reference;
};

} // namespace MiniToolbars

#endif
