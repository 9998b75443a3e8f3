#include "Geometry.h"
#include "GeometrySelfTest.h"
#include "Point.h"
#include "Rect.h"
#include "UnitTests.h"
#include "Vector.h"

#include <QString>
#include <QtGlobal>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace MiniToolbars;

namespace {

class RecordingReporter : public SelfTestReporter
{
public:
    void failed(const char* message, const char*, int) override { failures.push_back(message); }
    void succeeded(const char* message) override { successes.push_back(message); }

    std::vector<std::string> failures;
    std::vector<std::string> successes;
};

std::vector<std::string> s_warnings;

void captureWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg)
        s_warnings.push_back(message.toStdString());
}

} // namespace

TEST(GeometrySelfTest, passesAndReportsSuccess)
{
    // The built-in self test passes every check and reports one success message.
    RecordingReporter reporter;
    EXPECT_TRUE(runGeometrySelfTest(reporter));
    EXPECT_TRUE(reporter.failures.empty());
    ASSERT_EQ(1u, reporter.successes.size());
    EXPECT_EQ("Tests Successful", reporter.successes[0]);
}

TEST(GeometrySelfTest, qtRunnerAnnouncesSuccessAsWarning)
{
    // Through Qt the success goes to the warning channel as "Tests Successful".
    const QtMessageHandler previous = qInstallMessageHandler(captureWarnings);
    const bool passed = runGeometrySelfTest();
    qInstallMessageHandler(previous);
    EXPECT_TRUE(passed);
    ASSERT_EQ(1u, s_warnings.size());
    EXPECT_EQ("Tests Successful", s_warnings[0]);
}

TEST(Vector, keepsItsLengthUpToDate)
{
    // The length follows construction and every setter; scaling makes a new vector with its own length.
    Vector v(3, 4);
    EXPECT_EQ(5.0, v.length());
    v.setX(0);
    EXPECT_EQ(4.0, v.length());
    v.setY(-2);
    EXPECT_EQ(2.0, v.length());
    v.set(6, 8);
    EXPECT_EQ(10.0, v.length());
    const Vector half = v.scaled(0.5);
    EXPECT_EQ(3.0, half.x());
    EXPECT_EQ(4.0, half.y());
    EXPECT_EQ(5.0, half.length());
    EXPECT_EQ(0.0, Vector().length());
    EXPECT_EQ(22.0, Vector(1, 2).dot(Vector(4, 9)));
}

TEST(Vector, normaliseAndAngles)
{
    // Normalising gives unit length; parallel vectors are 0 degrees apart and opposite ones 180, never NaN.
    Vector v(3, 4);
    Vector& same = v.normalise();
    EXPECT_EQ(&v, &same);
    EXPECT_DOUBLE_EQ(0.6, v.x());
    EXPECT_DOUBLE_EQ(0.8, v.y());
    EXPECT_DOUBLE_EQ(1.0, v.length());

    EXPECT_EQ(0.0, Vector(0.1, 0.7).angleTo(Vector(0.2, 1.4)));
    EXPECT_NEAR(180.0, Vector(0.1, 0.7).angleTo(Vector(-0.3, -2.1)), 1e-6);
    EXPECT_FALSE(std::isnan(Vector(1e-3, 3e-3).angleTo(Vector(-7e5, -21e5))));
    EXPECT_NEAR(90.0, Vector(2, 0).angleTo(Vector(0, 5)), 1e-6);
    EXPECT_NEAR(105.0, Vector(5, 5).angleTo(Vector(1, -std::sqrt(3.0))), 0.001);
}

TEST(Point, arithmeticMeetsVectors)
{
    // Point minus point equals the vector built directly, and adding it back returns the point.
    const Point a(2, 2);
    const Point b(5, 6);
    const Vector d = b - a;
    EXPECT_TRUE(d == Vector(3, 4));
    EXPECT_EQ(5.0, d.length());
    EXPECT_TRUE(a + d == b);
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(Point() == Point(0, 0));
    Vector withOtherLength(3, 0);
    withOtherLength.setY(4);
    EXPECT_TRUE(withOtherLength == Vector(3, 4));
}

TEST(Geometry, distanceAndExtremes)
{
    // distance is Euclidean; max and min pick the right side.
    EXPECT_EQ(5.0, distance(1, 1, 4, 5));
    EXPECT_EQ(5.0, distance(4, 5, 1, 1));
    EXPECT_EQ(0.0, distance(2, 2, 2, 2));
    EXPECT_EQ(3.0, MiniToolbars::max(-1.0, 3.0));
    EXPECT_EQ(-1.0, MiniToolbars::min(-1.0, 3.0));
}

TEST(Rect, hangsDownFromItsTopAndContainsItsEdges)
{
    // A rectangle's bottom is top minus height; every edge and corner is inside, one step out is not.
    const Rect r(0, 0, 10, 4);
    EXPECT_EQ(0.0f, r.left());
    EXPECT_EQ(10.0f, r.right());
    EXPECT_EQ(0.0f, r.top());
    EXPECT_EQ(-4.0f, r.bottom());
    EXPECT_TRUE(r.contains(10, -4));
    EXPECT_TRUE(r.contains(0, 0));
    EXPECT_TRUE(r.contains(0, -4));
    EXPECT_TRUE(r.contains(10, 0));
    EXPECT_TRUE(r.contains(5, 0));
    EXPECT_TRUE(r.contains(0, -2));
    EXPECT_TRUE(r.contains(5, -2));
    EXPECT_FALSE(r.contains(0, 1));
    EXPECT_FALSE(r.contains(-0.01f, -2));
    EXPECT_FALSE(r.contains(10.01f, -2));
    EXPECT_FALSE(r.contains(5, -4.01f));
    EXPECT_FALSE(r.contains(std::nanf(""), -2));
}

TEST(Rect, resizeAndTranslateKeepTheInvariant)
{
    // Resizing keeps the upper-left corner; translating moves all edges and keeps the size.
    Rect r(7, 3);
    EXPECT_EQ(0.0f, r.left());
    EXPECT_EQ(-3.0f, r.bottom());
    r.translate(2, -1);
    EXPECT_EQ(2.0f, r.left());
    EXPECT_EQ(9.0f, r.right());
    EXPECT_EQ(-1.0f, r.top());
    EXPECT_EQ(-4.0f, r.bottom());
    EXPECT_EQ(7.0f, r.width());
    EXPECT_EQ(3.0f, r.height());
    r.resize(4, 5);
    EXPECT_EQ(2.0f, r.left());
    EXPECT_EQ(6.0f, r.right());
    EXPECT_EQ(-1.0f, r.top());
    EXPECT_EQ(-6.0f, r.bottom());

    r.set(1, 1, -2, -3);
    EXPECT_EQ(-1.0f, r.right());
    EXPECT_EQ(4.0f, r.bottom());
    EXPECT_EQ(-2.0f, r.width());

    const Rect empty;
    EXPECT_TRUE(empty.contains(0, 0));
    EXPECT_EQ(0.0f, empty.height());
}
