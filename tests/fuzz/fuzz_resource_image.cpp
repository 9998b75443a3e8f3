#include "FuzzTargets.h"

#include <QGuiApplication>

#include <cstdlib>

// SVG text is drawn with fonts, which need a GUI application as in the library's hosts.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    // Refused input warns thousands of times a second; only a crash or a broken invariant counts.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!FuzzTargets::resourceImage(data, size))
        __builtin_trap();
    return 0;
}
