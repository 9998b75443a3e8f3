#ifndef MINITOOLBARS_QMTBFACECACHE_H
#define MINITOOLBARS_QMTBFACECACHE_H

#include <QFont>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

#include <vector>

namespace MiniToolbars {

class Style;

// Everything a face is drawn from. Equal keys draw equal pixels, so a face is
// found again after a relayout has replaced the item views, and a change of
// caption, icon, check state, look, width, theme, scale or pixel ratio simply
// asks for another face.
struct FaceKey
{
    struct Part
    {
        int kind;
        int x;
        int width;
        qint64 raster;
    };

    QSize size;
    int ratioPermille = 1000;
    int theme = 0;
    float scaling = 1.0f;
    int xHeight = 0;
    int itemHeight = 0;
    int fontPointSize = 0;
    unsigned flags = 0;
    QRectF subArea;
    std::vector<Part> parts;
    QString text;
    QFont font;
};

bool operator==(const FaceKey::Part& a, const FaceKey::Part& b);
bool operator==(const FaceKey& a, const FaceKey& b);
uint qHash(const FaceKey& key, uint seed = 0);

enum FaceFlag : unsigned {
    GripFace = 1u << 0,
    PressedFace = 1u << 1,
    PressedSubAreaFace = 1u << 2,
    HoverLook = 1u << 3,
    ActiveLook = 1u << 4,
    SubAreaPass = 1u << 5,
    SubAreaHoverLook = 1u << 6,
    SubAreaActiveLook = 1u << 7,
    RoundLeft = 1u << 8,
    RoundRight = 1u << 9,
    CheckedFace = 1u << 10,
};

struct Face
{
    QImage image;
    // Opaque where drawing the item first clears what lies beneath it.
    QImage cleared;
    quint64 lastUsed = 0;
};

qsizetype faceBytes(const Face& face);
// A transparent image of size logical pixels at the given ratio.
QImage blankImage(const QSize& size, qreal pixelRatio);

// Faces of the last paints, bounded by bytes; what the current paint uses is
// never dropped during it.
struct QmtbFaceCache
{
    static constexpr qsizetype kByteLimit = 8 << 20;

    QHash<FaceKey, Face> faces;
    qsizetype bytes = 0;
    quint64 paint = 0;
    // The style the faces were drawn with; another one makes them all useless.
    int theme = -1;
    float scaling = 0.0f;
    int xHeight = -1;
    int itemHeight = -1;

    // Forgets every face when the style's theme, scale or metrics changed.
    void forgetOtherStyles(const Style& style);

    // Drops the faces no current paint uses, oldest first, down to the limit.
    void trim();
};

} // namespace MiniToolbars

#endif
