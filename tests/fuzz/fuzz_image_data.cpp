#include "FuzzTargets.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return FuzzTargets::startGuiApplication(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!FuzzTargets::imageData(data, size))
        __builtin_trap();
    return 0;
}
