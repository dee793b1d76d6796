#include "kordrv/kordrv_sheet.h"

#include "kordrv/core/kordrv_ids.h"
#include "kordrv/core/kordrv_log.h"
#include "kordrv/core/kordrv_texts.h"
#include "kordrv/monitor.h"
#include "shared/drv_block_ops.h"
#include "shared/drv_names.h"

#include <thread>

using namespace kordrv;

namespace
{
const int kPageTcpIp = 0;
const int kPageVelt = 1;
const int kPageTune = 2;
const int kPageAbout = 3;
const UINT kApplyButton = 12321; // the sheet's Apply button
const UINT kHelpButton = 9;
} // namespace

CKorDrvPropertySheet::CKorDrvPropertySheet(LPCWSTR caption, UINT nStartupError)
    : CPropertySheet(caption, nullptr, 0), m_nStartupError(nStartupError)
{
    m_nTaskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    m_hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    m_psh.dwFlags |= PSH_USEHICON;
    m_psh.hIcon = m_hIcon;
    AddPage(&m_tcpIpPage);
    AddPage(&m_veltPage);
    AddPage(&m_tunePage);
    AddPage(&m_aboutPage);
}

BOOL CKorDrvPropertySheet::OnInitDialog()
{
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    BOOL result = CPropertySheet::OnInitDialog();
    MonitorState& m = Monitor();
    m.hSheet = m_hWnd;

    HANDLE hThread = ::CreateThread(nullptr, 0, &StopEventThread, m_hWnd, 0, nullptr);
    if (hThread)
        ::CloseHandle(hThread);

    for (UINT id :
         {static_cast<UINT>(IDCANCEL), kApplyButton, kHelpButton, static_cast<UINT>(IDOK)})
        ::ShowWindow(GetDlgItem(static_cast<int>(id)), SW_HIDE);
    // The OK button becomes "Hide", centred below the pages.
    HWND hOk = GetDlgItem(IDOK);
    if (hOk) {
        RECT sheet, button;
        GetWindowRect(&sheet);
        ::GetWindowRect(hOk, &button);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&button), 2);
        const int W = sheet.right - sheet.left;
        const int w = button.right - button.left;
        ::MoveWindow(hOk, (W - w) / 2, button.top, w, button.bottom - button.top, TRUE);
        ::SetWindowTextW(hOk, AfxLoadString(IDS_HIDE_BUTTON).c_str());
        ::ShowWindow(hOk, SW_SHOW);
    }

    if (m_nStartupError != 0) {
        ShowWindow(SW_RESTORE);
        PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        PostMessage(WM_COMMAND, IDOK, 0);
        UpdateTrayIcon(NIM_ADD);
        std::thread(RefreshLoop).detach();
    }
    return result;
}

BOOL CKorDrvPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    switch (id) {
    case IDOK:
    case IDCANCEL:
        ShowSheet(false);
        return TRUE;
    case ID_TRAY_RESTORE:
        ShowSheet(true);
        break;
    case ID_TRAY_TCPIP:
    case ID_TRAY_VELT:
    case ID_TRAY_TUNE:
    case ID_TRAY_ABOUT:
        SetActivePage(id == ID_TRAY_TCPIP  ? kPageTcpIp
                      : id == ID_TRAY_VELT ? kPageVelt
                      : id == ID_TRAY_TUNE ? kPageTune
                                           : kPageAbout);
        ShowSheet(true);
        break;
    default:
        break;
    }
    // Everything else goes on to the sheet control, which hands it to the active page.
    return CPropertySheet::OnCommand(wParam, lParam);
}

LRESULT CKorDrvPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_nTaskbarCreated && m_nTaskbarCreated != 0) {
        // The shell restarted, or says so: an icon it still knows would make the add fail.
        NOTIFYICONDATAA nid = {};
        nid.cbSize = sizeof(nid);
        nid.hWnd = m_hWnd;
        nid.uID = IDR_MAINFRAME;
        ::Shell_NotifyIconA(NIM_DELETE, &nid);
        UpdateTrayIcon(NIM_ADD);
    } else if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    } else if (message == KORDRV_WM_TRAY) {
        OnTrayNotify(lParam);
        return 0;
    }
    return CPropertySheet::WindowProc(message, wParam, lParam);
}

void CKorDrvPropertySheet::OnSize(UINT nType, int cx, int cy)
{
    CPropertySheet::OnSize(nType, cx, cy);
    BlockLock lock;
    Monitor().sheetVisible = !(nType == SIZE_MINIMIZED || nType == SIZE_MAXHIDE);
}

void CKorDrvPropertySheet::OnSysCommand(UINT nID, LPARAM lParam)
{
    if (lParam != KORDRV_CLOSE_MARKER) {
        ShowSheet(false);
        return;
    }
    MonitorState& m = Monitor();
    if (m_nStartupError != 0) {
        AfxMessageBox(m_nStartupError, MB_OK | MB_ICONERROR);
        if (StartupErrorLaunchesConfigTool(m_nStartupError))
            LaunchConfigTool();
    } else {
        DRV_STATE_BLOCK& b = *m.block.Block();
        if (LoadShared(b.status) != kDrvStatusStopRequested && LoadShared(b.handles_opened) != 0 &&
            AfxMessageBox(IDS_DRIVER_IN_USE, MB_OKCANCEL | MB_ICONERROR | MB_DEFBUTTON2) != IDOK)
            return;
        UpdateTrayIcon(NIM_DELETE);
    }
    (void)nID;
    EndDialog(IDCANCEL);
}

void CKorDrvPropertySheet::OnTrayNotify(LPARAM lParam)
{
    switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDBLCLK:
        ::BringWindowToTop(m_hWnd);
        if (!IsWindowVisible())
            ShowSheet(true);
        break;
    case WM_RBUTTONDOWN: {
        POINT pt;
        ::GetCursorPos(&pt);
        HMENU hMenu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU));
        HMENU hPopup = hMenu ? ::GetSubMenu(hMenu, 0) : nullptr;
        if (hPopup) {
            ::SetForegroundWindow(m_hWnd);
            ::TrackPopupMenu(hPopup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, nullptr);
            PostMessage(WM_NULL);
        }
        if (hMenu)
            ::DestroyMenu(hMenu);
        break;
    }
    default:
        break;
    }
}

void CKorDrvPropertySheet::ShowSheet(bool bShow)
{
    if (bShow) {
        ::BringWindowToTop(m_hWnd);
        ::SetFocus(m_hWnd);
        ShowWindow(SW_RESTORE);
    } else {
        ShowWindow(SW_HIDE);
    }
    BlockLock lock;
    Monitor().sheetVisible = bShow;
}

void CKorDrvPropertySheet::UpdateTrayIcon(DWORD dwAction)
{
    NOTIFYICONDATAA nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = m_hWnd;
    nid.uID = IDR_MAINFRAME;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = KORDRV_WM_TRAY;
    nid.hIcon = m_hIcon;
    FormatTrayTip(nid.szTip, sizeof(nid.szTip), Monitor().instance);
    m_bTrayResult = ::Shell_NotifyIconA(dwAction, &nid);
    if (Monitor().log.IsOpen()) {
        const FormatArg args[] = {ArgI(m_bTrayResult)};
        Monitor().log.WriteLogLine(kLogTrayResultFormat, args);
    }
}

// --- worker threads ----------------------------------------------------------------------------

void RefreshLoop()
{
    MonitorState& m = Monitor();
    DRV_STATE_BLOCK& b = *m.block.Block();
    if (LoadShared(b.quiet_mode) != 0) {
        ::Sleep(1000);
        ::PostMessageW(m.hSheet, WM_COMMAND, IDOK, 0);
    }
    for (;;) {
        std::uint32_t period;
        bool visible;
        {
            BlockLock lock;
            period = RunCountdown(&b);
            visible = m.sheetVisible;
        }
        if (visible)
            ::PostMessageW(m.hSheet, WM_COMMAND, ID_SHEET_REFRESH, 0);
        ::Sleep(period);
    }
}

DWORD WINAPI StopEventThread(LPVOID hSheet)
{
    HANDLE hEvent = CreateStopRequestEvent(::GetCurrentProcessId());
    if (!hEvent)
        return 0;
    ::WaitForSingleObject(hEvent, INFINITE);
    ::CloseHandle(hEvent);
    DRV_STATE_BLOCK& b = *Monitor().block.Block();
    StoreShared(b.status, kDrvStatusStopRequested);
    SignalStopAck(LoadShared(b.instance));
    ::PostMessageW(static_cast<HWND>(hSheet), WM_SYSCOMMAND, SC_CLOSE, KORDRV_CLOSE_MARKER);
    ::Sleep(10);
    return 0;
}
