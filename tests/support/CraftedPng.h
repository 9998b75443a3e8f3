#ifndef MINITOOLBARS_TESTS_CRAFTEDPNG_H
#define MINITOOLBARS_TESTS_CRAFTEDPNG_H

// Image bytes for tests: PNG files built byte by byte, so tests can announce
// sizes that no encoder would be asked to produce, and plainly encoded ones.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QtEndian>

#include <cstdint>

namespace CraftedPng {

inline QByteArray bigEndian32(std::uint32_t value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// Length, tag, data and the CRC-32 of tag and data.
inline QByteArray chunk(const char* tag, const QByteArray& data)
{
    const QByteArray tagged = QByteArray(tag, 4) + data;
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : tagged) {
        crc ^= static_cast<unsigned char>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return bigEndian32(static_cast<std::uint32_t>(data.size())) + tagged + bigEndian32(~crc);
}

// A 1-bit greyscale PNG of the given size: with all rows present and zero, which
// compresses to almost nothing, or a header announcing the size and 64 bytes behind it.
inline QByteArray greyscale(std::uint32_t width, std::uint32_t height, bool withRows)
{
    // Bit depth 1, greyscale, then compression, filter and interlace 0.
    const QByteArray header = bigEndian32(width) + bigEndian32(height) + QByteArray("\1\0\0\0\0", 5);
    const int rows = withRows ? (1 + static_cast<int>((width + 7) / 8)) * static_cast<int>(height) : 64;
    // qCompress prefixes the zlib stream with a 4-byte length.
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header)
        + chunk("IDAT", qCompress(QByteArray(rows, '\0'), 9).mid(4)) + chunk("IEND", QByteArray());
}

// A plain image of one colour, encoded the ordinary way.
inline QByteArray encoded(int width, int height, const QColor& colour = QColor(20, 120, 220), const char* format = "PNG")
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, format) ? bytes : QByteArray();
}

// A 20 x 10 red rectangle as SVG.
inline const QByteArray wideSvg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"20\" height=\"10\">"
                                  "<rect width=\"20\" height=\"10\" fill=\"red\"/></svg>";

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace CraftedPng

#endif
