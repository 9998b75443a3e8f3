#include "Factories.h"
#include "IconHandles.h"
#include "MTBxImage.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include <memory>

using namespace MiniToolbars;

namespace {

QImage sample()
{
    QImage image(8, 6, QImage::Format_ARGB32);
    image.fill(QColor(250, 10, 40));
    image.setPixelColor(3, 2, QColor(0, 0, 255));
    return image;
}

// An icon handle converts back to the image it was made from, until it is destroyed.
TEST(IconHandleTest, shouldRoundTripUntilDestroyed)
{
    const HICON handle = createIconHandle(sample());
    ASSERT_NE(handle, nullptr);
    const QImage back = pixmapFromIconHandle(handle).toImage();
    EXPECT_EQ(back.size(), QSize(8, 6));
    EXPECT_EQ(back.pixelColor(3, 2), QColor(0, 0, 255));
    EXPECT_EQ(back.pixelColor(0, 0), QColor(250, 10, 40));

    std::unique_ptr<MTBxImage> image(createImageFromIcon(handle));
    EXPECT_EQ(image->width(), 8.0f);
    EXPECT_EQ(image->height(), 6.0f);
    EXPECT_TRUE(image->reference().empty());

    destroyIconHandle(handle);
    EXPECT_TRUE(pixmapFromIconHandle(handle).isNull());
    destroyIconHandle(handle);
    // The image made earlier keeps its own copy.
    EXPECT_EQ(image->width(), 8.0f);
    // An image from a dead handle exists but has nothing to draw.
    std::unique_ptr<MTBxImage> dead(createImageFromIcon(handle));
    ASSERT_NE(dead, nullptr);
    EXPECT_EQ(dead->width(), 0.0f);
}

// Unknown, null and reused handle values never convert to someone else's icon.
TEST(IconHandleTest, shouldGiveNullPixmapsForUnknownHandles)
{
    EXPECT_TRUE(pixmapFromIconHandle(nullptr).isNull());
    EXPECT_TRUE(pixmapFromIconHandle(reinterpret_cast<HICON>(0x1234)).isNull());
    EXPECT_EQ(createIconHandle(QImage()), nullptr);

    const HICON first = createIconHandle(sample());
    destroyIconHandle(first);
    const HICON second = createIconHandle(sample());
    EXPECT_NE(first, second);
    EXPECT_TRUE(pixmapFromIconHandle(first).isNull());
    EXPECT_FALSE(pixmapFromIconHandle(second).isNull());
    destroyIconHandle(second);
}

} // namespace
