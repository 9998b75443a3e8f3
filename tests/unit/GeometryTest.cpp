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

TEST(Vector, keepsLengthAndAnglesDefinedBeyondTheSelfTest)
{
    // The length follows every setter, scaling and distance agree, and near-opposite vectors give 180 degrees, never NaN.
    Vector v(3, 4);
    v.setX(0);
    EXPECT_EQ(4.0, v.length());
    v.set(6, 8);
    EXPECT_EQ(10.0, v.length());
    EXPECT_EQ(5.0, v.scaled(0.5).length());
    EXPECT_EQ(22.0, Vector(1, 2).dot(Vector(4, 9)));
    EXPECT_EQ(5.0, distance(4, 5, 1, 1));
    EXPECT_EQ(0.0, Vector(0.1, 0.7).angleTo(Vector(0.2, 1.4)));
    EXPECT_NEAR(180.0, Vector(0.1, 0.7).angleTo(Vector(-0.3, -2.1)), 1e-6);
    EXPECT_FALSE(std::isnan(Vector(1e-3, 3e-3).angleTo(Vector(-7e5, -21e5))));
}

// Left, top, right and bottom of a rectangle, for comparing all four at once.
std::vector<float> edges(const Rect& r)
{
    return { r.left(), r.top(), r.right(), r.bottom() };
}

TEST(Rect, hangsDownFromItsTopAndContainsItsEdges)
{
    // A rectangle's bottom is top minus height; every edge and corner is inside, one step out is not.
    const Rect r(0, 0, 10, 4);
    EXPECT_EQ(edges(r), (std::vector<float>{ 0, 0, 10, -4 }));
    for (const auto& p : std::vector<std::pair<float, float>>{ {10, -4}, {0, 0}, {0, -4}, {10, 0}, {5, 0}, {0, -2}, {5, -2} })
        EXPECT_TRUE(r.contains(p.first, p.second)) << p.first << "," << p.second;
    for (const auto& p : std::vector<std::pair<float, float>>{ {0, 1}, {-0.01f, -2}, {10.01f, -2}, {5, -4.01f}, {std::nanf(""), -2} })
        EXPECT_FALSE(r.contains(p.first, p.second)) << p.first << "," << p.second;
    EXPECT_TRUE(Rect().contains(0, 0));
}

TEST(Rect, resizeAndTranslateKeepTheInvariant)
{
    // Resizing keeps the upper-left corner; translating moves all edges and keeps the size; set takes negative sizes as given.
    Rect r(7, 3);
    EXPECT_EQ(edges(r), (std::vector<float>{ 0, 0, 7, -3 }));
    r.translate(2, -1);
    EXPECT_EQ(edges(r), (std::vector<float>{ 2, -1, 9, -4 }));
    EXPECT_EQ(7.0f, r.width());
    EXPECT_EQ(3.0f, r.height());
    r.resize(4, 5);
    EXPECT_EQ(edges(r), (std::vector<float>{ 2, -1, 6, -6 }));
    r.set(1, 1, -2, -3);
    EXPECT_EQ(edges(r), (std::vector<float>{ 1, 1, -1, 4 }));
}
