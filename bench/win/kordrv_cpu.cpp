// CPU time of two driver monitors over the same time span, in one run: one hidden behind its
// icon (no refresh is posted, the pages do nothing), one shown at the fastest refresh period
// (100 ms). Each runs beside a driver-service stand-in whose counters keep moving.
//
//   kordrv_cpu KorDrv.exe KorDrvSys.exe SECONDS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
const int kHiddenInstance = 8;
const int kShownInstance = 9;

PROCESS_INFORMATION Start(const std::string& commandLine)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string cmd = commandLine;
    if (!::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        std::fprintf(stderr, "kordrv_cpu: cannot start %s\n", commandLine.c_str());
    return pi;
}

void End(PROCESS_INFORMATION& pi)
{
    if (!pi.hProcess)
        return;
    ::TerminateProcess(pi.hProcess, 0);
    ::WaitForSingleObject(pi.hProcess, 5000);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    pi = PROCESS_INFORMATION{};
}

double CpuMs(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
        return -1;
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

HWND WaitForSheet(int instance)
{
    char title[32];
    std::snprintf(title, sizeof(title), "KOR Driver - KOR0%d", instance);
    for (int i = 0; i < 300; ++i) {
        if (HWND hWnd = ::FindWindowA(nullptr, title))
            return hWnd;
        ::Sleep(100);
    }
    return nullptr;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: kordrv_cpu KorDrv.exe KorDrvSys.exe SECONDS\n");
        return 2;
    }
    const std::string monitor = argv[1], standIn = argv[2];
    const int seconds = std::atoi(argv[3]);

    PROCESS_INFORMATION drv[2], mon[2];
    const int instances[2] = {kHiddenInstance, kShownInstance};
    for (int i = 0; i < 2; ++i)
        drv[i] = Start("\"" + standIn + "\" -I" + std::to_string(instances[i]) + " -T " +
                       std::to_string(seconds + 60) + " -Q");
    ::Sleep(1500);
    for (int i = 0; i < 2; ++i)
        mon[i] = Start("\"" + monitor + "\" -I" + std::to_string(instances[i]));
    HWND sheets[2] = {WaitForSheet(kHiddenInstance), WaitForSheet(kShownInstance)};
    int rc = 0;
    if (!sheets[0] || !sheets[1]) {
        std::fprintf(stderr, "kordrv_cpu: the monitors did not start\n");
        rc = 1;
    } else {
        ::Sleep(2000); // both have hidden themselves by now
        // The shown one: fastest period on its Tune page's slider (released at 0), then shown.
        ::PostMessageA(sheets[1], WM_COMMAND, 32776, 0); // show the Tune page
        ::Sleep(500);
        HWND page = reinterpret_cast<HWND>(::SendMessageA(sheets[1], 0x400 + 118, 0, 0));
        if (page)
            ::SendMessageA(page, WM_HSCROLL, MAKEWPARAM(4 /* TB_THUMBPOSITION */, 0),
                           reinterpret_cast<LPARAM>(::GetDlgItem(page, 1012)));
        ::PostMessageA(sheets[1], WM_COMMAND, 32773, 0); // the TCP/IP page, counters moving
        ::Sleep(1000);
        const double start[2] = {CpuMs(mon[0].hProcess), CpuMs(mon[1].hProcess)};
        ::Sleep(static_cast<DWORD>(seconds) * 1000);
        const double used[2] = {CpuMs(mon[0].hProcess) - start[0],
                                CpuMs(mon[1].hProcess) - start[1]};
        std::printf("kordrv_cpu: %d s, shown monitor visible: %s\n", seconds,
                    ::IsWindowVisible(sheets[1]) ? "yes" : "no");
        std::printf("  hidden monitor            %8.1f ms CPU (%.3f %% of one core)\n", used[0],
                    used[0] / (seconds * 10.0));
        std::printf("  shown monitor, 100 ms     %8.1f ms CPU (%.3f %% of one core)\n", used[1],
                    used[1] / (seconds * 10.0));
    }
    for (int i = 0; i < 2; ++i) {
        End(mon[i]);
        End(drv[i]);
    }
    return rc;
}
