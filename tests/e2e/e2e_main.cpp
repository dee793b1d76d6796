// Entry point of the end-to-end tests: GoogleTest's flags, then the paths (e2e_options.h).
#include "tests/e2e/e2e_options.h"
#include "tests/e2e/driver/e2e_driver.h"

#include <gtest/gtest.h>

#include <cstring>

namespace e2e
{
namespace
{
Options g_options;
}

const Options& GetOptions()
{
    return g_options;
}
} // namespace e2e

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    struct {
        const char* name;
        std::wstring* value;
    } const flags[] = {{"--cnfkor=", &e2e::g_options.cnfkor},
                       {"--probe=", &e2e::g_options.probe},
                       {"--screenshots=", &e2e::g_options.screenshots}};
    for (int i = 1; i < argc; ++i) {
        for (const auto& flag : flags) {
            size_t n = std::strlen(flag.name);
            if (std::strncmp(argv[i], flag.name, n) == 0)
                *flag.value = e2e::HostPathToWindows(argv[i] + n);
        }
    }
    if (!e2e::g_options.screenshots.empty())
        ::CreateDirectoryW(e2e::g_options.screenshots.c_str(), nullptr);
    return RUN_ALL_TESTS();
}
