#include "e2e/Driver.h"

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    vellicor::e2e::ConfigureFromCommandLine();
    vellicor::e2e::UsePhysicalPixels();
    if (vellicor::e2e::VellicorPath().empty()) {
        std::fputs("Pass --vellicor=<path of Vellicor.exe> or set VELLICOR_EXE.\n", stderr);
        return 2;
    }
    return RUN_ALL_TESTS();
}
