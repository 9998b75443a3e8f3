#include "Core/UnitTests.h"

#include "Core/Point.h"
#include "Core/Vector.h"

#include <cmath>

namespace MiniToolbars {

namespace {

const char* const selfTestSource = "src/Core/UnitTests";
const double machineEpsilon = 2.220446049250313e-16;

} // namespace

// The line numbers are part of the reported failures and stay fixed.
bool runGeometrySelfTest(SelfTestReporter& reporter)
{
    bool passed = true;
    auto check = [&](bool ok, const char* message, int line) {
        if (!ok) {
            passed = false;
            reporter.failed(message, selfTestSource, line);
        }
    };

    const Point sum = Point(2, 2) + Vector(3, 4);
    check(sum == Point(5, 6), "Point + Vector not functioning correctly", 26);

    const Vector difference = Point(5, 6) - Point(2, 2);
    check(difference == Vector(3, 4), "Point - Point not functioning correctly", 27);

    Vector unit(Vector(3, 4));
    unit.normalise();
    check(std::abs(unit.x() - 0.6) < machineEpsilon && std::abs(unit.y() - 0.8) < machineEpsilon,
          "normalization not working", 30);

    const double angle = Vector(5, 5).angleTo(Vector(1, -std::sqrt(3.0)));
    check(std::abs(angle - 105.0) < 0.001, "Angle between vectors not correct", 36);

    if (passed)
        reporter.succeeded("Tests Successful");
    return passed;
}

} // namespace MiniToolbars
