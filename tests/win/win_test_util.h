// Helpers of the Win32 tests: paths handed in by the build, child processes that are always
// ended, polling with a limit.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

namespace kortest {

// A Unix path from the environment (set by ctest) as a Windows path through Wine's Z: drive;
// a path that already is a Windows one is kept. Empty when the variable is not set.
inline std::string EnvPath(const char* var)
{
    const char* v = std::getenv(var);
    if (!v || !*v)
        return std::string();
    std::string p(v);
    if (p[0] == '/') {
        for (char& c : p)
            if (c == '/')
                c = '\\';
        p = "Z:" + p;
    }
    return p;
}

// Polls `done` every 20 ms until it holds or `timeoutMs` has passed; the result of the last poll.
template <class F> bool WaitUntil(F done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return done();
        Sleep(20);
    }
}

// A child process started by a test and ended with it, by its own handle.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { Kill(); }

    bool Start(const std::string& exe, const std::string& args)
    {
        std::string cmd = "\"" + exe + "\" " + args;
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                            nullptr, &si, &pi))
            return false;
        CloseHandle(pi.hThread);
        m_process = pi.hProcess;
        m_pid = pi.dwProcessId;
        return true;
    }
    DWORD Pid() const { return m_pid; }
    HANDLE Handle() const { return m_process; }
    // Exit code after the process ended within the time, else STILL_ACTIVE.
    DWORD Wait(DWORD timeoutMs)
    {
        DWORD code = STILL_ACTIVE;
        if (m_process && WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(m_process, &code);
        return code;
    }
    void Kill()
    {
        if (!m_process)
            return;
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process, 1);
            WaitForSingleObject(m_process, 5000);
        }
        CloseHandle(m_process);
        m_process = nullptr;
    }

private:
    HANDLE m_process = nullptr;
    DWORD m_pid = 0;
};

// A text file in the temporary folder, removed with the object.
class TempFile {
public:
    explicit TempFile(const std::string& content)
    {
        char dir[MAX_PATH], path[MAX_PATH];
        GetTempPathA(sizeof(dir), dir);
        GetTempFileNameA(dir, "kor", 0, path);
        m_path = path;
        HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        if (f != INVALID_HANDLE_VALUE) {
            WriteFile(f, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
            CloseHandle(f);
        }
    }
    ~TempFile() { DeleteFileA(m_path.c_str()); }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace kortest
