#ifndef MINITOOLBARS_GEOMETRYSELFTEST_H
#define MINITOOLBARS_GEOMETRYSELFTEST_H

namespace MiniToolbars {

// Runs the geometry self test with Qt's channels: a failing check is a fatal
// assertion, success is announced as a warning. Returns true when all pass.
bool runGeometrySelfTest();

} // namespace MiniToolbars

#endif
