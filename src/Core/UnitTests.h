#ifndef MINITOOLBARS_UNITTESTS_H
#define MINITOOLBARS_UNITTESTS_H

namespace MiniToolbars {

// Receives the outcome of the geometry self test. The Qt backend routes it to
// Qt's assertion and warning channels.
class SelfTestReporter
{
public:
    virtual ~SelfTestReporter() = default;
    virtual void failed(const char* message, const char* source, int line) = 0;
    virtual void succeeded(const char* message) = 0;
};

// Point and vector arithmetic checks. Returns true when all pass.
bool runGeometrySelfTest(SelfTestReporter& reporter);

} // namespace MiniToolbars

#endif
