// CMainFrame: the tool's only main window. Menu, status bar with the driver-state icon of
// the current profile, the enabling rules of the commands, and the driver-state
// notifications that the driver monitors post.
#pragma once

#include "cnfkor/app/my_status_bar.h"
#include "cnfkor/config/kor_config_data.h"

class CMainFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)

public:
    // Restarts the icon animation with the sequence of the current profile's driver state.
    void UpdateStateIcon();

    CMyStatusBar m_wndStatusBar;
    // Per profile slot: 1 while its driver instance runs, 0 otherwise.
    int m_DriverState[kProfileSlots] = {};

    // The icon sequences (8 frames each) of a stopped and of a running driver.
    static const DWORD s_StoppedIcons[8];
    static const DWORD s_RunningIcons[8];
    // The driver state of the current profile; 0 while there is no profile.
    int CurrentDriverState() const;

protected:
    // Exactly WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, class "OVCnfKorClass".
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    int OnCreate(LPCREATESTRUCTW lpCreateStruct) override;
    // A driver-state notification (low word 0xFFFF), else the framework's command routing.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    void OnUpdateProfileCreate(CCmdUI* pCmdUI);
    void OnUpdateProfileRemove(CCmdUI* pCmdUI);
    void OnUpdateKorStart(CCmdUI* pCmdUI);
    void OnUpdateKorStop(CCmdUI* pCmdUI);
    void OnUpdateKorReset(CCmdUI* pCmdUI);
    void OnUpdateTestMirror(CCmdUI* pCmdUI);

    DECLARE_COMMAND_MAP()

private:
    // The driver-state notification of instance n (1..9; others are ignored).
    void OnDriverStateNotify(int nInstance, bool bRunning);
};

// Whether the shared state block of driver instance n (1..9) exists, i.e. the instance runs.
bool IsInstanceRunning(int nInstance);
