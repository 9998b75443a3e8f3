#include "Qt/GeometrySelfTest.h"

#include "Core/UnitTests.h"

#include <QtGlobal>

namespace MiniToolbars {

namespace {

class QtSelfTestReporter : public SelfTestReporter
{
public:
    void failed(const char* message, const char* source, int line) override
    {
        qt_assert_x("runGeometrySelfTest", message, source, line);
    }

    void succeeded(const char* message) override
    {
        qWarning("%s", message);
    }
};

} // namespace

bool runGeometrySelfTest()
{
    QtSelfTestReporter reporter;
    return runGeometrySelfTest(reporter);
}

} // namespace MiniToolbars
