#include "Geometry.h"
#include "GeometrySelfTest.h"
#include "Point.h"
#include "Rect.h"
#include "UnitTests.h"
#include "Vector.h"

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
    std::vector<std::string> failures, successes;
};

std::vector<float> edges(const Rect& r)
{
    return { r.left(), r.top(), r.right(), r.bottom() };
}

} // namespace

TEST(Geometry, selfTestPassesAndVectorsStayDefined)
{
    // The built-in self test reports one success; lengths follow setters, near-opposite vectors give 180 degrees, and one differing coordinate breaks equality.
    RecordingReporter reporter;
    EXPECT_TRUE(runGeometrySelfTest(reporter));
    EXPECT_EQ(std::vector<std::string>{ "Tests Successful" }, reporter.successes);
    EXPECT_TRUE(reporter.failures.empty());
    Vector v(3, 4);
    v.setX(0);
    EXPECT_EQ(4.0, v.length());
    v.set(6, 8);
    EXPECT_EQ(5.0, v.scaled(0.5).length());
    EXPECT_EQ(22.0, Vector(1, 2).dot(Vector(4, 9)));
    EXPECT_EQ(5.0, distance(4, 5, 1, 1));
    EXPECT_NEAR(180.0, Vector(0.1, 0.7).angleTo(Vector(-0.3, -2.1)), 1e-6);
    EXPECT_FALSE(std::isnan(Vector(1e-3, 3e-3).angleTo(Vector(-7e5, -21e5))));
    EXPECT_TRUE(Vector(1, 2) == Vector(1, 2));
    EXPECT_FALSE(Vector(1, 2) == Vector(1, 3));
    EXPECT_FALSE(Vector(1, 2) == Vector(0, 2));
    EXPECT_TRUE(Point(1, 2) == Point(1, 2));
    EXPECT_FALSE(Point(1, 2) == Point(1, 3));
    EXPECT_FALSE(Point(1, 2) == Point(0, 2));
}

TEST(Geometry, rectanglesHangDownFromTheirTopAndContainTheirEdges)
{
    // Bottom is top minus height; edges are inside, one step out is not; resize keeps the corner, translate the size.
    const Rect r(0, 0, 10, 4);
    EXPECT_EQ(edges(r), (std::vector<float>{ 0, 0, 10, -4 }));
    for (const auto& p : std::vector<std::pair<float, float>>{ { 10, -4 }, { 0, 0 }, { 0, -4 }, { 10, 0 }, { 5, -2 } })
        EXPECT_TRUE(r.contains(p.first, p.second)) << p.first << "," << p.second;
    for (const auto& p : std::vector<std::pair<float, float>>{ { 0, 1 }, { -0.01f, -2 }, { 10.01f, -2 }, { 5, -4.01f }, { std::nanf(""), -2 } })
        EXPECT_FALSE(r.contains(p.first, p.second)) << p.first << "," << p.second;
    Rect moved(7, 3);
    moved.translate(2, -1);
    EXPECT_EQ(edges(moved), (std::vector<float>{ 2, -1, 9, -4 }));
    moved.resize(4, 5);
    EXPECT_EQ(edges(moved), (std::vector<float>{ 2, -1, 6, -6 }));
    moved.set(1, 1, -2, -3);
    EXPECT_EQ(edges(moved), (std::vector<float>{ 1, 1, -1, 4 }));
}
