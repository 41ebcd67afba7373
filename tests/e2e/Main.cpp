#include "e2e/Driver.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    vellicor::e2e::ConfigureFromCommandLine();
    // Coordinates read from and sent to the program are real pixels at any density.
    ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    return RUN_ALL_TESTS();
}
