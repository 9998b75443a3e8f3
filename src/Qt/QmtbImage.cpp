#include "QmtbImage.h"

#include "Factories.h"
#include "IconHandles.h"
#include "ModuleRegistry.h"
#include "RegularFile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPicture>
#include <QPixmap>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QUrl>
#include <QXmlStreamReader>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace MiniToolbars {

namespace {

QString toQString(const MTBxString& text)
{
    return QString::fromUtf16(static_cast<const unsigned short*>(text));
}

bool acceptableSize(const QSize& size)
{
    return size.width() <= QmtbImage::kMaxEdge && size.height() <= QmtbImage::kMaxEdge;
}

bool isVectorFormat(const QByteArray& format)
{
    return format == "svg" || format == "svgz";
}

std::uint32_t littleEndian(const QByteArray& bytes, int at, int length)
{
    std::uint32_t value = 0;
    for (int i = length - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

std::uint32_t bigEndian32(const QByteArray& bytes, int at)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

// Every image of an icon directory, embedded PNG or bitmap, within the limit.
bool iconEntriesAcceptable(QIODevice& device)
{
    const qint64 start = device.pos();
    const QByteArray header = device.read(6);
    bool ok = header.size() == 6;
    const int count = ok ? static_cast<int>(littleEndian(header, 4, 2)) : 0;
    for (int i = 0; ok && i < count; ++i) {
        const qint64 entryAt = start + 6 + 16 * qint64(i);
        if (entryAt + 16 > device.size() || !device.seek(entryAt))
            break;
        const QByteArray entry = device.read(16);
        if (entry.size() < 16)
            break;
        const qint64 imageAt = start + littleEndian(entry, 12, 4);
        if (imageAt >= device.size() || !device.seek(imageAt))
            continue;
        const QByteArray image = device.read(24);
        if (image.startsWith("\x89PNG") && image.size() >= 24) {
            ok = bigEndian32(image, 16) <= std::uint32_t(QmtbImage::kMaxEdge)
                && bigEndian32(image, 20) <= std::uint32_t(QmtbImage::kMaxEdge);
        } else if (image.size() >= 12) {
            // A bitmap stores twice the height (colour and mask); both may be negative.
            const auto width = static_cast<std::int32_t>(littleEndian(image, 4, 4));
            const auto height = static_cast<std::int32_t>(littleEndian(image, 8, 4));
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
        return littleEndian(head, 6, 2) <= std::uint32_t(QmtbImage::kMaxEdge)
            && littleEndian(head, 8, 2) <= std::uint32_t(QmtbImage::kMaxEdge);
    }
    if (head.size() >= 6 && head.at(0) == 0 && head.at(1) == 0 && (head.at(2) == 1 || head.at(2) == 2)
        && head.at(3) == 0)
        return iconEntriesAcceptable(device);
    return true;
}

// Decodes from an open, seekable device. The size the format declares is
// checked before any pixel memory is allocated; a source that cannot declare
// its size is not decoded at all. A refused or broken source gives a null image.
QImage decodeChecked(QIODevice& device)
{
    if (!containerSizesAcceptable(device))
        return QImage();
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.isEmpty() || !acceptableSize(declared))
        return QImage();
    QImage image;
    if (!reader.read(&image) || !acceptableSize(image.size()))
        return QImage();
    return image;
}

// Qt's SVG reader loads every <image> it meets by name, relative to the
// document's folder (or the working folder for a document from memory). A
// FIFO or a device there would block the GUI thread or never end, so such a
// document is refused as a whole. Data URLs and missing files are harmless.
bool imageReferencesAcceptable(QIODevice& device, const QString& folder)
{
    // Read as Qt's SVG reader does, without namespace processing: it takes
    // "xlink:href" whether or not the prefix is declared.
    const auto localName = [](const QStringRef& name) { return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1); };
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

// The document Qt parses is the one that was checked: a compressed one, whose
// references cannot be seen beforehand, is not inflated and fails to load.
std::unique_ptr<QSvgRenderer> loadSvg(QIODevice& device, const QString& folder)
{
    if (!imageReferencesAcceptable(device, folder) || !device.seek(0))
        return nullptr;
    auto vector = std::make_unique<QSvgRenderer>();
    QXmlStreamReader xml(&device);
    if (!vector->load(&xml))
        return nullptr;
    return vector;
}

} // namespace

QmtbImage::QmtbImage(const MTBxString& reference)
    : MTBxImage(reference)
    , m_path(toQString(reference))
{
    static const QRegularExpression moduleReference(QStringLiteral("res://(.*)/(.+)/(.+)"));
    const QRegularExpressionMatch match = moduleReference.match(m_path);
    if (match.hasMatch() && match.capturedStart(0) == 0)
        loadModuleResource(match.captured(1), match.captured(2), match.captured(3));
    if (!m_raster && !m_vector)
        loadFile();
}

QmtbImage::QmtbImage(const QImage& raster)
    : MTBxImage(MTBxString())
    , m_raster(std::make_unique<QImage>(raster))
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

void QmtbImage::loadFile()
{
    const QString suffix = m_path.right(3);
    // Only regular files (or Qt resources) are read: a FIFO would block.
    const std::unique_ptr<QFile> file = suffix == QLatin1String("png") || suffix == QLatin1String("svg")
        ? openRegularFile(m_path) : nullptr;
    if (suffix == QLatin1String("png")) {
        m_raster = std::make_unique<QImage>(file ? decodeChecked(*file) : QImage());
    } else if (suffix == QLatin1String("svg")) {
        // A file that cannot be read or parsed still gives a (invalid) vector.
        m_vector = file ? loadSvg(*file, QFileInfo(m_path).absolutePath()) : nullptr;
        if (!m_vector)
            m_vector = std::make_unique<QSvgRenderer>();
    }
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
    if (!handle)
        return;

    ResourceBytes bytes;
    if (ModuleRegistry::findResource(handle, type, name, &bytes) && bytes.data && bytes.size > 0
        && bytes.size <= static_cast<unsigned int>(std::numeric_limits<int>::max())) {
        // The bytes stay in the module; nothing is copied before decoding.
        loadFromBytes(QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data),
                                              static_cast<int>(bytes.size)));
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
            m_raster = std::make_unique<QImage>(image);
            return;
        }
    }
    m_raster.reset();
    buffer.seek(0);
    m_vector = loadSvg(buffer, QDir::currentPath());
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
    const int targetHeight = (std::isfinite(size) && size >= 0.0f && size <= kMaxEdge)
        ? static_cast<int>(std::trunc(size)) : 0;
    const QSize target = defaultSize.scaled(0, targetHeight, Qt::KeepAspectRatioByExpanding);
    if (defaultSize.isEmpty() || target.isEmpty() || !acceptableSize(target)) {
        m_raster = std::make_unique<QImage>();
        return;
    }
    auto raster = std::make_unique<QImage>(target, QImage::Format_ARGB32_Premultiplied);
    raster->fill(0);
    QPainter painter(raster.get());
    m_vector->render(&painter, QRectF(QPointF(0, 0), QSizeF(target)));
    painter.end();
    m_raster = std::move(raster);
}

QmtbImage* QmtbImage::fromData(const unsigned char* data, int length)
{
    if (!data || length <= 0)
        return nullptr;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), length);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImage image = decodeChecked(buffer);
    if (image.isNull())
        return nullptr;
    image.detach();
    return new QmtbImage(image);
}

MTBxImage* createImage(const MTBxString& reference)
{
    return new QmtbImage(reference);
}

MTBxImage* createImageFromData(const unsigned char* data, int length)
{
    return QmtbImage::fromData(data, length);
}

MTBxImage* createImageFromIcon(HICON icon)
{
    return new QmtbImage(pixmapFromIconHandle(icon).toImage());
}

} // namespace MiniToolbars
