// CPU time of two driver monitors over the same time span, in one run: one hidden behind its
// icon (no refresh is posted, the pages do nothing), one shown at the fastest refresh period
// (100 ms). Each runs beside a driver-service stand-in whose counters keep moving.
//
//   kordrv_cpu KorDrv.exe KorDrvSys.exe SECONDS CLOCK_TICKS_PER_SECOND
//
// Under Wine GetProcessTimes of another process reports nothing, so the times are taken
// where the work is really counted: each Wine process is a Linux process, found by its
// command line (/proc/<pid>/cmdline holds the Windows command line, one argument after the
// other) and measured by the user and system times of /proc/<pid>/stat (all its threads),
// read through Wine's drive Z: (the Linux root). The caller gives the Linux clock tick. Below
// the tick, the threads' schedstat times give the same span to the nanosecond.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

std::string ReadLinuxFile(const std::string& path)
{
    std::ifstream f("Z:" + path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

bool EndsWithNoCase(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           _stricmp(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

// The Linux process whose command line is program (any folder) followed, among its
// arguments, by argument; 0 when there is none or more than one.
long FindLinuxProcess(const std::string& program, const std::string& argument)
{
    long found = 0;
    int count = 0;
    WIN32_FIND_DATAA fd;
    HANDLE hFind = ::FindFirstFileA("Z:\\proc\\*", &fd);
    if (hFind == INVALID_HANDLE_VALUE)
        return 0;
    do {
        char* end = nullptr;
        const long pid = std::strtol(fd.cFileName, &end, 10);
        if (pid <= 0 || *end)
            continue;
        const std::string cmdline =
            ReadLinuxFile("/proc/" + std::string(fd.cFileName) + "/cmdline");
        std::vector<std::string> args;
        for (size_t at = 0; at < cmdline.size();) {
            size_t zero = cmdline.find('\0', at);
            if (zero == std::string::npos)
                zero = cmdline.size();
            args.push_back(cmdline.substr(at, zero - at));
            at = zero + 1;
        }
        if (args.empty() || !EndsWithNoCase(args[0], program))
            continue;
        for (size_t i = 1; i < args.size(); ++i) {
            if (args[i] == argument) {
                found = pid;
                ++count;
                break;
            }
        }
    } while (::FindNextFileA(hFind, &fd));
    ::FindClose(hFind);
    return count == 1 ? found : 0;
}

// User + system time of a Linux process in clock ticks; -1 when it cannot be read.
long long CpuTicks(long pid)
{
    const std::string stat = ReadLinuxFile("/proc/" + std::to_string(pid) + "/stat");
    // "pid (name) state ppid ...": utime and stime are fields 14 and 15, the 12th and 13th
    // after the name (which may hold blanks and parentheses of its own).
    const size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    long long utime = -1, stime = -1;
    for (int i = 1; i <= 13 && fields >> field; ++i) {
        if (i == 12)
            utime = std::atoll(field.c_str());
        else if (i == 13)
            stime = std::atoll(field.c_str());
    }
    return utime < 0 || stime < 0 ? -1 : utime + stime;
}

// Time on a CPU of all the threads of a Linux process in milliseconds, to the nanosecond
// (first field of each /proc/<pid>/task/<tid>/schedstat); -1 when it cannot be read. A thread
// that ends between two readings takes its time with it: the monitors' threads live as long
// as they do.
double OnCpuMs(long pid)
{
    const std::string tasks = "Z:\\proc\\" + std::to_string(pid) + "\\task\\";
    WIN32_FIND_DATAA fd;
    HANDLE hFind = ::FindFirstFileA((tasks + "*").c_str(), &fd);
    if (hFind == INVALID_HANDLE_VALUE)
        return -1;
    unsigned long long ns = 0;
    bool any = false;
    do {
        if (fd.cFileName[0] < '0' || fd.cFileName[0] > '9')
            continue;
        const std::string stat =
            ReadLinuxFile("/proc/" + std::to_string(pid) + "/task/" + fd.cFileName + "/schedstat");
        if (stat.empty())
            continue;
        ns += std::strtoull(stat.c_str(), nullptr, 10);
        any = true;
    } while (::FindNextFileA(hFind, &fd));
    ::FindClose(hFind);
    return any ? static_cast<double>(ns) / 1e6 : -1;
}

// refresh_period_ms of an instance's shared block (offset 32), as the monitor stored it.
long RefreshPeriodInBlock(int instance)
{
    char name[32];
    std::snprintf(name, sizeof(name), "Global\\KORData%02X", instance);
    HANDLE hMap = ::OpenFileMappingA(FILE_MAP_READ, FALSE, name);
    if (!hMap)
        return -1;
    long period = -1;
    if (const void* p = ::MapViewOfFile(hMap, FILE_MAP_READ, 0, 0, 0)) {
        std::uint32_t value;
        std::memcpy(&value, static_cast<const char*>(p) + 32, sizeof(value));
        period = static_cast<long>(value);
        ::UnmapViewOfFile(p);
    }
    ::CloseHandle(hMap);
    return period;
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
    if (argc != 5) {
        std::fprintf(stderr,
                     "usage: kordrv_cpu KorDrv.exe KorDrvSys.exe SECONDS CLOCK_TICKS_PER_SECOND\n");
        return 2;
    }
    const std::string monitor = argv[1], standIn = argv[2];
    const int seconds = std::atoi(argv[3]);
    const double msPerTick = 1000.0 / std::atof(argv[4]);

    PROCESS_INFORMATION drv[2], mon[2];
    const int instances[2] = {kHiddenInstance, kShownInstance};
    for (int i = 0; i < 2; ++i)
        drv[i] = Start("\"" + standIn + "\" -I" + std::to_string(instances[i]) + " -T " +
                       std::to_string(seconds + 60) + " -Q");
    ::Sleep(1500);
    for (int i = 0; i < 2; ++i)
        mon[i] = Start("\"" + monitor + "\" -I" + std::to_string(instances[i]));
    HWND sheets[2] = {WaitForSheet(kHiddenInstance), WaitForSheet(kShownInstance)};
    long linuxPids[2] = {0, 0};
    for (int i = 0; i < 2; ++i)
        linuxPids[i] = FindLinuxProcess("KorDrv.exe", "-I" + std::to_string(instances[i]));
    int rc = 0;
    if (!sheets[0] || !sheets[1]) {
        std::fprintf(stderr, "kordrv_cpu: the monitors did not start\n");
        rc = 1;
    } else if (!linuxPids[0] || !linuxPids[1]) {
        std::fprintf(stderr, "kordrv_cpu: the monitors' Linux processes were not found\n");
        rc = 1;
    } else {
        ::Sleep(2000); // both have hidden themselves by now
        // The shown one: its Tune page's command shows the sheet; the slider released at 100
        // stores a 100 ms period in the block.
        ::PostMessageA(sheets[1], WM_COMMAND, 32776, 0);
        ::Sleep(500);
        HWND page = reinterpret_cast<HWND>(::SendMessageA(sheets[1], 0x400 + 118, 0, 0));
        if (page)
            ::SendMessageA(page, WM_HSCROLL, MAKEWPARAM(4 /* TB_THUMBPOSITION */, 100),
                           reinterpret_cast<LPARAM>(::GetDlgItem(page, 1012)));
        ::PostMessageA(sheets[1], WM_COMMAND, 32773, 0); // the TCP/IP page, counters moving
        ::Sleep(1000);
        const long long start[2] = {CpuTicks(linuxPids[0]), CpuTicks(linuxPids[1])};
        const double startOnCpu[2] = {OnCpuMs(linuxPids[0]), OnCpuMs(linuxPids[1])};
        ::Sleep(static_cast<DWORD>(seconds) * 1000);
        const long long end[2] = {CpuTicks(linuxPids[0]), CpuTicks(linuxPids[1])};
        const double endOnCpu[2] = {OnCpuMs(linuxPids[0]), OnCpuMs(linuxPids[1])};
        double used[2];
        for (int i = 0; i < 2; ++i)
            used[i] = start[i] < 0 || end[i] < 0 ? -1 : (end[i] - start[i]) * msPerTick;
        std::printf("kordrv_cpu: %d s; Linux pids: hidden %ld, shown %ld\n", seconds, linuxPids[0],
                    linuxPids[1]);
        std::printf("  hidden monitor: visible %s, refresh period in block %ld ms\n",
                    ::IsWindowVisible(sheets[0]) ? "yes" : "no",
                    RefreshPeriodInBlock(kHiddenInstance));
        std::printf("  shown monitor:  visible %s, refresh period in block %ld ms\n",
                    ::IsWindowVisible(sheets[1]) ? "yes" : "no",
                    RefreshPeriodInBlock(kShownInstance));
        std::printf("  hidden monitor            %8.1f ms CPU (%.3f %% of one core)\n", used[0],
                    used[0] / (seconds * 10.0));
        std::printf("  shown monitor, 100 ms     %8.1f ms CPU (%.3f %% of one core)\n", used[1],
                    used[1] / (seconds * 10.0));
        if (used[0] > 0)
            std::printf("  shown / hidden            %8.2f\n", used[1] / used[0]);
        else
            std::printf("  shown / hidden                 n/a (the hidden monitor used less than "
                        "one clock tick)\n");
        // The same span to the nanosecond, for times below the clock tick.
        double onCpu[2];
        for (int i = 0; i < 2; ++i)
            onCpu[i] = startOnCpu[i] < 0 || endOnCpu[i] < 0 ? -1 : endOnCpu[i] - startOnCpu[i];
        std::printf("  on CPU (schedstat): hidden %.3f ms, shown %.3f ms", onCpu[0], onCpu[1]);
        if (onCpu[0] > 0)
            std::printf(", shown / hidden %.1f", onCpu[1] / onCpu[0]);
        std::printf("\n");
    }
    for (int i = 0; i < 2; ++i) {
        End(mon[i]);
        End(drv[i]);
    }
    return rc;
}
