#include "../fuzz/FuzzTargets.h"

#include "Factories.h"
#include "MTBxImage.h"
#include "ModuleRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <memory>

using namespace MiniToolbars;

namespace {

QFileInfoList savedInputs(const char* target)
{
    return QDir(QStringLiteral(MTB_TEST_DATA_DIR "/fuzz/") + QLatin1String(target)).entryInfoList(QDir::Files, QDir::Name);
}

QByteArray contents(const QFileInfo& info)
{
    QFile file(info.absoluteFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every saved PE input keeps the reader in bounds, directly and through "res://" references.
TEST(FuzzRegressionTest, shouldReplayThePeReaderInputs)
{
    const QFileInfoList inputs = savedInputs("fuzz_pe_reader");
    ASSERT_FALSE(inputs.isEmpty());
    for (const QFileInfo& input : inputs) {
        SCOPED_TRACE(input.fileName().toStdString());
        const QByteArray bytes = contents(input);
        EXPECT_TRUE(FuzzTargets::peReader(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                          static_cast<std::size_t>(bytes.size())));

        for (const char* resource : {"/PNG/#101", "/#10/logo"}) {
            const QString reference = QStringLiteral("res://") + input.absoluteFilePath() + QLatin1String(resource);
            std::unique_ptr<MTBxImage> image(createImage(MTBxString(reference.toStdWString().c_str())));
            ASSERT_NE(image, nullptr);
            image->render(16.0f, 0.0f, false);
            // The crafted hostile files are all broken on the way to PNG #101.
            if (input.fileName().startsWith(QLatin1String("hostile-")) && reference.endsWith(QLatin1String("#101")))
                EXPECT_EQ(image->width(), -1.0f);
            EXPECT_EQ(ModuleRegistry::loadedModuleCount(), 0);
        }
    }
}

// Every saved image input decodes to nothing or to a raster within the size limit.
TEST(FuzzRegressionTest, shouldReplayTheImageDataInputs)
{
    const QFileInfoList inputs = savedInputs("fuzz_image_data");
    ASSERT_FALSE(inputs.isEmpty());
    for (const QFileInfo& input : inputs) {
        SCOPED_TRACE(input.fileName().toStdString());
        const QByteArray bytes = contents(input);
        EXPECT_TRUE(FuzzTargets::imageData(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                           static_cast<std::size_t>(bytes.size())));
        if (input.fileName().startsWith(QLatin1String("hostile-png-"))) {
            std::unique_ptr<MTBxImage> image(createImageFromData(
                reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size()));
            EXPECT_EQ(image, nullptr);
        }
    }
}

} // namespace
