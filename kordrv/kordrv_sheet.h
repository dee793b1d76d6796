// The monitor's only window: a modal property sheet that lives hidden behind its
// notification-area icon, refreshed by RefreshLoop while visible, and closed only by a stop
// request (StopEventThread) or a close carrying the marker KORDRV_CLOSE_MARKER.
#pragma once

#include "kordrv/kordrv_pages.h"

#include <shellapi.h>

class CKorDrvPropertySheet : public CPropertySheet
{
public:
    // caption: the application title; nStartupError: a string id or 0.
    CKorDrvPropertySheet(LPCWSTR caption, UINT nStartupError);

    CKorDrvTcpIpPage m_tcpIpPage;
    CKorDrvVeltPage m_veltPage;
    CKorDrvTunePage m_tunePage;
    CKorDrvAboutPage m_aboutPage;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnSize(UINT nType, int cx, int cy) override;
    void OnTrayNotify(LPARAM lParam);

    // Shows (restored, in front, focused) or hides the sheet; keeps the visible flag.
    void ShowSheet(bool bShow);
    // NIM_ADD or NIM_DELETE of the icon; the result is kept and logged.
    void UpdateTrayIcon(DWORD dwAction);

    HICON m_hIcon;
    UINT m_nTaskbarCreated;
    UINT m_nStartupError;
    BOOL m_bTrayResult = FALSE;
};

// The worker threads of the sheet (started by OnInitDialog).
DWORD WINAPI StopEventThread(LPVOID hSheet);
void RefreshLoop();
