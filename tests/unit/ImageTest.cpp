#include "CraftedPng.h"
#include "Factories.h"
#include "MTBxImage.h"
#include "QmtbImage.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace MiniToolbars;

namespace {

using CraftedPng::encoded;
using CraftedPng::writeFile;

std::unique_ptr<MTBxImage> imageFrom(const QString& reference)
{
    return std::unique_ptr<MTBxImage>(createImage(MTBxString(reference.toStdWString().c_str())));
}

std::unique_ptr<MTBxImage> imageFromBytes(const QByteArray& bytes)
{
    return std::unique_ptr<MTBxImage>(
        createImageFromData(reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size()));
}

QByteArray littleEndian(quint32 value, int length)
{
    QByteArray bytes;
    for (int i = 0; i < length; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    return bytes;
}

// A GIF with the given logical screen and one 1 x 1 frame.
QByteArray gif(quint16 screenWidth, quint16 screenHeight)
{
    return QByteArray("GIF89a") + littleEndian(screenWidth, 2) + littleEndian(screenHeight, 2)
        + QByteArray("\x80\x00\x00\x00\x00\x00\xff\xff\xff", 9) + QByteArray(",\0\0\0\0", 5)
        + littleEndian(1, 2) + littleEndian(1, 2) + QByteArray("\x00\x02\x02\x44\x01\x00;", 8);
}

// An icon file whose directory announces 16 x 16 for the given embedded image.
QByteArray icon(const QByteArray& embedded)
{
    return littleEndian(0, 2) + littleEndian(1, 2) + littleEndian(1, 2) + QByteArray("\x10\x10\x00\x00", 4)
        + littleEndian(1, 2) + littleEndian(32, 2) + littleEndian(static_cast<quint32>(embedded.size()), 4)
        + littleEndian(22, 4) + embedded;
}

long peakResidentKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A vector image has no raster until render, which rasterises at the truncated height.
TEST(ImageTest, shouldRasteriseVectorImagesAtTheTruncatedHeight)
{
    auto image = imageFrom(QStringLiteral(":/MiniToolbars/Options_L.svg"));
    auto* qimage = static_cast<QmtbImage*>(image.get());
    EXPECT_TRUE(qimage->isVector());
    EXPECT_EQ(image->width(), -1.0f);
    EXPECT_EQ(image->height(), -1.0f);

    image->render(16.9f, 0.0f, false);
    EXPECT_EQ(image->height(), 16.0f);
    EXPECT_EQ(image->width(), 14.0f); // 16 * 11 / 12 in integer arithmetic
    ASSERT_NE(qimage->raster(), nullptr);
    EXPECT_EQ(qimage->raster()->format(), QImage::Format_ARGB32_Premultiplied);

    // Rendering again replaces the raster at the new size.
    image->render(32.0f, 0.0f, false);
    EXPECT_EQ(image->height(), 32.0f);
    EXPECT_EQ(image->width(), 29.0f);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wide.svg"));
    ASSERT_TRUE(writeFile(path, CraftedPng::wideSvg));
    auto file = imageFrom(path);
    file->render(7.0f, 0.0f, false);
    EXPECT_EQ(file->height(), 7.0f);
    EXPECT_EQ(file->width(), 14.0f);
}

// Sizes that name no raster, or one too large, leave an empty raster instead of garbage.
TEST(ImageTest, shouldRefuseUnreasonableRenderSizes)
{
    auto image = imageFrom(QStringLiteral(":/MiniToolbars/menuArrowDown_L.svg"));
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), -5.0f, 0.0f, 5000.0f, 1e30f}) {
        image->render(bad, 0.0f, false);
        EXPECT_EQ(image->width(), 0.0f);
    }
    // 9:6 at a height of 3000 would be 4500 wide.
    image->render(3000.0f, 0.0f, false);
    EXPECT_EQ(image->width(), 0.0f);
    image->render(2000.0f, 0.0f, false);
    EXPECT_EQ(image->width(), 3000.0f);

    // The picture form records a drawing and leaves the raster alone.
    image->render(12.0f, 90.0f, true);
    EXPECT_NE(static_cast<QmtbImage*>(image.get())->picture(), nullptr);
    EXPECT_EQ(image->width(), 3000.0f);
}

// A PNG keeps its pixel size; only a lower-case "png" or "svg" ending is loaded.
TEST(ImageTest, shouldLoadFilesByTheirCaseSensitiveEnding)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("icon.png"));
    ASSERT_TRUE(writeFile(png, encoded(10, 7)));
    auto image = imageFrom(png);
    EXPECT_EQ(image->width(), 10.0f);
    EXPECT_EQ(image->height(), 7.0f);
    image->render(32.0f, 0.0f, false);
    EXPECT_EQ(image->width(), 10.0f);
    EXPECT_EQ(image->height(), 7.0f);

    const QString upper = dir.filePath(QStringLiteral("icon.PNG"));
    ASSERT_TRUE(QFile::copy(png, upper));
    EXPECT_EQ(imageFrom(upper)->width(), -1.0f);

    // The format comes from the content, not from the ending.
    const QString jpegNamedPng = dir.filePath(QStringLiteral("photo.png"));
    ASSERT_TRUE(writeFile(jpegNamedPng, encoded(5, 4, QColor(20, 120, 220), "JPG")));
    EXPECT_EQ(imageFrom(jpegNamedPng)->width(), 5.0f);

    // A missing or broken PNG is a null raster that draws nothing.
    EXPECT_EQ(imageFrom(dir.filePath(QStringLiteral("missing.png")))->width(), 0.0f);
    const QString broken = dir.filePath(QStringLiteral("broken.png"));
    ASSERT_TRUE(writeFile(broken, encoded(10, 7).left(40)));
    EXPECT_EQ(imageFrom(broken)->height(), 0.0f);

    EXPECT_EQ(imageFrom(dir.filePath(QStringLiteral("icon.bmp")))->width(), -1.0f);
    EXPECT_EQ(imageFrom(QString())->width(), -1.0f);
    EXPECT_EQ(imageFrom(QStringLiteral("res://nowhere.dll/PNG/#1"))->width(), -1.0f);

    // A broken SVG parses to nothing and renders to an empty raster.
    const QString junkSvg = dir.filePath(QStringLiteral("junk.svg"));
    ASSERT_TRUE(writeFile(junkSvg, "<svg><unclosed"));
    auto junk = imageFrom(junkSvg);
    junk->render(16.0f, 0.0f, false);
    EXPECT_EQ(junk->width(), 0.0f);
}

// Encoded bytes give a raster image, or no object at all when they are no image.
TEST(ImageTest, shouldDecodeBytesOrGiveNoImage)
{
    auto image = imageFromBytes(encoded(12, 9));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width(), 12.0f);
    EXPECT_EQ(image->height(), 9.0f);
    EXPECT_TRUE(image->reference().empty());

    EXPECT_EQ(imageFromBytes(QByteArray("certainly not an image")), nullptr);
    EXPECT_EQ(imageFromBytes(encoded(12, 9).left(60)), nullptr);
    EXPECT_EQ(createImageFromData(nullptr, 100), nullptr);
    const unsigned char byte = 0x89;
    EXPECT_EQ(createImageFromData(&byte, 0), nullptr);
    EXPECT_EQ(createImageFromData(&byte, -4), nullptr);
}

// Declared sizes above 4096 pixels are refused before any pixel memory is taken.
TEST(ImageTest, shouldRefuseOversizedRastersBeforeDecoding)
{
    // A complete, valid 4097 x 4097 image (it would decode) and the largest accepted size.
    EXPECT_EQ(imageFromBytes(CraftedPng::greyscale(4097, 4097, true)), nullptr);
    EXPECT_EQ(imageFromBytes(CraftedPng::greyscale(4097, 1, true)), nullptr);
    auto largest = imageFromBytes(CraftedPng::greyscale(4096, 1, true));
    ASSERT_NE(largest, nullptr);
    EXPECT_EQ(largest->width(), 4096.0f);

    // A header announcing 60000 x 60000 (14 GB of pixels) costs no memory.
    const long before = peakResidentKb();
    EXPECT_EQ(imageFromBytes(CraftedPng::greyscale(60000, 60000, false)), nullptr);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.png"));
    ASSERT_TRUE(writeFile(path, CraftedPng::greyscale(60000, 60000, false)));
    EXPECT_EQ(imageFrom(path)->width(), 0.0f);
    EXPECT_LT(peakResidentKb() - before, 64 * 1024);
}

// Containers whose decoders allocate beyond the declared frame size are checked as well.
TEST(ImageTest, shouldRefuseContainersThatHideLargeImages)
{
    auto small = imageFromBytes(gif(1, 1));
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->width(), 1.0f);
    // The frame is 1 x 1, but the decoder would fill a 27905 x 8193 screen (870 MB).
    const long before = peakResidentKb();
    EXPECT_EQ(imageFromBytes(gif(27905, 8193)), nullptr);
    EXPECT_LT(peakResidentKb() - before, 64 * 1024);
    EXPECT_EQ(imageFromBytes(gif(4097, 1)), nullptr);

    auto ico = imageFromBytes(encoded(16, 16, QColor(20, 120, 220), "ICO"));
    ASSERT_NE(ico, nullptr);
    EXPECT_EQ(ico->width(), 16.0f);
    EXPECT_EQ(imageFromBytes(icon(CraftedPng::greyscale(60000, 60000, false))), nullptr);
    QByteArray bitmap = littleEndian(40, 4) + littleEndian(30000, 4) + littleEndian(60000, 4) + QByteArray(52, '\0');
    EXPECT_EQ(imageFromBytes(icon(bitmap)), nullptr);
    bitmap = littleEndian(40, 4) + littleEndian(0x80000000u, 4) + littleEndian(0x80000000u, 4) + QByteArray(52, '\0');
    EXPECT_EQ(imageFromBytes(icon(bitmap)), nullptr);
}

} // namespace
