#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!FuzzTargets::peReader(data, size))
        __builtin_trap();
    return 0;
}
