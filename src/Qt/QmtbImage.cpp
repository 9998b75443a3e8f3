#include "Qt/QmtbImage.h"
#include "Qt/QmtbLogging.h"

#include "Core/Backend.h"
#include "MiniToolbars/IconHandles.h"
#include "Platform/ModuleRegistry.h"
#include "Platform/RegularFile.h"
#include "Qt/ApplicationScoped.h"

#include <QBuffer>
#include <QCache>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPicture>
#include <QPixmap>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QUrl>
#include <QXmlStreamReader>
#include <QtEndian>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace MiniToolbars {

namespace {

bool acceptableSize(const QSize& size)
{
    return size.width() <= QmtbImage::kMaxEdge && size.height() <= QmtbImage::kMaxEdge;
}

bool isVectorFormat(const QByteArray& format)
{
    return format == "svg" || format == "svgz";
}

// Fixed-size header fields; the callers check that the bytes are there.
std::uint32_t littleEndian16(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

std::uint32_t littleEndian32(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

std::uint32_t bigEndian32(const QByteArray& bytes, int at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

// Every image of an icon directory, embedded PNG or bitmap, within the limit.
bool iconEntriesAcceptable(QIODevice& device)
{
    const qint64 start = device.pos();
    const QByteArray header = device.read(6);
    bool ok = header.size() == 6;
    const int count = ok ? static_cast<int>(littleEndian16(header, 4)) : 0;
    for (int i = 0; ok && i < count; ++i) {
        const qint64 entryAt = start + 6 + 16 * qint64(i);
        if (entryAt + 16 > device.size() || !device.seek(entryAt))
            break;
        const QByteArray entry = device.read(16);
        if (entry.size() < 16)
            break;
        const qint64 imageAt = start + littleEndian32(entry, 12);
        if (imageAt >= device.size() || !device.seek(imageAt))
            continue;
        const QByteArray image = device.read(24);
        if (image.startsWith("\x89PNG") && image.size() >= 24) {
            ok = bigEndian32(image, 16) <= std::uint32_t(QmtbImage::kMaxEdge)
                && bigEndian32(image, 20) <= std::uint32_t(QmtbImage::kMaxEdge);
        } else if (image.size() >= 12) {
            // A bitmap stores twice the height (colour and mask); both may be negative.
            const auto width = static_cast<std::int32_t>(littleEndian32(image, 4));
            const auto height = static_cast<std::int32_t>(littleEndian32(image, 8));
            ok = std::llabs(width) <= QmtbImage::kMaxEdge && std::llabs(height) <= 2LL * QmtbImage::kMaxEdge;
        }
    }
    device.seek(start);
    return ok;
}

// Some decoders allocate more than the size they declare: a GIF its logical
// screen, an icon file the images inside it. Those sizes are checked here.
bool containerSizesAcceptable(QIODevice& device)
{
    const QByteArray head = device.peek(10);
    if (head.startsWith("GIF8") && head.size() >= 10) {
        return littleEndian16(head, 6) <= std::uint32_t(QmtbImage::kMaxEdge)
            && littleEndian16(head, 8) <= std::uint32_t(QmtbImage::kMaxEdge);
    }
    if (head.size() >= 6 && head.at(0) == 0 && head.at(1) == 0 && (head.at(2) == 1 || head.at(2) == 2)
        && head.at(3) == 0)
        return iconEntriesAcceptable(device);
    return true;
}

// Qt's SVG reader loads every <image> it meets by name, relative to the
// document's folder (or the working folder for a document from memory). A
// FIFO or a device there would block the GUI thread or never end, so such a
// document is refused as a whole. Data URLs and missing files are harmless.
bool imageReferencesAcceptable(QIODevice& device, const QString& folder)
{
    // Read as Qt's SVG reader does, without namespace processing: it takes
    // "xlink:href" whether or not the prefix is declared.
    const auto localName = [](auto name) { return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1); };
    QXmlStreamReader xml(&device);
    xml.setNamespaceProcessing(false);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || localName(xml.name()) != QLatin1String("image"))
            continue;
        for (const QXmlStreamAttribute& attribute : xml.attributes()) {
            if (localName(attribute.qualifiedName()) != QLatin1String("href"))
                continue;
            const QString reference = attribute.value().toString().trimmed();
            if (reference.startsWith(QLatin1String("data")))
                continue;
            const QString target = QUrl(reference).isRelative() ? QDir(folder).absoluteFilePath(reference) : reference;
            const QFileInfo info(target);
            if (info.exists() && !info.isFile())
                return false;
        }
    }
    return true;
}

// Decodes from an open, seekable device. The size the format declares is
// checked before any pixel memory is allocated; a source that cannot declare
// its size is not decoded at all. SVG text, which Qt's image plugin rasterises,
// has its image references checked as a vector source's are; compressed, they
// cannot be seen, and it is refused. A refused or broken source gives a null image.
QImage decodeChecked(QIODevice& device)
{
    if (!containerSizesAcceptable(device))
        return QImage();
    const QByteArray format = QImageReader::imageFormat(&device);
    if (format == "svgz")
        return QImage();
    if (format == "svg") {
        const auto* file = qobject_cast<const QFile*>(&device);
        const QString folder = file ? QFileInfo(file->fileName()).absolutePath() : QDir::currentPath();
        const qint64 start = device.pos();
        if (!imageReferencesAcceptable(device, folder) || !device.seek(start))
            return QImage();
    }
    QImageReader reader(&device);
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.isEmpty() || !acceptableSize(declared))
        return QImage();
    QImage image;
    if (!reader.read(&image) || !acceptableSize(image.size()))
        return QImage();
    return image;
}

// The document Qt parses is the one that was checked: a compressed one, whose
// references cannot be seen beforehand, is not inflated and fails to load.
std::shared_ptr<QSvgRenderer> loadSvg(QIODevice& device, const QString& folder)
{
    if (!imageReferencesAcceptable(device, folder) || !device.seek(0))
        return nullptr;
    auto vector = std::make_shared<QSvgRenderer>();
    QXmlStreamReader xml(&device);
    if (!vector->load(&xml))
        return nullptr;
    return vector;
}

// A decoded source: a raster, or a parsed SVG with an id that names its rasters.
struct Source
{
    QString path;
    QImage raster;
    std::shared_ptr<QSvgRenderer> vector;
    quint64 vectorId = 0;
};

struct RasterKey
{
    quint64 vectorId;
    int height;
    int ratioPermille;
};

bool operator==(const RasterKey& a, const RasterKey& b)
{
    return a.vectorId == b.vectorId && a.height == b.height && a.ratioPermille == b.ratioPermille;
}

uint qHash(const RasterKey& key, uint seed = 0)
{
    return ::qHash(key.vectorId, seed) ^ ::qHash(key.height * 4099 + key.ratioPermille, seed);
}

// Sources by path or by their encoded bytes, and rasters by vector, height and
// pixel ratio; each bounded by bytes, least recently used first out. A scale or
// theme change only asks for other keys, and the old ones age out.
struct ImageCaches
{
    QCache<QString, Source> files{QmtbImage::kSourceCacheBytes};
    QCache<QByteArray, Source> encoded{QmtbImage::kSourceCacheBytes};
    QCache<RasterKey, QImage> rasters{QmtbImage::kRasterCacheBytes};
    quint64 nextVectorId = 1;
};

// What a cached source is charged: its pixels, or a guess for a parsed SVG.
int sourceCost(const Source& source, qsizetype keyBytes)
{
    const qsizetype bytes = keyBytes + (source.vector ? 16 * 1024 : source.raster.sizeInBytes());
    return static_cast<int>(std::min<qsizetype>(bytes, 1 << 30));
}

ImageCaches& caches()
{
    return applicationScoped<ImageCaches>();
}

const Source* cachedSource(const QByteArray& key)
{
    return caches().encoded.object(key);
}

const Source* cachedFile(const QString& path)
{
    return caches().files.object(path);
}

// Returns the id that the source's rasters are cached under (0 for a raster).
template <typename Key>
quint64 cacheSource(QCache<Key, Source>& cache, const Key& key, Source source)
{
    if (source.vector)
        source.vectorId = caches().nextVectorId++;
    const quint64 id = source.vectorId;
    const int cost = sourceCost(source, key.size() * qsizetype(sizeof(key.at(0))));
    cache.insert(key, new Source(std::move(source)), cost);
    return id;
}

int ratioPermille(qreal ratio)
{
    return static_cast<int>(std::lround(ratio * 1000));
}

// The vector at the given logical height on a device of the given ratio: height
// times ratio pixels high, aspect kept, fully transparent where the SVG paints
// nothing. Null for an empty document or an unreasonable size.
QImage rasterise(QSvgRenderer& vector, quint64 vectorId, int height, qreal ratio)
{
    const RasterKey key{vectorId, height, ratioPermille(ratio)};
    if (vectorId) {
        if (const QImage* cached = caches().rasters.object(key))
            return *cached;
    }
    // A document that failed to parse counts as 0 by 0 (Qt reports -1 by -1).
    const QSize defaultSize = vector.isValid() ? vector.defaultSize().expandedTo(QSize(0, 0)) : QSize(0, 0);
    const int deviceHeight = ratio == 1.0 ? height : static_cast<int>(std::lround(height * ratio));
    const QSize target = defaultSize.scaled(0, deviceHeight, Qt::KeepAspectRatioByExpanding);
    if (defaultSize.isEmpty() || target.isEmpty() || !acceptableSize(target))
        return QImage();
    QImage raster(target, QImage::Format_ARGB32_Premultiplied);
    raster.fill(0);
    QPainter painter(&raster);
    vector.render(&painter, QRectF(QPointF(0, 0), QSizeF(target)));
    painter.end();
    raster.setDevicePixelRatio(ratio);
    if (vectorId)
        caches().rasters.insert(key, new QImage(raster), static_cast<int>(std::min<qsizetype>(raster.sizeInBytes(), 1 << 30)));
    return raster;
}

} // namespace

QmtbImage::QmtbImage(const MTBxString& reference)
    : MTBxImage(reference)
{
    // Looked up through a reused buffer; a known path shares the cached copy.
    static QString s_lookup;
    s_lookup.setUtf16(static_cast<const unsigned short*>(reference), static_cast<int>(reference.length()));
    if (const Source* known = cachedFile(s_lookup)) {
        m_path = known->path;
        if (known->vector)
            m_vector = known->vector;
        else
            m_raster = known->raster;
        m_vectorId = known->vectorId;
        return;
    }
    m_path = QString(s_lookup.constData(), s_lookup.size());
    static const QRegularExpression moduleReference(QStringLiteral("res://(.*)/(.+)/(.+)"));
    if (m_path.startsWith(QLatin1String("res://"))) {
        const QRegularExpressionMatch match = moduleReference.match(m_path);
        if (match.hasMatch() && match.capturedStart(0) == 0)
            loadModuleResource(match.captured(1), match.captured(2), match.captured(3));
    }
    if (!m_raster && !m_vector)
        loadFile();
}

QmtbImage::QmtbImage(const QImage& raster)
    : MTBxImage(MTBxString())
    , m_raster(raster)
{
}

QmtbImage::~QmtbImage() = default;

float QmtbImage::width() const
{
    return m_raster ? static_cast<float>(m_raster->width()) : -1.0f;
}

float QmtbImage::height() const
{
    return m_raster ? static_cast<float>(m_raster->height()) : -1.0f;
}

QImage QmtbImage::rasterFor(qreal devicePixelRatio) const
{
    if (!m_raster)
        return QImage();
    if (!m_vector || m_raster->isNull() || !std::isfinite(devicePixelRatio) || devicePixelRatio <= 0
        || devicePixelRatio == m_raster->devicePixelRatio())
        return *m_raster;
    return rasterise(*m_vector, m_vectorId, m_renderedHeight, devicePixelRatio);
}

void QmtbImage::loadFile()
{
    const bool png = m_path.endsWith(QLatin1String("png"));
    if (!png && !m_path.endsWith(QLatin1String("svg")))
        return;
    // Failures are not kept: a file that appears later is found then.
    Source source;
    source.path = m_path;
    // Only regular files (or Qt resources) are read: a FIFO would block.
    const std::unique_ptr<QFile> file = openRegularFile(m_path);
    if (png) {
        m_raster.emplace(file ? decodeChecked(*file) : QImage());
        if (m_raster->isNull()) {
            qCWarning(lcMiniToolbars) << "cannot load the image" << m_path;
            return;
        }
        source.raster = *m_raster;
    } else {
        // A file that cannot be read or parsed still gives an (invalid) vector.
        m_vector = file ? loadSvg(*file, QFileInfo(m_path).absolutePath()) : nullptr;
        if (!m_vector) {
            qCWarning(lcMiniToolbars) << "cannot load the image" << m_path;
            m_vector = std::make_shared<QSvgRenderer>();
            return;
        }
        source.vector = m_vector;
    }
    m_vectorId = cacheSource(caches().files, m_path, std::move(source));
}

void QmtbImage::loadModuleResource(const QString& module, const QString& type, const QString& name)
{
    m_raster.reset();
    m_vector.reset();

    bool loadedHere = false;
    HMODULE handle = ModuleRegistry::moduleHandle(module);
    if (!handle) {
        handle = ModuleRegistry::loadAsDataFile(module);
        loadedHere = handle != nullptr;
    }
    if (!handle) {
        qCWarning(lcMiniToolbars) << "cannot read the resource module" << module;
        return;
    }

    ResourceBytes bytes;
    if (ModuleRegistry::findResource(handle, type, name, &bytes) && bytes.data && bytes.size > 0
        && bytes.size <= static_cast<unsigned int>(std::numeric_limits<int>::max())) {
        // The bytes stay in the module; nothing is copied before decoding.
        loadFromBytes(QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data),
                                              static_cast<int>(bytes.size)));
    } else {
        qCWarning(lcMiniToolbars) << "no resource" << type << name << "in the module" << module;
    }

    if (loadedHere)
        ModuleRegistry::free(handle);
}

void QmtbImage::loadFromBytes(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    // SVG text becomes a vector image, rasterised on demand like an SVG file.
    if (!isVectorFormat(QImageReader::imageFormat(&buffer))) {
        buffer.seek(0);
        QImage image = decodeChecked(buffer);
        if (!image.isNull()) {
            // The decoded image must not refer to the module that is about to go.
            image.detach();
            m_raster.emplace(image);
            return;
        }
    }
    m_raster.reset();
    buffer.seek(0);
    m_vector = loadSvg(buffer, QDir::currentPath());
    if (!m_vector)
        qCWarning(lcMiniToolbars) << "cannot decode" << bytes.size() << "bytes of image data";
}

void QmtbImage::render(float size, float angle, bool asPicture)
{
    if (!m_vector)
        return;
    // A document that failed to parse counts as 0 by 0 (Qt reports -1 by -1).
    const QSize defaultSize = m_vector->isValid() ? m_vector->defaultSize().expandedTo(QSize(0, 0)) : QSize(0, 0);

    if (asPicture) {
        m_picture.reset();
        if (defaultSize.height() <= 0 || !std::isfinite(size) || !std::isfinite(angle))
            return;
        auto picture = std::make_unique<QPicture>();
        QPainter painter(picture.get());
        const qreal scale = size / defaultSize.height();
        painter.scale(scale, scale);
        painter.rotate(-angle);
        painter.translate(-defaultSize.width() / 2, -defaultSize.height() / 2);
        m_vector->render(&painter, QRectF(QPointF(0, 0), QSizeF(defaultSize)));
        painter.end();
        m_picture = std::move(picture);
        return;
    }

    m_raster.reset();
    // NaN, negative and oversized requests give an empty raster rather than a
    // truncation into garbage or an allocation the size of the address space.
    m_renderedHeight = (std::isfinite(size) && size >= 0.0f && size <= kMaxEdge)
        ? static_cast<int>(std::trunc(size)) : 0;
    m_raster.emplace(rasterise(*m_vector, m_vectorId, m_renderedHeight, 1.0));
}

QmtbImage* QmtbImage::fromData(const unsigned char* data, int length)
{
    if (!data || length <= 0)
        return nullptr;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), length);
    if (const Source* source = cachedSource(bytes))
        return new QmtbImage(source->raster);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImage image = decodeChecked(buffer);
    if (image.isNull())
        return nullptr;
    image.detach();
    Source source;
    source.raster = image;
    // The host's bytes may change after this call: the key is a copy.
    cacheSource(caches().encoded, QByteArray(bytes.constData(), bytes.size()), std::move(source));
    return new QmtbImage(image);
}

// Not cached: a handle names no content for good, it can be destroyed (and a
// native one reused for another icon) while its value stays the same.
QmtbImage* QmtbImage::fromIconHandle(HICON icon)
{
    return new QmtbImage(pixmapFromIconHandle(icon).toImage());
}

} // namespace MiniToolbars
