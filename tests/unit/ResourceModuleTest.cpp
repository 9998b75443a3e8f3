#include "CraftedPng.h"
#include "Factories.h"
#include "MTBxImage.h"
#include "ModuleRegistry.h"
#include "PeResourceReader.h"
#include "QmtbImage.h"
#include "ResourceModules.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace MiniToolbars;

namespace {

using CraftedPng::writeFile;

MTBxString mtb(const QString& s)
{
    return MTBxString(s.toStdWString().c_str());
}

std::unique_ptr<MTBxImage> imageFrom(const QString& reference)
{
    return std::unique_ptr<MTBxImage>(createImage(mtb(reference)));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Builds a resource-only DLL with a 13 x 11 PNG as PNG/#101, an oversized PNG as
// PNG/#102 and an SVG named LOGO of type 10 (RCDATA).
class ResourceModuleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString windres = QStandardPaths::findExecutable(QStringLiteral("x86_64-w64-mingw32-windres"));
        const QString ld = QStandardPaths::findExecutable(QStringLiteral("x86_64-w64-mingw32-ld"));
        if (windres.isEmpty() || ld.isEmpty())
            GTEST_SKIP() << "the mingw-w64 binutils are not installed";
        ASSERT_TRUE(m_dir.isValid());

        const auto path = [this](const char* name) { return m_dir.filePath(QLatin1String(name)); };
        ASSERT_TRUE(writeFile(path("logo.png"), CraftedPng::encoded(13, 11, QColor(10, 200, 90))));
        ASSERT_TRUE(writeFile(path("huge.png"), CraftedPng::greyscale(60000, 60000, false)));
        ASSERT_TRUE(writeFile(path("icon.svg"), CraftedPng::wideSvg));
        const QString rc = QStringLiteral("101 PNG \"%1\"\n102 PNG \"%2\"\nLOGO RCDATA \"%3\"\n")
                               .arg(path("logo.png"), path("huge.png"), path("icon.svg"));
        ASSERT_TRUE(writeFile(path("res.rc"), rc.toUtf8()));
        ASSERT_TRUE(run(windres, { "--preprocessor=cat", path("res.rc"), "-O", "coff", "-o", path("res.o") }));
        m_dll = path("res.dll");
        ASSERT_TRUE(run(ld, { "-shared", "-e", "0", "-o", m_dll, path("res.o") }));
    }

    void TearDown() override { setHostResourceModule(nullptr); }

    QTemporaryDir m_dir;
    QString m_dll;
};

// A module named by a path with slashes is loaded as a data file and released after decoding.
TEST_F(ResourceModuleTest, shouldLoadAPngByNumericIdAndReleaseTheModule)
{
    ASSERT_TRUE(m_dll.startsWith(QLatin1Char('/')));
    auto image = imageFrom(QStringLiteral("res://%1/PNG/#101").arg(m_dll));
    EXPECT_FALSE(static_cast<QmtbImage*>(image.get())->isVector());
    EXPECT_EQ(image->width(), 13.0f);
    EXPECT_EQ(image->height(), 11.0f);
    EXPECT_EQ(ModuleRegistry::loadedModuleCount(), 0);

    // The id is the low 16 bits of the number; the type compares case-insensitively.
    EXPECT_EQ(imageFrom(QStringLiteral("res://%1/png/#65637").arg(m_dll))->width(), 13.0f);
    EXPECT_EQ(ModuleRegistry::loadedModuleCount(), 0);
}

// SVG bytes under a string name in a numeric type give a vector image.
TEST_F(ResourceModuleTest, shouldLoadAnSvgByCaseInsensitiveNameAsVector)
{
    auto image = imageFrom(QStringLiteral("res://%1/#10/logo").arg(m_dll));
    EXPECT_TRUE(static_cast<QmtbImage*>(image.get())->isVector());
    EXPECT_EQ(image->width(), -1.0f);
    image->render(21.5f, 0.0f, false);
    EXPECT_EQ(image->height(), 21.0f);
    EXPECT_EQ(image->width(), 42.0f);
    EXPECT_EQ(ModuleRegistry::loadedModuleCount(), 0);
}

// A module the host loaded is found by its file name or path and stays loaded.
TEST_F(ResourceModuleTest, shouldFindAHostLoadedModuleAndKeepIt)
{
    const HMODULE module = loadResourceModule(mtb(m_dll));
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(loadResourceModule(mtb(m_dll)), module);
    EXPECT_EQ(ModuleRegistry::loadedModuleCount(), 1);

    EXPECT_EQ(imageFrom(QStringLiteral("res://res.dll/PNG/#101"))->width(), 13.0f);
    EXPECT_EQ(imageFrom(QStringLiteral("res://RES.DLL/PNG/#101"))->width(), 13.0f);
    EXPECT_EQ(imageFrom(QStringLiteral("res://%1/PNG/#101").arg(m_dll))->width(), 13.0f);
    EXPECT_EQ(ModuleRegistry::loadedModuleCount(), 1);

    // Two loads, two frees; a third free finds nothing.
    EXPECT_TRUE(freeResourceModule(module));
    EXPECT_EQ(ModuleRegistry::loadedModuleCount(), 1);
    EXPECT_TRUE(freeResourceModule(module));
    EXPECT_EQ(ModuleRegistry::loadedModuleCount(), 0);
    EXPECT_FALSE(freeResourceModule(module));
    EXPECT_FALSE(freeResourceModule(nullptr));

    // Without the host's module, a bare file name names no file here.
    EXPECT_EQ(imageFrom(QStringLiteral("res://res.dll/PNG/#101"))->width(), -1.0f);
}

// An empty module name stands for the module the host named as its own.
TEST_F(ResourceModuleTest, shouldUseTheHostModuleForAnEmptyModuleName)
{
    EXPECT_EQ(imageFrom(QStringLiteral("res:///PNG/#101"))->width(), -1.0f);
    const HMODULE module = loadResourceModule(mtb(m_dll));
    setHostResourceModule(module);
    EXPECT_EQ(imageFrom(QStringLiteral("res:///PNG/#101"))->width(), 13.0f);
    EXPECT_TRUE(freeResourceModule(module));
    EXPECT_EQ(imageFrom(QStringLiteral("res:///PNG/#101"))->width(), -1.0f);
}

// Missing modules, types, names and oversized resources resolve to nothing.
TEST_F(ResourceModuleTest, shouldResolveMissingOrOversizedResourcesToNothing)
{
    EXPECT_EQ(imageFrom(QStringLiteral("res://%1/PNG/#999").arg(m_dll))->width(), -1.0f);
    EXPECT_EQ(imageFrom(QStringLiteral("res://%1/GIF/#101").arg(m_dll))->width(), -1.0f);
    EXPECT_EQ(imageFrom(QStringLiteral("res://%1/#10/#101").arg(m_dll))->width(), -1.0f);
    EXPECT_EQ(imageFrom(QStringLiteral("res://%1/PNG/#abc").arg(m_dll))->width(), -1.0f);
    EXPECT_EQ(imageFrom(QStringLiteral("res://%1/PNG/#102").arg(m_dll))->width(), -1.0f);
    EXPECT_EQ(imageFrom(QStringLiteral("res://%1/missing.dll/PNG/#101").arg(m_dir.path()))->width(), -1.0f);
    EXPECT_EQ(imageFrom(QStringLiteral("res://%1/PNG").arg(m_dll))->width(), -1.0f);
    // Not at the start, so not a module reference; the extension decides.
    EXPECT_EQ(imageFrom(QStringLiteral("xres://%1/PNG/#101").arg(m_dll))->width(), -1.0f);
    EXPECT_EQ(ModuleRegistry::loadedModuleCount(), 0);
}

// Every truncation of a real module finds nothing or stays in bounds (the saved hostile corpus covers corruptions).
TEST_F(ResourceModuleTest, shouldStayInBoundsOnTruncatedModules)
{
    const QByteArray dll = readFile(m_dll);
    ASSERT_GT(dll.size(), 512);
    const ResourceKey png = ResourceKey::fromString(QStringLiteral("PNG"));
    const ResourceKey id101 = ResourceKey::fromString(QStringLiteral("#101"));
    for (int length = 0; length <= dll.size(); ++length) {
        const QByteArray cut = dll.left(length);
        const auto* data = reinterpret_cast<const unsigned char*>(cut.constData());
        const PeResourceReader reader(data, static_cast<std::uint64_t>(length));
        const unsigned char* bytes = nullptr;
        std::uint32_t size = 0;
        if (reader.find(png, id101, &bytes, &size)) {
            ASSERT_GE(bytes, data);
            ASSERT_LE(bytes + size, data + length);
        }
    }

    // Hostile files on disk resolve to nothing through the image code as well.
    const QString hostile = m_dir.filePath(QStringLiteral("hostile.dll"));
    ASSERT_TRUE(writeFile(hostile, dll.left(0x40)));
    EXPECT_EQ(imageFrom(QStringLiteral("res://%1/PNG/#101").arg(hostile))->width(), -1.0f);
    ASSERT_TRUE(writeFile(hostile, QByteArray()));
    EXPECT_EQ(imageFrom(QStringLiteral("res://%1/PNG/#101").arg(hostile))->width(), -1.0f);
    EXPECT_EQ(ModuleRegistry::loadedModuleCount(), 0);
}

// "#N" is an integer id (low 16 bits, no digits give 0); anything else is a name.
TEST(ResourceKeyTest, shouldReadNumericIdsAndNames)
{
    EXPECT_TRUE(ResourceKey::fromString(QStringLiteral("#101")).isId);
    EXPECT_EQ(ResourceKey::fromString(QStringLiteral("#101")).id, 101);
    EXPECT_EQ(ResourceKey::fromString(QStringLiteral("#70000")).id, 70000 & 0xFFFF);
    EXPECT_EQ(ResourceKey::fromString(QStringLiteral("#99999999999999999999")).id, 0xFFFF);
    EXPECT_EQ(ResourceKey::fromString(QStringLiteral("#abc")).id, 0);
    EXPECT_EQ(ResourceKey::fromString(QStringLiteral("#")).id, 0);
    const ResourceKey name = ResourceKey::fromString(QStringLiteral("logo"));
    EXPECT_FALSE(name.isId);
    EXPECT_EQ(name.name, QStringLiteral("logo"));
    const unsigned char* bytes = nullptr;
    std::uint32_t size = 0;
    EXPECT_FALSE(PeResourceReader(nullptr, 100).find(name, name, &bytes, &size));
}

} // namespace
