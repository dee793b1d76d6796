// A live driver instance for the tests: the driver-service stand-in started for one instance
// with a scenario, ended (by its own handle) when the object goes.
#pragma once

#include "win_test_util.h"

#include "shared/drv_block_win.h"

#include <gtest/gtest.h>

namespace kortest {

// Folder of the stand-ins (64-bit build), handed in by ctest; empty when unknown.
inline std::string SimDir()
{
    return EnvPath("KOR_SIM_DIR");
}

class DriverInstance {
public:
    // Starts KorDrvSys.exe -I<instance> with the scenario text; true once its block exists.
    bool Start(int instance, const std::string& scenario, const std::string& extraArgs = "-Q")
    {
        m_instance = instance;
        m_scenario.reset(new TempFile(scenario));
        std::string args = "-I" + std::to_string(instance) + " -F \"" + m_scenario->Path() +
                           "\" -T 60 " + extraArgs;
        if (!m_process.Start(SimDir() + "\\KorDrvSys.exe", args))
            return false;
        return WaitUntil([&] { return IsInstanceRunning(instance - 1); }, 10000);
    }
    DWORD Pid() const { return m_process.Pid(); }
    ~DriverInstance()
    {
        m_process.Kill();
        // The block goes with the last handle: let the next test find the name free.
        if (m_instance)
            WaitUntil([&] { return !IsInstanceRunning(m_instance - 1); }, 5000);
    }

private:
    int m_instance = 0;
    std::unique_ptr<TempFile> m_scenario;
    ChildProcess m_process;
};

#define KOR_REQUIRE_SIM()                                                                     \
    do {                                                                                       \
        if (kortest::SimDir().empty())                                                         \
            GTEST_SKIP() << "KOR_SIM_DIR not set: the stand-ins' folder is unknown";          \
    } while (0)

// Scenario of the tests: a local address, two handles, three configured entries (ids are their
// positions; heads 0 and 1, 0 connected, 2 behind 0) and two added entries (head 21, connected,
// and id 2, which the configured list has too).
constexpr char kScenario[] = "velt 3 12\n"
                             "handles 2\n"
                             "host station-host\n"
                             "ip 10.1.2.3\n"
                             "moving 1\n"
                             "cfg 0 0 1 3 5 192.168.1.10 alpha\n"
                             "cfg 1 1 0 3 6 192.168.1.11 beta\n"
                             "cfg 2 0 0 3 7 192.168.1.10 gamma\n"
                             "added 21 21 1 4 1 192.168.2.20 delta\n"
                             "added 2 21 0 4 2 192.168.2.20 epsilon\n";

} // namespace kortest
