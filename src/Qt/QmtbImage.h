#ifndef MINITOOLBARS_QMTBIMAGE_H
#define MINITOOLBARS_QMTBIMAGE_H

#include "MTBxImage.h"

#include <QImage>
#include <QString>

#include <memory>

class QPicture;
class QSvgRenderer;

namespace MiniToolbars {

// An icon from a file or Qt resource path ("png" or "svg"), a "res://module/type/name"
// module resource, encoded bytes or an icon handle. Vector sources gain a raster
// only through render().
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
    const QImage* raster() const { return m_raster.get(); }
    const QPicture* picture() const { return m_picture.get(); }
    bool isVector() const { return m_vector != nullptr; }
    const QString& path() const { return m_path; }

    // Larger rasters are refused, whether decoded or rendered from a vector.
    static constexpr int kMaxEdge = 4096;

    // Null when the bytes are no image Qt can decode, or one that is too large.
    static QmtbImage* fromData(const unsigned char* data, int length);

private:
    void loadModuleResource(const QString& module, const QString& type, const QString& name);
    void loadFromBytes(const QByteArray& bytes);
    void loadFile();

    std::unique_ptr<QImage> m_raster;
    std::unique_ptr<QPicture> m_picture;
    std::unique_ptr<QSvgRenderer> m_vector;
    QString m_path;
};

} // namespace MiniToolbars

#endif
