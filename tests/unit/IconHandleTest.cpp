#include "Factories.h"
#include "IconHandles.h"
#include "MTBxImage.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include <memory>

using namespace MiniToolbars;

TEST(IconHandleTest, shouldRoundTripUntilDestroyedAndNeverReuseAHandle)
{
    // A handle converts back to its image until destroyed; images made from it keep a copy; unknown and reused values convert to nothing.
    QImage sample(8, 6, QImage::Format_ARGB32);
    sample.fill(QColor(250, 10, 40));
    sample.setPixelColor(3, 2, QColor(0, 0, 255));
    const HICON handle = createIconHandle(sample);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(sample, pixmapFromIconHandle(handle).toImage().convertToFormat(QImage::Format_ARGB32));
    std::unique_ptr<MTBxImage> image(createImageFromIcon(handle));
    destroyIconHandle(handle);
    destroyIconHandle(handle);
    EXPECT_TRUE(pixmapFromIconHandle(handle).isNull());
    EXPECT_EQ(8.0f, image->width());
    EXPECT_EQ(0.0f, std::unique_ptr<MTBxImage>(createImageFromIcon(handle))->width());

    EXPECT_TRUE(pixmapFromIconHandle(reinterpret_cast<HICON>(0x1234)).isNull());
    EXPECT_EQ(nullptr, createIconHandle(QImage()));
    const HICON second = createIconHandle(sample);
    EXPECT_NE(handle, second);
    destroyIconHandle(second);
}
