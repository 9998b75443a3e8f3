// Files that are not what they seem: FIFOs named as icons or modules, and a
// loaded module whose file changes underneath.
#include "CraftedPng.h"
#include "Factories.h"
#include "MTBxImage.h"
#include "QmtbImage.h"
#include "ResourceModules.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace MiniToolbars;

namespace {

std::unique_ptr<MTBxImage> imageFrom(const QString& reference)
{
    return std::unique_ptr<MTBxImage>(createImage(MTBxString(reference.toStdWString().c_str())));
}

// Should a load wait on a FIFO, this opens and closes its write end until the
// test ends, so the reader sees end of file and the test fails instead of hanging.
class FifoWatchdog
{
public:
    explicit FifoWatchdog(const QString& fifo)
        : m_thread([this, name = QFile::encodeName(fifo)] {
            for (int tick = 0; !m_done; ++tick) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                const int fd = tick < 40 ? -1 : ::open(name.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    m_fired = true;
                    ::close(fd);
                }
            }
        })
    {
    }
    ~FifoWatchdog()
    {
        m_done = true;
        m_thread.join();
    }
    bool fired() const { return m_fired; }

private:
    std::atomic<bool> m_done{ false };
    std::atomic<bool> m_fired{ false };
    std::thread m_thread;
};

// A FIFO named as an icon, as an SVG's image or as a module loads nothing, at once.
TEST(HostileFileTest, shouldNeitherWaitOnNorReadFromAFifo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto path = [&dir](const char* name) { return dir.filePath(QLatin1String(name)); };
    // Qt follows xlink:href even with the prefix undeclared.
    const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\">"
                           "<image width=\"8\" height=\"8\" xlink:href=\"%1\"/></svg>";
    ASSERT_TRUE(CraftedPng::writeFile(path("green.png"), CraftedPng::encoded(8, 8, Qt::green)));
    ASSERT_TRUE(CraftedPng::writeFile(path("good.svg"), QByteArray(svg).replace("%1", "green.png")));
    ASSERT_TRUE(CraftedPng::writeFile(path("bad.svg"), QByteArray(svg).replace("%1", "fifo.png")));
    for (const char* name : { "fifo.png", "fifo.svg", "fifo.dll" })
        ASSERT_EQ(::mkfifo(QFile::encodeName(path(name)).constData(), 0600), 0);

    // The one good file proves that image references beside an SVG still load.
    const struct {
        const char* name;
        float width;
    } cases[] = { { "fifo.png", 0.0f }, { "fifo.svg", 0.0f }, { "bad.svg", 0.0f }, { "good.svg", 8.0f } };
    for (const auto& c : cases) {
        FifoWatchdog watchdog(path("fifo.png"));
        FifoWatchdog svgWatchdog(path("fifo.svg"));
        auto image = imageFrom(path(c.name));
        image->render(8.0f, 0.0f, false);
        EXPECT_EQ(image->width(), c.width) << c.name;
        EXPECT_FALSE(watchdog.fired() || svgWatchdog.fired()) << c.name << " waited for a writer";
        if (c.width > 0)
            EXPECT_EQ(static_cast<QmtbImage*>(image.get())->raster()->pixelColor(4, 4), QColor(Qt::green));
    }
    FifoWatchdog watchdog(path("fifo.dll"));
    EXPECT_EQ(loadResourceModule(MTBxString(path("fifo.dll").toStdWString().c_str())), nullptr);
    EXPECT_EQ(imageFrom(QStringLiteral("res://%1/PNG/#101").arg(path("fifo.dll")))->width(), -1.0f);
    EXPECT_FALSE(watchdog.fired());
}

// A loaded module keeps what it read, whatever happens to its file; the changed file loads as nothing.
TEST(HostileFileTest, shouldSurviveAModuleFileChangingAfterLoad)
{
    const QString windres = QStandardPaths::findExecutable(QStringLiteral("x86_64-w64-mingw32-windres"));
    const QString ld = QStandardPaths::findExecutable(QStringLiteral("x86_64-w64-mingw32-ld"));
    if (windres.isEmpty() || ld.isEmpty())
        GTEST_SKIP() << "the mingw-w64 binutils are not installed";
    QTemporaryDir dir;
    const auto path = [&dir](const char* name) { return dir.filePath(QLatin1String(name)); };
    ASSERT_TRUE(CraftedPng::writeFile(path("logo.png"), CraftedPng::encoded(13, 11)));
    ASSERT_TRUE(CraftedPng::writeFile(path("res.rc"), "101 PNG \"" + path("logo.png").toUtf8() + "\"\n"));
    ASSERT_EQ(QProcess::execute(windres, { "--preprocessor=cat", path("res.rc"), "-O", "coff", "-o", path("res.o") }), 0);
    ASSERT_EQ(QProcess::execute(ld, { "-shared", "-e", "0", "-o", path("res.dll"), path("res.o") }), 0);
    QFile built(path("res.dll"));
    ASSERT_TRUE(built.open(QIODevice::ReadOnly));
    const QByteArray dll = built.readAll();

    const QString reference = QStringLiteral("res://%1/PNG/#101").arg(path("mod.dll"));
    for (const QByteArray& replacement : { QByteArray(), dll.left(dll.size() / 2), CraftedPng::encoded(2, 2) }) {
        ASSERT_TRUE(CraftedPng::writeFile(path("mod.dll"), dll));
        const HMODULE module = loadResourceModule(MTBxString(path("mod.dll").toStdWString().c_str()));
        ASSERT_NE(module, nullptr);
        // Rewritten in place: the same file, shorter.
        ASSERT_TRUE(CraftedPng::writeFile(path("mod.dll"), replacement));
        EXPECT_EQ(imageFrom(reference)->width(), 13.0f);
        EXPECT_TRUE(freeResourceModule(module));
        EXPECT_EQ(imageFrom(reference)->width(), -1.0f);
    }
}

} // namespace
