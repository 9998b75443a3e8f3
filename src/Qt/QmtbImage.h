#ifndef MINITOOLBARS_QMTBIMAGE_H
#define MINITOOLBARS_QMTBIMAGE_H

#include "Core/MTBxImage.h"

#include <QImage>
#include <QString>

#include <memory>
#include <optional>

class QPicture;
class QSvgRenderer;

namespace MiniToolbars {

// An icon from a file or Qt resource path ("png" or "svg"), a "res://module/type/name"
// module resource, encoded bytes or an icon handle. Vector sources gain a raster
// only through render(). Sources decoded from paths and from bytes (not module
// resources or icon handles) and the rasters rendered from vectors are shared
// process-wide, so a relayout that builds its item views again neither decodes
// nor rasterises.
class QmtbImage : public MTBxImage
{
public:
    explicit QmtbImage(const MTBxString& reference);
    // An image made from an already decoded raster (bytes, icon handles).
    explicit QmtbImage(const QImage& raster);
    ~QmtbImage() override;

    float width() const override;
    float height() const override;
    void render(float size, float angle, bool asPicture) override;

    // What the renderer draws; null when there is none.
    const QImage* raster() const { return m_raster ? &*m_raster : nullptr; }
    // The raster for a device of the given pixel ratio, with that ratio set: a
    // vector source is rasterised at the last render size times the ratio, a
    // raster source is returned as it is. Null when there is no raster.
    QImage rasterFor(qreal devicePixelRatio) const;
    const QPicture* picture() const { return m_picture.get(); }
    bool isVector() const { return m_vector != nullptr; }
    const QString& path() const { return m_path; }

    // Larger rasters are refused, whether decoded or rendered from a vector.
    static constexpr int kMaxEdge = 4096;
    // Byte budgets of the shared caches: decoded sources by path and by bytes, and rasters.
    static constexpr int kSourceCacheBytes = 16 << 20;
    static constexpr int kRasterCacheBytes = 8 << 20;

    // Null when the bytes are no image Qt can decode, or one that is too large.
    static QmtbImage* fromData(const unsigned char* data, int length);
    // The image of an icon handle; an unknown handle gives a null raster.
    static QmtbImage* fromIconHandle(HICON icon);

private:
    void loadModuleResource(const QString& module, const QString& type, const QString& name);
    void loadFromBytes(const QByteArray& bytes);
    void loadFile();

    std::optional<QImage> m_raster;
    std::unique_ptr<QPicture> m_picture;
    // Shared with every image of the same source; only rendered from.
    std::shared_ptr<QSvgRenderer> m_vector;
    quint64 m_vectorId = 0;
    int m_renderedHeight = 0;
    QString m_path;
};

} // namespace MiniToolbars

#endif
