#include "e2e/Driver.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (!argument.starts_with("--vellicor=")) continue;
        std::wstring& path = vellicor::e2e::VellicorPath() = std::wstring(argument.begin() + 11, argument.end());
        // CMake on Linux hands over a Unix path; Wine reaches the root through drive Z:.
        if (path.starts_with(L'/')) path = L"Z:" + path;
        std::replace(path.begin(), path.end(), L'/', L'\\');
    }
    // Coordinates read from and sent to the program are real pixels at any density.
    ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    return RUN_ALL_TESTS();
}
