#include "e2e/Driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

namespace {

class WineSettings : public testing::Environment {
public:
    void SetUp() override { unmanaged_.emplace(vellicor::e2e::VellicorPath()); }
    void TearDown() override { unmanaged_.reset(); }

private:
    std::optional<vellicor::e2e::UnmanagedWindowsUnderWine> unmanaged_;
};

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    vellicor::e2e::ConfigureFromCommandLine();
    vellicor::e2e::UsePhysicalPixels();
    if (vellicor::e2e::VellicorPath().empty()) {
        std::fputs("Pass --vellicor=<path of Vellicor.exe> or set VELLICOR_EXE.\n", stderr);
        return 2;
    }
    testing::AddGlobalTestEnvironment(new WineSettings);
    return RUN_ALL_TESTS();
}
