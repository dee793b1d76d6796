#include "kordrv/kordrv_app.h"

#include "kordrv/core/kordrv_cmdline.h"
#include "kordrv/core/kordrv_ids.h"
#include "kordrv/core/kordrv_log.h"
#include "kordrv/core/kordrv_texts.h"
#include "kordrv/kordrv_sheet.h"
#include "kordrv/monitor.h"
#include "shared/drv_block_ops.h"
#include "shared/drv_names.h"

#include <cstdio>
#include <cstdlib>

#include <cstring>

using namespace kordrv;

CKorDrvApp theApp;

namespace
{
// The block could not be attached: say why on standard output.
void ReportAttachFailure(int instance, DWORD mapError)
{
    char name[kDrvNameBufferSize];
    FormatMappingName(name, sizeof(name), instance);
    HANDLE hMapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name);
    if (!hMapping) {
        std::printf("Could not open file mapping object (%d).\n",
                    static_cast<int>(::GetLastError()));
    } else {
        ::CloseHandle(hMapping);
        std::printf("Could not map view of file (%d).\n", static_cast<int>(mapError));
    }
    std::fflush(stdout);
}
} // namespace

BOOL CKorDrvApp::InitInstance()
{
    MonitorState& m = Monitor();

    // 1. Command line.
    CommandLine cmd;
    if (!ParseCommandLine(__argc, __argv, &cmd)) {
        AfxMessageBox(IDS_COMMAND_LINE_ERROR, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    m.instance = cmd.instance;

    // 2. The instance's block; without it the monitor has nothing to do.
    if (!m.block.AttachSharedBlock(cmd.instance)) {
        ReportAttachFailure(cmd.instance, m.block.LastError());
        ::ExitProcess(0);
    }
    DRV_STATE_BLOCK& b = *m.block.Block();

    // 3, 4. Priority (the locks exist with the monitor's state).
    ::SetPriorityClass(::GetCurrentProcess(), HIGH_PRIORITY_CLASS);

    // 5. The program's directory, with its trailing backslash.
    char path[sizeof(b.monitor_dir)] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof(path));
    if (n == 0 || n >= sizeof(path))
        path[0] = '\0';
    if (char* slash = std::strrchr(path, '\\'))
        slash[1] = '\0';
    WriteTextField(b.monitor_dir, path);

    // 6. Version.
    const DRV_VERSION_INFO version = ReadModuleVersion();
    std::memcpy(&b.monitor_version, &version, sizeof(version));

    // 7. Log name and the monitor's own log.
    if (!m.log.OpenMonitorLog(&b, &m.logLock, cmd.logRequested))
        StoreShared(b.status, kDrvStatusLogFileError);

    // 8. A quiet instance in error shows nothing.
    if (LoadShared(b.quiet_mode) != 0 && LoadShared(b.status) != kDrvStatusRunning)
        return FALSE;

    // 9. The title, also the caption of every message box.
    const int instance = LoadShared(b.instance);
    char title[64];
    FormatAppTitle(title, sizeof(title), LoadUtf8(IDS_APP_TITLE_TEMPLATE).c_str(), instance);
    m_strAppName = Widen(title);

    // 10. One monitor per instance.
    if (title[0] && ::FindWindowA(nullptr, title))
        return FALSE;

    // 11, 12. Tell the tool; choose the start-up error.
    NotifyConfigTool(m.instance, true);
    const UINT startupError = DriverStatusMessageId(LoadShared(b.status));

    // 13. The sheet, until a stop request closes it.
    {
        CKorDrvPropertySheet sheet(m_strAppName.c_str(), startupError);
        m_pMainWnd = &sheet;
        sheet.DoModal();
        m_pMainWnd = nullptr;
        m.hSheet = nullptr;
        m.hTunePage = nullptr;
    }

    // 14. Logging switched on: the log says so and closes.
    if (LoadShared(b.log_switch) != 0) {
        BlockLock lock;
        if (m.log.IsOpen()) {
            m.log.WriteLogLine(kLogStopped);
            m.log.Close();
        }
        StoreShared(b.log_switch, static_cast<std::uint64_t>(0));
    }

    // 15, 16.
    NotifyConfigTool(m.instance, false);
    return FALSE;
}
