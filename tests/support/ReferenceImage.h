#ifndef MINITOOLBARS_TESTS_REFERENCEIMAGE_H
#define MINITOOLBARS_TESTS_REFERENCEIMAGE_H

// Pixel-exact comparison with a reference image of the test data, one per Qt
// major version (their rasterisers differ by a few pixels of text).

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

namespace MiniToolbars::Testing {

// A differing image is saved beside the test program for a look.
inline ::testing::AssertionResult matchesReference(const QImage& image, const QString& name)
{
    const QString reference = QStringLiteral(MTB_TEST_DATA_DIR "/looks/%1-qt%2.png").arg(name).arg(QT_VERSION_MAJOR);
    const QImage expected(reference), actual = image.convertToFormat(QImage::Format_ARGB32);
    if (!expected.isNull() && expected.convertToFormat(QImage::Format_ARGB32) == actual)
        return ::testing::AssertionSuccess();
    const QString saved = QStringLiteral(MTB_TEST_BINARY_DIR "/%1-qt%2.png").arg(name).arg(QT_VERSION_MAJOR);
    actual.save(saved);
    return ::testing::AssertionFailure() << "the image differs from " << reference.toStdString() << " (saved as " << saved.toStdString() << ")";
}

} // namespace MiniToolbars::Testing

#endif
