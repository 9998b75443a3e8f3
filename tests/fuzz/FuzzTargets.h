#ifndef MINITOOLBARS_TESTS_FUZZTARGETS_H
#define MINITOOLBARS_TESTS_FUZZTARGETS_H

// The entry points shared by the libFuzzer targets and the regression test
// that replays their saved inputs. Each returns false when an invariant broke.

#include "Core/MTBxImage.h"
#include "MiniToolbars/ResourceModules.h"
#include "Platform/ModuleRegistry.h"
#include "Platform/PeResourceReader.h"
#include "Qt/QmtbImage.h"
#include "support/CraftedModule.h"

#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <QTemporaryDir>

#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstdint>
#include <memory>

namespace FuzzTargets {

// Image plugins, and the fonts SVG text is drawn with, expect a GUI
// application, as in the library's hosts. For a target's LLVMFuzzerInitialize.
inline int startGuiApplication(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    // Refused input warns thousands of times a second; only a crash or a broken invariant counts.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

// Looks up a spread of resource keys; every hit must lie inside the input.
inline bool peReader(const std::uint8_t* data, std::size_t size)
{
    const MiniToolbars::PeResourceReader reader(data, size);
    static const char* const keys[][2] = {
        {"PNG", "#101"}, {"#10", "LOGO"}, {"#10", "#1"}, {"#3", "#1"}, {"#14", "#1"}, {"#24", "#1"},
        {"PNG", "logo"}, {"SVG", "#1"}, {"#1", "#1"}, {"#0", "#0"},
    };
    for (const auto& key : keys) {
        const unsigned char* bytes = nullptr;
        std::uint32_t length = 0;
        if (!reader.find(MiniToolbars::ResourceKey::fromString(QString::fromLatin1(key[0])),
                         MiniToolbars::ResourceKey::fromString(QString::fromLatin1(key[1])), &bytes, &length))
            continue;
        if (!bytes || bytes < data || length > size || bytes - data > static_cast<std::ptrdiff_t>(size - length))
            return false;
    }
    return true;
}

// Decodes the bytes as an icon; whatever comes out must respect the size limit.
inline bool imageData(const std::uint8_t* data, std::size_t size)
{
    const int length = size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
    std::unique_ptr<MiniToolbars::MTBxImage> image(MiniToolbars::QmtbImage::fromData(data, length));
    if (!image)
        return true;
    const float limit = static_cast<float>(MiniToolbars::QmtbImage::kMaxEdge);
    image->render(16.0f, 0.0f, false);
    return image->width() >= 0.0f && image->width() <= limit && image->height() >= 0.0f && image->height() <= limit;
}

// The input's first line is a "res://" reference without its prefix; the rest
// (or all of it, without a newline) is the content of the resources SVG/#1 and
// 10/Logo of a module that the host loaded as fuzz.dll and made its own. A
// reference starting with '~' has the module's folder in place of the '~', and
// the module is then not loaded by the host: the image loads it for itself.
// Whatever the image is, its rasters respect the size limit, a vector one is
// rendered at the height asked or not at all, and no module stays loaded.
// Sets drawn, when given, to whether the image ended up with pixels.
inline bool resourceImage(const std::uint8_t* data, std::size_t size, bool* drawn = nullptr)
{
    static const QTemporaryDir folder;
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size));
    const int newline = static_cast<int>(input.indexOf('\n'));
    QString reference = newline < 0 ? QStringLiteral("fuzz.dll/SVG/#1") : QString::fromUtf8(input.left(newline));
    const QByteArray content = newline < 0 ? input : input.mid(newline + 1);
    const QString path = folder.filePath(QStringLiteral("fuzz.dll"));
    QFile file(path);
    const QByteArray module = CraftedModule::module({{QStringLiteral("SVG"), QStringLiteral("#1"), content},
                                                     {QStringLiteral("#10"), QStringLiteral("Logo"), content}});
    if (!file.open(QIODevice::WriteOnly) || file.write(module) != module.size())
        return false;
    file.close();

    const int loadedBefore = MiniToolbars::ModuleRegistry::loadedModuleCount();
    const bool byFolder = reference.startsWith(QLatin1Char('~'));
    HMODULE handle = nullptr;
    if (byFolder) {
        reference.replace(0, 1, folder.path());
    } else {
        handle = MiniToolbars::loadResourceModule(MiniToolbars::MTBxString(path.toStdWString().c_str()));
        if (!handle)
            return false;
        MiniToolbars::setHostResourceModule(handle);
    }

    bool ok = true;
    {
        const QString text = QStringLiteral("res://") + reference;
        std::unique_ptr<MiniToolbars::MTBxImage> image(
            new MiniToolbars::QmtbImage(MiniToolbars::MTBxString(text.toStdWString().c_str())));
        const auto* qmtb = static_cast<const MiniToolbars::QmtbImage*>(image.get());
        const float limit = static_cast<float>(MiniToolbars::QmtbImage::kMaxEdge);
        for (const int height : {16, 37}) {
            image->render(static_cast<float>(height), 0.0f, false);
            ok = ok && image->width() <= limit && image->height() <= limit;
            if (!qmtb->isVector())
                continue;
            const QImage* raster = qmtb->raster();
            ok = ok && raster && (raster->isNull() || raster->height() == height);
            const QImage doubled = qmtb->rasterFor(2.0);
            ok = ok && (doubled.isNull() || doubled.height() == 2 * height);
        }
        if (drawn)
            *drawn = image->width() > 0.0f;
        image->render(16.0f, 30.0f, true);
    }

    if (handle && !MiniToolbars::freeResourceModule(handle))
        ok = false;
    return ok && MiniToolbars::ModuleRegistry::loadedModuleCount() == loadedBefore;
}

} // namespace FuzzTargets

#endif
