#include "../fuzz/FuzzTargets.h"

#include "Factories.h"
#include "MTBxImage.h"
#include "ModuleRegistry.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <memory>

using namespace MiniToolbars;

TEST(FuzzRegressionTest, shouldReplayTheSavedInputs)
{
    // Every saved PE input stays in bounds, directly and through "res://" references; every saved image decodes within limits; the hostile ones to nothing.
    for (const char* target : { "fuzz_pe_reader", "fuzz_image_data" }) {
        const QFileInfoList inputs = QDir(QStringLiteral(MTB_TEST_DATA_DIR "/fuzz/") + QLatin1String(target)).entryInfoList(QDir::Files, QDir::Name);
        ASSERT_FALSE(inputs.isEmpty());
        const bool pe = target[5] == 'p';
        for (const QFileInfo& input : inputs) {
            SCOPED_TRACE(input.fileName().toStdString());
            QFile file(input.absoluteFilePath());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
            EXPECT_TRUE(pe ? FuzzTargets::peReader(data, bytes.size()) : FuzzTargets::imageData(data, bytes.size()));
            const bool hostile = input.fileName().startsWith(QLatin1String(pe ? "hostile-" : "hostile-png-"));
            if (!pe) {
                if (hostile)
                    EXPECT_EQ(nullptr, std::unique_ptr<MTBxImage>(createImageFromData(data, bytes.size())));
                continue;
            }
            const QString reference = QStringLiteral("res://") + input.absoluteFilePath() + QLatin1String("/PNG/#101");
            std::unique_ptr<MTBxImage> image(createImage(MTBxString(reference.toStdWString().c_str())));
            image->render(16.0f, 0.0f, false);
            if (hostile)
                EXPECT_EQ(-1.0f, image->width());
            EXPECT_EQ(0, ModuleRegistry::loadedModuleCount());
        }
    }
}
