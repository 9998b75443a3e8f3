// Core tests run against the stand-in backend: the program links the core
// and no toolkit, which proves that the core needs none.
#include "support/StandInBackend.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    MiniToolbars::Testing::StandInBackend backend;
    MiniToolbars::Backend::install(&backend);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    MiniToolbars::Backend::install(nullptr);
    return result;
}
