// Stand-in for the service "ZA_Zazuvor" that starts driver instances: the user-defined control
// code 130 + n starts KorDrvSys.exe for instance n and, when configured, its monitor.
//
//   ZaZazuvor.exe install DRIVER_EXE [MONITOR_EXE]   create the service in this machine's SCM
//   ZaZazuvor.exe remove                             delete it
//   (run by the service control manager)             serve the controls
//
// The programs to start are kept in the service's registry key (values Driver, Monitor,
// DriverArgs), so a test can change them without reinstalling.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const char kServiceName[] = "ZA_Zazuvor";
const char kParamKey[] = "SYSTEM\\CurrentControlSet\\Services\\ZA_Zazuvor\\Parameters";

SERVICE_STATUS_HANDLE g_status;
SERVICE_STATUS g_state;
HANDLE g_stopEvent;

bool ReadParam(const char* name, char* out, DWORD size)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kParamKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, len = size - 1;
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(out), &len);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ || len == 0)
        return false;
    out[len] = '\0'; // a stored value need not carry its terminator
    return true;
}

bool StartProgram(const char* exe, const char* args)
{
    char cmd[1024];
    int n = std::snprintf(cmd, sizeof(cmd), "\"%s\" %s", exe, args);
    if (n < 0 || n >= static_cast<int>(sizeof(cmd)))
        return false;
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

// Starts instance n: the driver process, then its monitor when one is configured.
DWORD StartInstance(int n)
{
    char driver[MAX_PATH], extra[512] = "", monitor[MAX_PATH], args[600];
    if (!ReadParam("Driver", driver, sizeof(driver)))
        return ERROR_FILE_NOT_FOUND;
    ReadParam("DriverArgs", extra, sizeof(extra));
    std::snprintf(args, sizeof(args), "-I%d %s", n, extra);
    if (!StartProgram(driver, args))
        return GetLastError();
    if (ReadParam("Monitor", monitor, sizeof(monitor))) {
        std::snprintf(args, sizeof(args), "-I%d", n);
        Sleep(200); // the monitor attaches to the block the driver creates
        StartProgram(monitor, args);
    }
    return NO_ERROR;
}

DWORD WINAPI Handler(DWORD control, DWORD, void*, void*)
{
    if (control == SERVICE_CONTROL_STOP || control == SERVICE_CONTROL_SHUTDOWN) {
        g_state.dwCurrentState = SERVICE_STOP_PENDING;
        SetServiceStatus(g_status, &g_state);
        SetEvent(g_stopEvent);
        return NO_ERROR;
    }
    if (control == SERVICE_CONTROL_INTERROGATE)
        return NO_ERROR;
    if (control >= 131 && control <= 139)
        return StartInstance(static_cast<int>(control - 130));
    return ERROR_CALL_NOT_IMPLEMENTED;
}

void WINAPI ServiceMain(DWORD, char**)
{
    g_status = RegisterServiceCtrlHandlerExA(kServiceName, Handler, nullptr);
    if (!g_status)
        return;
    g_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_state.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    g_state.dwControlsAccepted = SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN;
    g_state.dwCurrentState = SERVICE_RUNNING;
    SetServiceStatus(g_status, &g_state);
    WaitForSingleObject(g_stopEvent, INFINITE);
    g_state.dwCurrentState = SERVICE_STOPPED;
    SetServiceStatus(g_status, &g_state);
}

bool SetParam(HKEY key, const char* name, const char* value)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>(std::strlen(value) + 1)) == ERROR_SUCCESS;
}

int Install(const char* driver, const char* monitor)
{
    char self[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, self, sizeof(self));
    if (n == 0 || n >= sizeof(self))
        return 1;
    SC_HANDLE scm = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE);
    if (!scm) {
        std::fprintf(stderr, "ZaZazuvor: OpenSCManager failed (%lu)\n", GetLastError());
        return 1;
    }
    SC_HANDLE svc = CreateServiceA(scm, kServiceName, kServiceName, SERVICE_ALL_ACCESS,
                                   SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                   SERVICE_ERROR_NORMAL, self, nullptr, nullptr, nullptr,
                                   nullptr, nullptr);
    if (!svc && GetLastError() == ERROR_SERVICE_EXISTS)
        svc = OpenServiceA(scm, kServiceName, SERVICE_ALL_ACCESS);
    if (!svc) {
        std::fprintf(stderr, "ZaZazuvor: CreateService failed (%lu)\n", GetLastError());
        CloseServiceHandle(scm);
        return 1;
    }
    CloseServiceHandle(svc);
    CloseServiceHandle(scm);
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kParamKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 1;
    bool ok = SetParam(key, "Driver", driver);
    if (monitor)
        ok = ok && SetParam(key, "Monitor", monitor);
    else
        RegDeleteValueA(key, "Monitor");
    RegCloseKey(key);
    return ok ? 0 : 1;
}

int Remove()
{
    SC_HANDLE scm = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!scm)
        return 1;
    SC_HANDLE svc = OpenServiceA(scm, kServiceName, SERVICE_STOP | DELETE);
    bool ok = false;
    if (svc) {
        SERVICE_STATUS st;
        ControlService(svc, SERVICE_CONTROL_STOP, &st);
        ok = DeleteService(svc) != 0;
        CloseServiceHandle(svc);
    }
    CloseServiceHandle(scm);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "install") == 0)
        return Install(argv[2], argc >= 4 ? argv[3] : nullptr);
    if (argc == 2 && std::strcmp(argv[1], "remove") == 0)
        return Remove();
    if (argc > 1) {
        std::fprintf(stderr, "usage: ZaZazuvor.exe install DRIVER_EXE [MONITOR_EXE]\n"
                             "       ZaZazuvor.exe remove\n"
                             "Run by the service control manager, control 130+n starts\n"
                             "DRIVER_EXE -I<n> (and MONITOR_EXE -I<n> when given).\n");
        return 2;
    }
    SERVICE_TABLE_ENTRYA table[] = {{const_cast<char*>(kServiceName), ServiceMain},
                                    {nullptr, nullptr}};
    return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
