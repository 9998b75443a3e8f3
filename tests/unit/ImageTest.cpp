// Images from files, encoded bytes, module resources and icon handles, and the
// hostile inputs among them: oversized, truncated, FIFOs, files that change.
#include "../fuzz/FuzzTargets.h"
#include "Core/Backend.h"
#include "MiniToolbars/IconHandles.h"
#include "MiniToolbars/ResourceModules.h"
#include "Platform/ModuleRegistry.h"
#include "Platform/PeResourceReader.h"
#include "Qt/QmtbImage.h"
#include "support/CraftedPng.h"

#include <QDir>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <limits>
#include <map>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace MiniToolbars;
using namespace CraftedPng;

namespace {

MTBxString mtb(const QString& s) { return MTBxString(s.toStdWString().c_str()); }
std::unique_ptr<MTBxImage> imageFrom(const QString& reference) { return std::unique_ptr<MTBxImage>(Backend::instance().createImage(mtb(reference))); }
float widthOf(const QString& reference) { return imageFrom(reference)->width(); }
QmtbImage* qmtb(const std::unique_ptr<MTBxImage>& image) { return static_cast<QmtbImage*>(image.get()); }

std::unique_ptr<MTBxImage> imageFromBytes(const QByteArray& b) { return std::unique_ptr<MTBxImage>(Backend::instance().createImageFromData(reinterpret_cast<const unsigned char*>(b.constData()), b.size())); }

QByteArray readFile(const QString& path) { QFile file(path); return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(); }

// The path of a file in a folder that lives as long as the program, written with the bytes unless they are null.
QString fileWith(const char* name, const QByteArray& bytes = QByteArray())
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(name));
    EXPECT_TRUE(bytes.isNull() || writeFile(path, bytes)) << name;
    return path;
}

QByteArray littleEndian(quint32 value, int length) { QByteArray bytes(4, '\0'); return qToLittleEndian(value, bytes.data()), bytes.left(length); }

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

TEST(ImageTest, shouldRasteriseVectorImagesAtTheTruncatedHeight)
{
    // A vector image has no raster until render, which rasterises at the truncated height; sizes that name no raster, or one too large, leave an empty raster; the picture form leaves the raster alone.
    const QString wide = fileWith("wide.svg", wideSvg);
    // Options is 11:12 (integer arithmetic), the arrow 9:6: 4500 wide at a height of 3000.
    const QString options = QStringLiteral(":/MiniToolbars/Options_L.svg");
    const QString arrow = QStringLiteral(":/MiniToolbars/menuArrowDown_L.svg");
    const struct { QString reference; float size; float width; float height; } cases[] = {
        {options, 16.9f, 14, 16}, {options, 32, 29, 32}, {wide, 7, 14, 7}, {arrow, 2000, 3000, 2000},
        {arrow, std::numeric_limits<float>::quiet_NaN(), 0, 0}, {arrow, 2000, 3000, 2000}, {arrow, -5, 0, 0},
        {arrow, 0, 0, 0}, {arrow, 5000, 0, 0}, {arrow, 1e30f, 0, 0}, {arrow, 3000, 0, 0}, {arrow, 2000, 3000, 2000},
    };
    std::map<QString, std::unique_ptr<MTBxImage>> images;
    for (const auto& c : cases) {
        auto& image = images[c.reference];
        if (!image) {
            image = imageFrom(c.reference);
            EXPECT_TRUE(qmtb(image)->isVector());
            EXPECT_EQ(image->height(), -1.0f);
        }
        image->render(c.size, 0.0f, false);
        EXPECT_EQ(QSizeF(image->width(), image->height()), QSizeF(c.width, c.height)) << qPrintable(c.reference) << " at " << c.size;
        EXPECT_EQ(qmtb(image)->raster()->format(), c.width ? QImage::Format_ARGB32_Premultiplied : QImage::Format_Invalid);
    }
    images[arrow]->render(12.0f, 90.0f, true);
    EXPECT_NE(qmtb(images[arrow])->picture(), nullptr);
    EXPECT_EQ(images[arrow]->width(), 3000.0f);
}

TEST(ImageTest, shouldLoadFilesByTheirCaseSensitiveEnding)
{
    // Only a lower-case "png" or "svg" ending loads; the content decides the format; broken files give a null raster; a PNG keeps its pixel size when rendered, a broken or zero-wide SVG renders to an empty raster. A FIFO named as an image, as an SVG's image (in an SVG file, SVG text in a "png" file or SVG bytes) or as a module loads nothing, at once (a wait ends the test by alarm).
    for (const char* name : { "fifo.png", "fifo.svg", "fifo.dll" })
        ASSERT_EQ(::mkfifo(QFile::encodeName(fileWith(name)).constData(), 0600), 0);
    // Qt follows xlink:href even with the prefix undeclared; the good SVG proves that images beside one still load.
    const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\">"
                           "<image width=\"8\" height=\"8\" xlink:href=\"%1\"/></svg>";
    fileWith("green.png", encoded(8, 8, Qt::green));
    const struct { QString reference; float width; float rendered; } cases[] = {
        {fileWith("icon.png", encoded(10, 7)), 10, 10}, {fileWith("icon.PNG", encoded(10, 7)), -1, -1},
        {fileWith("photo.png", encoded(5, 4, Qt::red, "JPG")), 5, 5}, {fileWith("missing.png"), 0, 0},
        {fileWith("broken.png", encoded(10, 7).left(40)), 0, 0}, {fileWith("junk.svg", "<svg><unclosed"), -1, 0},
        {fileWith("icon.bmp", encoded(10, 7, Qt::red, "BMP")), -1, -1}, {QString(), -1, -1}, {"res://nowhere.dll/PNG/#1", -1, -1},
        {fileWith("fifo.png"), 0, 0}, {fileWith("fifo.svg"), -1, 0}, {fileWith("bad.svg", QByteArray(svg).replace("%1", "fifo.png")), -1, 0},
        {fileWith("good.svg", QByteArray(svg).replace("%1", "green.png")), -1, 32}, {"res://" + fileWith("fifo.dll") + "/PNG/#101", -1, -1},
        {fileWith("flat.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 0 8\"/>"), -1, 0},
        {fileWith("svg-text.png", QByteArray(svg).replace("%1", QFile::encodeName(fileWith("fifo.png")))), 0, 0},
        {fileWith("good-svg-text.png", QByteArray(svg).replace("%1", QFile::encodeName(fileWith("green.png")))), 8, 8},
    };
    ::alarm(20);
    for (const auto& c : cases) {
        auto image = imageFrom(c.reference);
        EXPECT_EQ(image->width(), c.width) << qPrintable(c.reference);
        image->render(32.0f, 0.0f, false);
        EXPECT_EQ(image->width(), c.rendered) << qPrintable(c.reference);
    }
    EXPECT_EQ(loadResourceModule(mtb(fileWith("fifo.dll"))), nullptr);
    // SVG bytes decode through Qt's image plugin, which follows the same references; compressed, they cannot be checked.
    const QByteArray fifoSvg = QByteArray(svg).replace("%1", QFile::encodeName(fileWith("fifo.png")));
    QProcess gzip;
    gzip.start(QStringLiteral("gzip"), {QStringLiteral("-c")}), gzip.write(fifoSvg), gzip.closeWriteChannel();
    ASSERT_TRUE(gzip.waitForFinished());
    for (const QByteArray& bytes : { fifoSvg, gzip.readAllStandardOutput() })
        EXPECT_EQ(imageFromBytes(bytes), nullptr) << bytes.left(16).toHex().constData();
    EXPECT_EQ(imageFromBytes(QByteArray(svg).replace("%1", QFile::encodeName(fileWith("green.png"))))->width(), 8.0f);
    auto good = imageFrom(fileWith("good.svg"));
    good->render(8.0f, 0.0f, false), ::alarm(0);
    EXPECT_EQ(qmtb(good)->raster()->pixelColor(4, 4), QColor(Qt::green));
}

TEST(ImageTest, shouldDecodeBytesWithinTheSizeLimitOrGiveNoImage)
{
    // Encoded bytes give a raster image, or no object when they are no image or declare more than 4096 pixels, also in a GIF screen or an icon entry beyond the frame's size; all is checked before any pixel memory is taken.
    const auto bitmap = [](quint32 width, quint32 height) {
        return icon(littleEndian(40, 4) + littleEndian(width, 4) + littleEndian(height, 4) + QByteArray(52, '\0'));
    };
    // A bitmap whose file size field reads 65537 starts as an icon directory would (0, 0, 1, 0): still a bitmap.
    QByteArray lookalike = encoded(100, 100, QColor(64, 64, 64), "BMP");
    lookalike.replace(2, 4, littleEndian(65537, 4));
    // The 4097-pixel images are complete and valid: they would decode.
    const std::pair<QByteArray, float> cases[] = {
        {encoded(12, 9), 12}, {greyscale(4096, 1, true), 4096}, {gif(1, 1), 1}, {encoded(16, 16, Qt::red, "ICO"), 16},
        {"certainly not an image", -1}, {encoded(12, 9).left(60), -1}, {greyscale(4097, 4097, true), -1},
        {greyscale(4097, 1, true), -1}, {gif(4097, 1), -1}, {icon(greyscale(60000, 60000, false)), -1},
        {bitmap(30000, 60000), -1}, {bitmap(0x80000000u, 0x80000000u), -1}, {lookalike, 100},
        {greyscale(1, 4096, true), 1}, {icon(greyscale(4097, 1, true)), -1},
    };
    for (const auto& [bytes, width] : cases) {
        const auto image = imageFromBytes(bytes);
        EXPECT_EQ(image ? image->width() : -1.0f, width) << bytes.left(16).toHex().constData();
    }
    const auto image = imageFromBytes(encoded(12, 9));
    EXPECT_TRUE(image->height() == 9.0f && image->reference().empty()) << image->height();
    const unsigned char byte = 0x89;
    for (const auto& [data, length] : { std::pair{ static_cast<const unsigned char*>(nullptr), 100 }, { &byte, 0 }, { &byte, -4 } })
        EXPECT_EQ(Backend::instance().createImageFromData(data, length), nullptr) << length;

    // 60000 x 60000 PNGs (14 GB of pixels) and a 1 x 1 GIF frame on a 27905 x 8193 screen (870 MB) cost no memory.
    const auto peakResidentKb = [] { rusage usage{}; return getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : 0L; };
    const long before = peakResidentKb();
    EXPECT_EQ(imageFromBytes(greyscale(60000, 60000, false)), nullptr);
    EXPECT_EQ(widthOf(fileWith("huge.png", greyscale(60000, 60000, false))), 0.0f);
    EXPECT_EQ(imageFromBytes(gif(27905, 8193)), nullptr);
    EXPECT_LT(peakResidentKb() - before, 64 * 1024);
}

TEST(IconHandleTest, shouldRoundTripUntilDestroyedAndNeverReuseAHandle)
{
    // A handle converts back to its image until destroyed; images made from it keep a copy; unknown and reused values convert to nothing.
    QImage sample(8, 6, QImage::Format_ARGB32);
    sample.fill(QColor(250, 10, 40)), sample.setPixelColor(3, 2, QColor(0, 0, 255));
    const HICON handle = createIconHandle(sample);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(sample, pixmapFromIconHandle(handle).toImage().convertToFormat(QImage::Format_ARGB32));
    std::unique_ptr<MTBxImage> image(Backend::instance().createImageFromIcon(handle));
    destroyIconHandle(handle), destroyIconHandle(handle);
    EXPECT_TRUE(pixmapFromIconHandle(handle).isNull() && pixmapFromIconHandle(reinterpret_cast<HICON>(0x1234)).isNull());
    EXPECT_EQ(std::make_pair(8.0f, 0.0f), std::make_pair(image->width(), std::unique_ptr<MTBxImage>(Backend::instance().createImageFromIcon(handle))->width()));
    EXPECT_EQ(nullptr, createIconHandle(QImage()));
    const HICON second = createIconHandle(sample);
    EXPECT_NE(handle, second);
    destroyIconHandle(second);
}

TEST(FuzzRegressionTest, shouldReplayTheSavedInputs)
{
    // Every saved PE input stays in bounds, directly and through "res://" references; every saved image, from bytes or a module, decodes within limits; the hostile ones to nothing.
    for (const bool pe : { true, false }) {
        const QDir folder(QStringLiteral(MTB_TEST_DATA_DIR "/fuzz/") + (pe ? "fuzz_pe_reader" : "fuzz_image_data"));
        ASSERT_FALSE(folder.isEmpty());
        for (const QFileInfo& input : folder.entryInfoList(QDir::Files, QDir::Name)) {
            SCOPED_TRACE(input.fileName().toStdString());
            const QByteArray bytes = readFile(input.absoluteFilePath());
            const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
            EXPECT_TRUE(pe ? FuzzTargets::peReader(data, bytes.size()) : FuzzTargets::imageData(data, bytes.size()));
            auto image = pe ? imageFrom(QStringLiteral("res://%1/PNG/#101").arg(input.absoluteFilePath())) : imageFromBytes(bytes);
            if (pe)
                image->render(16.0f, 0.0f, false);
            // A hostile module names no image; hostile image bytes give no object.
            if (input.fileName().startsWith(QLatin1String(pe ? "hostile-" : "hostile-png-")))
                EXPECT_EQ(image ? image->width() : -1.0f, -1.0f);
            EXPECT_EQ(0, ModuleRegistry::loadedModuleCount());
        }
    }
    // References into a module and the SVG (or other) bytes it holds: the seeds draw, the hostile ones do not.
    const QDir resources(QStringLiteral(MTB_TEST_DATA_DIR "/fuzz/fuzz_resource_image"));
    ASSERT_FALSE(resources.isEmpty());
    for (const QFileInfo& input : resources.entryInfoList(QDir::Files, QDir::Name)) {
        SCOPED_TRACE(input.fileName().toStdString());
        const QByteArray bytes = readFile(input.absoluteFilePath());
        bool drawn = false;
        EXPECT_TRUE(FuzzTargets::resourceImage(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size(), &drawn));
        if (input.fileName().startsWith(QLatin1String("seed-")) || input.fileName().startsWith(QLatin1String("hostile-")))
            EXPECT_EQ(drawn, input.fileName().startsWith(QLatin1String("seed-")));
        EXPECT_EQ(0, ModuleRegistry::loadedModuleCount());
    }
}

TEST(ResourceKeyTest, shouldReadNumericIdsAndNames)
{
    // "#N" is an integer id (low 16 bits, no digits give 0); anything else is a name.
    const std::pair<const char*, int> ids[] = { {"#101", 101}, {"#70000", 70000 & 0xFFFF}, {"#99999999999999999999", 0xFFFF}, {"#abc", 0}, {"#", 0} };
    for (const auto& [text, id] : ids)
        EXPECT_EQ(std::make_pair(ResourceKey::fromString(QLatin1String(text)).isId, int(ResourceKey::fromString(QLatin1String(text)).id)), std::make_pair(true, id)) << text;
    const ResourceKey name = ResourceKey::fromString(QStringLiteral("logo"));
    EXPECT_EQ(std::make_pair(name.isId, name.name), std::make_pair(false, QStringLiteral("logo")));
    const unsigned char* bytes = nullptr;
    std::uint32_t size = 0;
    EXPECT_FALSE(PeResourceReader(nullptr, 100).find(name, name, &bytes, &size));
}

// A resource-only DLL linked with the mingw-w64 binutils for the target (none without them): a 13 x 11 PNG as
// PNG/#101, an oversized PNG as PNG/#102 and an SVG named LOGO of type 10 (RCDATA). x86_64 gives PE32+, i686 PE32.
QString resourceDll(const QString& target = QStringLiteral("x86_64"), const char* name = "res.dll")
{
    const QString windres = QStandardPaths::findExecutable(target + QLatin1String("-w64-mingw32-windres"));
    const QString ld = QStandardPaths::findExecutable(target + QLatin1String("-w64-mingw32-ld"));
    const QString rc = QStringLiteral("101 PNG \"%1\"\n102 PNG \"%2\"\nLOGO RCDATA \"%3\"\n")
                           .arg(fileWith("logo.png", encoded(13, 11)), fileWith("huge.png", greyscale(60000, 60000, false)), fileWith("logo.svg", wideSvg));
    const bool built = !windres.isEmpty() && !ld.isEmpty()
        && QProcess::execute(windres, { "--preprocessor=cat", fileWith("res.rc", rc.toUtf8()), "-O", "coff", "-o", fileWith("res.o") }) == 0
        && QProcess::execute(ld, { "-shared", "-e", "0", "-o", fileWith(name), fileWith("res.o") }) == 0;
    return built ? fileWith(name) : QString();
}

class ResourceModuleTest : public ::testing::Test
{
protected:
    void SetUp() override { if (m_dll.isEmpty()) GTEST_SKIP() << "the mingw-w64 binutils are not installed"; }
    void TearDown() override { setHostResourceModule(nullptr); }
    QString inDll(const char* resource) const { return QStringLiteral("res://") + m_dll + QLatin1String(resource); }

    const QString m_dll = resourceDll();
};

TEST_F(ResourceModuleTest, shouldLoadResourcesAndReleaseTheModule)
{
    // A module named by its path is loaded as a data file and released after decoding; type and name compare case-insensitively, the id is the low 16 bits; missing modules, types, names and oversized resources give nothing.
    // "xres://" is no module reference; the extension decides.
    const std::pair<QString, float> cases[] = {
        {inDll("/PNG/#101"), 13}, {inDll("/png/#65637"), 13}, {inDll("/PNG/#999"), -1}, {inDll("/GIF/#101"), -1},
        {inDll("/#10/#101"), -1}, {inDll("/PNG/#abc"), -1}, {inDll("/PNG/#102"), -1}, {inDll("/PNG"), -1},
        {QStringLiteral("res://") + fileWith("missing.dll/PNG/#101"), -1}, {QStringLiteral("x") + inDll("/PNG/#101"), -1},
    };
    for (const auto& [reference, width] : cases)
        EXPECT_EQ(widthOf(reference), width) << qPrintable(reference);
    const QString pe32 = resourceDll(QStringLiteral("i686"), "res32.dll");
    if (!pe32.isEmpty())
        EXPECT_EQ(widthOf(QStringLiteral("res://") + pe32 + QLatin1String("/PNG/#101")), 13.0f);
    auto image = imageFrom(inDll("/PNG/#101")), svg = imageFrom(inDll("/#10/logo"));
    EXPECT_TRUE(!qmtb(image)->isVector() && image->height() == 11.0f && qmtb(svg)->isVector() && svg->width() == -1.0f);
    svg->render(21.5f, 0.0f, false);
    EXPECT_EQ(QSizeF(svg->width(), svg->height()), QSizeF(42, 21));
    EXPECT_EQ(ModuleRegistry::loadedModuleCount(), 0);
}

TEST_F(ResourceModuleTest, shouldFindAHostLoadedModuleAndKeepIt)
{
    // A module the host loaded is found by file name or path, also as the host's own for an empty name, and stays loaded until freed as often as loaded.
    const HMODULE module = loadResourceModule(mtb(m_dll));
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(loadResourceModule(mtb(m_dll)), module);
    setHostResourceModule(module);
    for (const QString& reference : { QStringLiteral("res://res.dll/PNG/#101"), QStringLiteral("res://RES.DLL/PNG/#101"), inDll("/PNG/#101"), QStringLiteral("res:///PNG/#101") })
        EXPECT_EQ(widthOf(reference), 13.0f) << qPrintable(reference);
    EXPECT_EQ(ModuleRegistry::loadedModuleCount(), 1);

    for (const int left : { 1, 0 })
        EXPECT_TRUE(freeResourceModule(module) && ModuleRegistry::loadedModuleCount() == left) << left;
    EXPECT_FALSE(freeResourceModule(module) || freeResourceModule(nullptr));
    // Without the host's module, a bare file name names no file here and the empty name no module.
    EXPECT_EQ(std::make_pair(-1.0f, -1.0f), std::make_pair(widthOf(QStringLiteral("res://res.dll/PNG/#101")), widthOf(QStringLiteral("res:///PNG/#101"))));
}

TEST_F(ResourceModuleTest, shouldStayInBoundsOnTruncatedOrChangingModules)
{
    // Every truncation of a real module finds nothing or stays in bounds (the saved hostile corpus covers corruptions); a loaded module keeps what it read, whatever happens to its file, and the changed file loads as nothing.
    const QByteArray dll = readFile(m_dll);
    ASSERT_GT(dll.size(), 512);
    const ResourceKey png = ResourceKey::fromString(QStringLiteral("PNG")), id101 = ResourceKey::fromString(QStringLiteral("#101"));
    for (int length = 0; length <= dll.size(); ++length) {
        const auto* data = reinterpret_cast<const unsigned char*>(dll.constData());
        const unsigned char* bytes = nullptr;
        std::uint32_t size = 0;
        if (PeResourceReader(data, static_cast<std::uint64_t>(length)).find(png, id101, &bytes, &size)) {
            ASSERT_GE(bytes, data);
            ASSERT_LE(bytes + size, data + length);
        }
    }
    // Each header field broken alone, in a file long enough to hold what it claims: nothing is found. The last
    // edits are ones a loader takes: the most sections the format allows, a section whose raw size stands for its virtual one.
    const quint32 pe = qFromLittleEndian<quint32>(dll.constData() + 0x3C), optional = pe + 24;
    const auto rsrc = quint32(dll.indexOf(QByteArray(".rsrc\0", 6), int(optional + qFromLittleEndian<quint16>(dll.constData() + pe + 20))));
    const std::tuple<quint32, QByteArray, bool> edits[] = {
        {pe, "X", false}, {pe + 1, "X", false}, {pe + 2, "X", false}, {pe + 3, "X", false}, {optional, littleEndian(0x10c, 2), false},
        {optional + 108, littleEndian(2, 4), false}, {pe + 20, littleEndian(108 + 4 + 16, 2), false}, {optional + 112 + 16, littleEndian(0, 4), false},
        {pe + 6, littleEndian(97, 2), false}, {pe + 6, littleEndian(96, 2), true}, {rsrc + 8, littleEndian(0, 4), true},
    };
    for (const auto& [offset, bytes, found] : edits) {
        const QByteArray edited = QByteArray(dll).replace(int(offset), bytes.size(), bytes) + QByteArray(8192, '\0');
        const unsigned char* at = nullptr;
        std::uint32_t size = 0;
        EXPECT_EQ(PeResourceReader(reinterpret_cast<const unsigned char*>(edited.constData()), edited.size()).find(png, id101, &at, &size), found) << offset;
    }
    const QString reference = QStringLiteral("res://%1/PNG/#101").arg(fileWith("mod.dll"));
    for (const QByteArray& replacement : { QByteArray(""), dll.left(0x40), dll.left(dll.size() / 2), encoded(2, 2) }) {
        const HMODULE module = loadResourceModule(mtb(fileWith("mod.dll", dll)));
        ASSERT_NE(module, nullptr);
        // Rewritten in place: the same file, shorter.
        fileWith("mod.dll", replacement);
        EXPECT_EQ(widthOf(reference), 13.0f);
        EXPECT_TRUE(freeResourceModule(module) && widthOf(reference) == -1.0f);
    }
    EXPECT_EQ(ModuleRegistry::loadedModuleCount(), 0);
}

} // namespace

// A module file larger than 64 MiB is refused unread; one of exactly 64 MiB loads.
TEST(ResourceModuleSizeTest, shouldRefuseFilesOverTheLimit)
{
    constexpr qint64 limit = 64 * 1024 * 1024;
    for (const qint64 size : {limit, limit + 1}) {
        QFile file(fileWith("big.dll"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.resize(size));
        file.close();
        const HMODULE module = loadResourceModule(mtb(file.fileName()));
        EXPECT_EQ(module != nullptr, size == limit) << size;
        freeResourceModule(module);
    }
}
