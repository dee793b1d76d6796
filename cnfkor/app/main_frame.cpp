#include "cnfkor/app/main_frame.h"

#include "cnfkor/config/kor_globals.h"
#include "res/cnfkor/resource.h"
#include "shared/drv_names.h"

IMPLEMENT_DYNCREATE(CMainFrame)

const DWORD CMainFrame::s_StoppedIcons[8] = {IDI_STOPPED_0, IDI_STOPPED_1, IDI_STOPPED_2,
                                             IDI_STOPPED_3, IDI_STOPPED_4, IDI_STOPPED_5,
                                             IDI_STOPPED_6, IDI_STOPPED_7};
const DWORD CMainFrame::s_RunningIcons[8] = {IDI_RUNNING_0, IDI_RUNNING_1, IDI_RUNNING_2,
                                             IDI_RUNNING_3, IDI_RUNNING_4, IDI_RUNNING_5,
                                             IDI_RUNNING_6, IDI_RUNNING_7};

namespace
{
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_DRIVER};
const int kIconPaneWidth = 18;
const int kStatusBarMinHeight = 18;
} // namespace

bool IsInstanceRunning(int nInstance)
{
    char name[kDrvNameBufferSize];
    if (!FormatMappingName(name, sizeof(name), nInstance))
        return false;
    HANDLE hMapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, name);
    if (!hMapping)
        return false;
    ::CloseHandle(hMapping);
    return true;
}

BEGIN_COMMAND_MAP(CMainFrame, CFrameWnd)
ON_UPDATE_COMMAND_UI(ID_PROFILE_CREATE, OnUpdateProfileCreate)
ON_UPDATE_COMMAND_UI(ID_PROFILE_REMOVE, OnUpdateProfileRemove)
ON_UPDATE_COMMAND_UI(ID_KOR_START, OnUpdateKorStart)
ON_UPDATE_COMMAND_UI(ID_KOR_STOP, OnUpdateKorStop)
ON_UPDATE_COMMAND_UI(ID_KOR_RESET, OnUpdateKorReset)
ON_UPDATE_COMMAND_UI(ID_TEST_MIRROR, OnUpdateTestMirror)
END_COMMAND_MAP()

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTW& cs)
{
    cs.style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    cs.lpszClass = L"OVCnfKorClass";
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, 2))
        return -1;

    for (int slot = 0; slot < kProfileSlots; ++slot)
        m_DriverState[slot] = IsInstanceRunning(slot + 1) ? 1 : 0;

    int iconPane = m_wndStatusBar.CommandToIndex(ID_INDICATOR_DRIVER);
    m_wndStatusBar.SetPaneInfo(iconPane, ID_INDICATOR_DRIVER, SBPS_NOBORDERS | SBPS_OWNERDRAW,
                               kIconPaneWidth);
    m_wndStatusBar.SetMinHeight(kStatusBarMinHeight);
    m_wndStatusBar.SetIconPane(iconPane);
    m_wndStatusBar.SetIconSequence(CurrentDriverState() ? s_RunningIcons : s_StoppedIcons, 8);

    // The driver monitors run with the user's rights; this tool runs elevated.
    ::ChangeWindowMessageFilter(WM_COMMAND, MSGFLT_ADD);
    return 0;
}

int CMainFrame::CurrentDriverState() const
{
    if (g_nCurrentProfile < 0 || g_nCurrentProfile >= kProfileSlots)
        return 0; // no profile: shown as stopped
    return m_DriverState[g_nCurrentProfile];
}

void CMainFrame::UpdateStateIcon()
{
    m_wndStatusBar.StopIconTimer();
    m_wndStatusBar.SetIconSequence(CurrentDriverState() ? s_RunningIcons : s_StoppedIcons, 8);
    m_wndStatusBar.StartIconTimer();
}

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    int instance = 0;
    if (ParseDrvNotifyWParam(static_cast<std::uint32_t>(wParam), &instance)) {
        OnDriverStateNotify(instance, lParam != 0);
        return TRUE;
    }
    return CFrameWnd::OnCommand(wParam, lParam);
}

void CMainFrame::OnDriverStateNotify(int nInstance, bool bRunning)
{
    if (nInstance < 1 || nInstance > kProfileSlots)
        return; // no such profile: ignored
    int slot = nInstance - 1;
    if (bRunning)
        m_DriverState[slot] = 1;
    else if (m_DriverState[slot] != 0)
        m_DriverState[slot] = 0;
    else
        return; // already stopped: nothing changes
    if (slot == g_nCurrentProfile)
        UpdateStateIcon();
}

void CMainFrame::OnUpdateProfileCreate(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(g_nProfileCount != kProfileSlots);
}

void CMainFrame::OnUpdateProfileRemove(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(g_nProfileCount != 0);
}

void CMainFrame::OnUpdateKorStart(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CurrentDriverState() == 0 && g_nCurrentProfile >= 0);
    UpdateStateIcon();
}

void CMainFrame::OnUpdateKorStop(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CurrentDriverState() == 1);
    UpdateStateIcon();
}

void CMainFrame::OnUpdateKorReset(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CurrentDriverState() == 1);
    UpdateStateIcon();
}

void CMainFrame::OnUpdateTestMirror(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CurrentDriverState() == 0 && g_nCurrentProfile >= 0);
}
