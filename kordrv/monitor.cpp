#include "kordrv/monitor.h"

#include "kordrv/core/kordrv_format.h"
#include "kordrv/core/kordrv_ids.h"
#include "shared/drv_block_ops.h"
#include "shared/drv_names.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

namespace kordrv
{

MonitorState::MonitorState()
{
    ::InitializeCriticalSection(&blockLock);
    ::InitializeCriticalSection(&logLock);
}

MonitorState::~MonitorState()
{
    log.Close();
    ::DeleteCriticalSection(&logLock);
    ::DeleteCriticalSection(&blockLock);
}

MonitorState& Monitor()
{
    static MonitorState state;
    return state;
}

std::string LoadUtf8(UINT nID)
{
    const wchar_t* text = nullptr;
    int length =
        ::LoadStringW(::GetModuleHandleW(nullptr), nID, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return std::string();
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], bytes, nullptr, nullptr);
    return out;
}

std::wstring Widen(const char* utf8)
{
    if (!utf8 || !*utf8)
        return std::wstring();
    int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &out[0], n);
    out.resize(std::wcslen(out.c_str()));
    return out;
}

DRV_VERSION_INFO ReadModuleVersion()
{
    DRV_VERSION_INFO info = {};
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return info;
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return info;
    std::vector<char> data(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (::GetFileVersionInfoA(path, 0, size, data.data()) &&
        ::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) &&
        fixed && fixedSize >= sizeof(VS_FIXEDFILEINFO))
        info = MakeVersionInfo(fixed->dwFileVersionMS, fixed->dwFileVersionLS, fixed->dwFileFlags);
    return info;
}

void NotifyConfigTool(int instance, bool started)
{
    HWND hTool = ::FindWindowA(kCnfKorWindowClass, nullptr);
    if (hTool)
        ::PostMessageA(hTool, WM_COMMAND, MakeDrvNotifyWParam(instance),
                       started ? kDrvNotifyStarted : kDrvNotifyEnded);
}

bool ConfigToolPath(char* buf, std::size_t size, const char* wow64Dir, const char* monitorDir)
{
    TextWriter out(buf, size);
    if (wow64Dir && *wow64Dir) {
        out.Text(wow64Dir, MAX_PATH);
        out.Char('\\');
    } else {
        out.Text(monitorDir, 256);
    }
    out.Text("CnfKor.exe");
    return !out.Cut();
}

void LaunchConfigTool()
{
    MonitorState& m = Monitor();
    char wow64[MAX_PATH + 1] = {};
    UINT n = ::GetSystemWow64DirectoryA(wow64, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        wow64[0] = '\0';
    char monitorDir[sizeof(DRV_STATE_BLOCK::monitor_dir) + 1] = {};
    if (m.block.Block())
        ReadTextField(m.block.Block()->monitor_dir, monitorDir);
    char path[MAX_PATH + 16];
    if (!ConfigToolPath(path, sizeof(path), wow64, monitorDir))
        return;
    if (m.hTunePage && ::IsWindow(m.hTunePage))
        ::SendDlgItemMessageW(m.hTunePage, IDC_TUNE_CONFIGURE, BCM_SETSHIELD, 0, TRUE);
    // No error box when the program is missing: the monitor may run without a user watching.
    SHELLEXECUTEINFOA sei = {};
    sei.cbSize = sizeof(sei);
    sei.fMask = SEE_MASK_FLAG_NO_UI;
    sei.lpVerb = "open";
    sei.lpFile = path;
    sei.nShow = SW_SHOWNORMAL;
    ::ShellExecuteExA(&sei);
}

} // namespace kordrv
