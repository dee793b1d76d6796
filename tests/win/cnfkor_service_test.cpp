// The launcher service stand-in, driven as the configuration tool drives it: a 32-bit program
// sends the control code 130 + n and instance n starts.
#include "driver_instance.h"

#include <tlhelp32.h>

#include <cstring>

namespace {

const char kService[] = "ZA_Zazuvor";

class LauncherService : public ::testing::Test {
protected:
    void SetUp() override
    {
        KOR_REQUIRE_SIM();
        kortest::ChildProcess install;
        std::string sim = kortest::SimDir();
        ASSERT_TRUE(install.Start(sim + "\\ZaZazuvor.exe", "install \"" + sim + "\\KorDrvSys.exe\""));
        ASSERT_EQ(0u, install.Wait(20000));
        // Instances without a listening socket, ending by themselves should a test die.
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                                "SYSTEM\\CurrentControlSet\\Services\\ZA_Zazuvor\\Parameters", 0,
                                KEY_SET_VALUE, &key));
        const char args[] = "-Q -T 60";
        RegSetValueExA(key, "DriverArgs", 0, REG_SZ, reinterpret_cast<const BYTE*>(args),
                       sizeof(args));
        RegCloseKey(key);

        m_scm = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
        ASSERT_NE(nullptr, m_scm) << "OpenSCManager: error " << GetLastError();
        // Right after a prefix is made, Wine's service manager can take a moment to list a
        // service it has just created.
        kortest::WaitUntil(
            [&] {
                m_svc = OpenServiceA(m_scm, kService,
                                     SERVICE_START | SERVICE_STOP | SERVICE_QUERY_STATUS |
                                         SERVICE_USER_DEFINED_CONTROL | DELETE);
                return m_svc != nullptr;
            },
            10000);
        ASSERT_NE(nullptr, m_svc) << "OpenService: error " << GetLastError();
        // The first start of a service in a fresh prefix can time out: try once more.
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (StartServiceA(m_svc, 0, nullptr) ||
                GetLastError() == ERROR_SERVICE_ALREADY_RUNNING)
                break;
        }
        SERVICE_STATUS_PROCESS st{};
        DWORD needed = 0;
        ASSERT_TRUE(kortest::WaitUntil(
            [&] {
                return QueryServiceStatusEx(m_svc, SC_STATUS_PROCESS_INFO,
                                            reinterpret_cast<BYTE*>(&st), sizeof(st), &needed) &&
                       st.dwCurrentState == SERVICE_RUNNING;
            },
            20000));
        m_servicePid = st.dwProcessId;
    }

    void TearDown() override
    {
        EndInstancesOfService();
        if (m_svc) {
            SERVICE_STATUS st;
            ControlService(m_svc, SERVICE_CONTROL_STOP, &st);
            DeleteService(m_svc);
            CloseServiceHandle(m_svc);
        }
        if (m_scm)
            CloseServiceHandle(m_scm);
    }

    // The driver processes this test had the service start: children of the service process.
    void EndInstancesOfService()
    {
        if (!m_servicePid)
            return;
        HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 pe{};
        pe.dwSize = sizeof(pe);
        for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe)) {
            if (pe.th32ParentProcessID != m_servicePid ||
                std::strstr(pe.szExeFile, "KorDrvSys.exe") == nullptr)
                continue;
            HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pe.th32ProcessID);
            if (p) {
                TerminateProcess(p, 0);
                WaitForSingleObject(p, 5000);
                CloseHandle(p);
            }
        }
        CloseHandle(snap);
    }

    SC_HANDLE m_scm = nullptr;
    SC_HANDLE m_svc = nullptr;
    DWORD m_servicePid = 0;
};

} // namespace

TEST_F(LauncherService, ControlCodesStartTheMatchingInstance)
{
    for (int index = 0; index < 9; ++index)
        ASSERT_FALSE(IsInstanceRunning(index)) << "instance " << index + 1 << " runs already";
    // Every other instance first, so that an instance started by a wrong code would show.
    const int order[] = {1, 3, 5, 7, 0, 2, 4, 6, 8};
    int started = 0;
    for (int index : order) {
        SERVICE_STATUS st;
        ASSERT_TRUE(ControlService(m_svc, 131 + index, &st)) << "code " << 131 + index;
        EXPECT_TRUE(kortest::WaitUntil([&] { return IsInstanceRunning(index); }, 10000))
            << "instance " << index + 1;
        int running = 0;
        for (int i = 0; i < 9; ++i)
            running += IsInstanceRunning(i);
        EXPECT_EQ(++started, running);
    }
}
