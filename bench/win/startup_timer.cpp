// Times the start-up of Windows programs: from CreateProcess to the moment their main window
// (found by class) is visible. The programs are started in turn, runs times each, so that
// both see the same machine state; each is closed (WM_CLOSE) before the next start.
//
//   startup_timer RUNS PROGRAM CLASS [PROGRAM CLASS ...]
//
// Prints one line per program: the first start (often slower: caches and the Wine desktop
// process) and, over the other runs, median, minimum and maximum in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
struct Target {
    std::wstring program;
    std::wstring windowClass;
    std::vector<double> ms; // one per run; -1 when the window never came
};

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND VisibleWindow(const std::wstring& windowClass, DWORD pid)
{
    for (HWND hWnd = ::FindWindowExW(nullptr, nullptr, windowClass.c_str(), nullptr); hWnd;
         hWnd = ::FindWindowExW(nullptr, hWnd, windowClass.c_str(), nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hWnd, &owner);
        if (owner == pid && ::IsWindowVisible(hWnd))
            return hWnd;
    }
    return nullptr;
}

// One start: the time to a visible window in ms, or -1 (after 60 s).
double TimeOneStart(const Target& target)
{
    std::wstring commandLine = L"\"" + target.program + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    double start = NowMs();
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi))
        return -1;
    HWND hWnd = nullptr;
    double elapsed = -1;
    while (NowMs() - start < 60000) {
        if ((hWnd = VisibleWindow(target.windowClass, pi.dwProcessId)) != nullptr) {
            elapsed = NowMs() - start;
            break;
        }
        if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0)
            break;
        ::Sleep(1);
    }
    if (hWnd)
        ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
        ::TerminateProcess(pi.hProcess, 1);
        ::WaitForSingleObject(pi.hProcess, 10000);
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return elapsed;
}

std::wstring Widen(const char* text)
{
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
    wide.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    return wide;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 4 || (argc - 2) % 2 != 0) {
        std::fprintf(stderr, "usage: startup_timer RUNS PROGRAM CLASS [PROGRAM CLASS ...]\n");
        return 2;
    }
    int runs = std::max(2, std::atoi(argv[1]));
    std::vector<Target> targets;
    for (int i = 2; i + 1 < argc; i += 2)
        targets.push_back({Widen(argv[i]), Widen(argv[i + 1]), {}});

    for (int run = 0; run < runs; ++run) {
        for (Target& target : targets)
            target.ms.push_back(TimeOneStart(target));
    }

    std::printf("%-28s %10s %10s %10s %10s %6s\n", "program (ms to visible)", "first", "median",
                "min", "max", "runs");
    int status = 0;
    for (const Target& target : targets) {
        std::vector<double> rest(target.ms.begin() + 1, target.ms.end());
        bool failed =
            std::any_of(target.ms.begin(), target.ms.end(), [](double v) { return v < 0; });
        std::sort(rest.begin(), rest.end());
        double median = rest.size() % 2 ? rest[rest.size() / 2]
                                        : (rest[rest.size() / 2 - 1] + rest[rest.size() / 2]) / 2;
        std::wstring name = target.program.substr(target.program.find_last_of(L"\\/") + 1);
        std::printf("%-28ls %10.1f %10.1f %10.1f %10.1f %6d%s\n", name.c_str(), target.ms.front(),
                    median, rest.front(), rest.back(), runs, failed ? "  (a start failed)" : "");
        if (failed)
            status = 1;
    }
    return status;
}
