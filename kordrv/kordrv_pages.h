// The pages of the monitor's property sheet that show the instance's state (TCP/IP, VELT,
// About), the connection status dialog their "+" buttons open, and the Tune page, which
// changes the refresh period, the instance's logging switch, and resets its IP connections.
//
// The TCP/IP, VELT and Tune pages refresh on command ID_SHEET_REFRESH, which the refresh loop
// posts to the sheet while it is visible and the sheet hands to the active page.
#pragma once

#include "framework/framework.h"

#include <string>

class CKorDrvTcpIpPage : public CPropertyPage
{
public:
    CKorDrvTcpIpPage();

    UINT m_nConnections = 0;
    UINT m_nConnected = 0;
    UINT m_nSendTotal = 0;
    UINT m_nRecvTotal = 0;
    UINT m_nSendErrors = 0;
    UINT m_nRecvErrors = 0;
    std::wstring m_strHostName;
    std::wstring m_strAddress;
    UINT m_nAdapter = 0;

protected:
    // ID_SHEET_REFRESH: refresh and report it handled; the rest to the command map.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void Refresh();
    void OnPlus();

    DECLARE_COMMAND_MAP()
};

class CKorDrvVeltPage : public CPropertyPage
{
public:
    CKorDrvVeltPage();

    std::wstring m_strLocalAddress;
    UINT m_nHandlesOpened = 0;
    UINT m_nSocketsAttached = 0;
    UINT m_nConnections = 0;
    UINT m_nConnected = 0;
    UINT m_nSendTotal = 0;
    UINT m_nRecvTotal = 0;
    UINT m_nSendErrors = 0;
    UINT m_nRecvErrors = 0;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void Refresh();
    void OnPlus();

    DECLARE_COMMAND_MAP()
};

class CKorDrvAboutPage : public CPropertyPage
{
public:
    CKorDrvAboutPage();

    std::wstring m_strVersion;
    std::wstring m_strSystem;
    std::wstring m_strExtended;
    std::wstring m_strSockets;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};

// The connection status list: one line per IP connection (IP mode) or per VELT station (VELT
// mode), from the entry copies taken when it opens and on "Refresh".
class CKorDrvTcpIpPlus : public CDialog
{
public:
    explicit CKorDrvTcpIpPlus(bool bVeltMode, CWnd* pParent = nullptr);

    bool m_bVeltMode;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnRefresh();
    void FillStatusList();

    DECLARE_COMMAND_MAP()
};

class CKorDrvTunePage : public CPropertyPage
{
public:
    CKorDrvTunePage();

    CWnd m_ctlSlider;
    CWnd m_ctlProgress;
    std::wstring m_strLogFileName;
    std::wstring m_strStartLog;
    std::wstring m_strStopLog;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnHScroll(UINT nSBCode, UINT nPos, HWND hScrollBar);
    void UpdateLogProgress();
    void OnConfigure();
    void OnResetConnections();
    void OnLog();

    DECLARE_COMMAND_MAP()
};
