#include "kordrv/kordrv_pages.h"

#include "kordrv/core/kordrv_ids.h"
#include "kordrv/core/kordrv_log.h"
#include "kordrv/core/kordrv_status_list.h"
#include "kordrv/core/kordrv_texts.h"
#include "kordrv/core/kordrv_tune.h"
#include "kordrv/monitor.h"
#include "shared/drv_block_ops.h"

#include <cstring>

using namespace kordrv;

namespace
{
DRV_STATE_BLOCK& Block()
{
    return *Monitor().block.Block();
}

// Texts from the block (host and station names) are in the system's code page.
std::wstring WidenAnsi(const char* text)
{
    if (!text || !*text)
        return std::wstring();
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, &out[0], n);
    out.resize(wcslen(out.c_str()));
    return out;
}

std::wstring DottedIp(const std::uint8_t ip[4])
{
    char text[kDottedIpSize];
    FormatDottedIp(text, sizeof(text), ip);
    return Widen(text);
}

bool IsRefresh(WPARAM wParam)
{
    return LOWORD(wParam) == ID_SHEET_REFRESH && HIWORD(wParam) == 0;
}
} // namespace

// --- TCP/IP page -------------------------------------------------------------------------------

CKorDrvTcpIpPage::CKorDrvTcpIpPage() : CPropertyPage(IDD_TCPIP_PAGE) {}

BEGIN_COMMAND_MAP(CKorDrvTcpIpPage, CPropertyPage)
ON_BN_CLICKED(IDC_TCPIP_PLUS, OnPlus)
END_COMMAND_MAP()

BOOL CKorDrvTcpIpPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (IsRefresh(wParam)) {
        Refresh();
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

void CKorDrvTcpIpPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_TCPIP_HOST_NAME, m_strHostName);
    DDX_Text(pDX, IDC_TCPIP_ADDRESS, m_strAddress);
    DDX_Text(pDX, IDC_TCPIP_ADAPTER, m_nAdapter);
    DDX_Text(pDX, IDC_TCPIP_CONNECTIONS, m_nConnections);
    DDX_Text(pDX, IDC_TCPIP_CONNECTED, m_nConnected);
    DDX_Text(pDX, IDC_TCPIP_SEND_TOTAL, m_nSendTotal);
    DDX_Text(pDX, IDC_TCPIP_RECV_TOTAL, m_nRecvTotal);
    DDX_Text(pDX, IDC_TCPIP_SEND_ERRORS, m_nSendErrors);
    DDX_Text(pDX, IDC_TCPIP_RECV_ERRORS, m_nRecvErrors);
}

BOOL CKorDrvTcpIpPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    char host[sizeof(DRV_STATE_BLOCK::host_name) + 1];
    ReadTextField(Block().host_name, host);
    m_strHostName = WidenAnsi(host);
    m_strAddress = DottedIp(Block().local_ip);
    m_nAdapter = LoadShared(Block().adapter_number);
    Refresh();
    return TRUE;
}

void CKorDrvTcpIpPage::Refresh()
{
    IpPageCounters c;
    {
        BlockLock lock;
        c = ReadIpPageCounters(Block());
    }
    m_nConnections = c.connections;
    m_nConnected = c.connected;
    m_nSendTotal = c.sendTotal;
    m_nRecvTotal = c.recvTotal;
    m_nSendErrors = c.sendErrors;
    m_nRecvErrors = c.recvErrors;
    m_strAddress = DottedIp(Block().local_ip);
    UpdateData(FALSE);
}

void CKorDrvTcpIpPage::OnPlus()
{
    CKorDrvTcpIpPlus dlg(false, this);
    dlg.DoModal();
}

// --- VELT page ---------------------------------------------------------------------------------

CKorDrvVeltPage::CKorDrvVeltPage() : CPropertyPage(IDD_VELT_PAGE) {}

BEGIN_COMMAND_MAP(CKorDrvVeltPage, CPropertyPage)
ON_BN_CLICKED(IDC_VELT_PLUS, OnPlus)
END_COMMAND_MAP()

BOOL CKorDrvVeltPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (IsRefresh(wParam)) {
        Refresh();
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

void CKorDrvVeltPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_VELT_ADDRESS, m_strLocalAddress);
    DDX_Text(pDX, IDC_VELT_HANDLES_OPENED, m_nHandlesOpened);
    DDX_Text(pDX, IDC_VELT_SOCKETS_ATTACHED, m_nSocketsAttached);
    DDX_Text(pDX, IDC_VELT_CONNECTIONS, m_nConnections);
    DDX_Text(pDX, IDC_VELT_CONNECTED, m_nConnected);
    DDX_Text(pDX, IDC_VELT_SEND_TOTAL, m_nSendTotal);
    DDX_Text(pDX, IDC_VELT_RECV_TOTAL, m_nRecvTotal);
    DDX_Text(pDX, IDC_VELT_SEND_ERRORS, m_nSendErrors);
    DDX_Text(pDX, IDC_VELT_RECV_ERRORS, m_nRecvErrors);
}

BOOL CKorDrvVeltPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    char address[32];
    FormatVeltAddress(address, sizeof(address), LoadUtf8(IDS_VELT_ADDRESS_FORMAT).c_str(),
                      LoadShared(Block().velt_net), LoadShared(Block().velt_station));
    m_strLocalAddress = Widen(address);
    Refresh();
    return TRUE;
}

void CKorDrvVeltPage::Refresh()
{
    VeltPageCounters c;
    {
        BlockLock lock;
        c = ReadVeltPageCounters(Block());
    }
    m_nHandlesOpened = c.handlesOpened;
    m_nSocketsAttached = c.socketsAttached;
    m_nConnections = c.connections;
    m_nConnected = c.connected;
    m_nSendTotal = c.sendTotal;
    m_nRecvTotal = c.recvTotal;
    m_nSendErrors = c.sendErrors;
    m_nRecvErrors = c.recvErrors;
    UpdateData(FALSE);
}

void CKorDrvVeltPage::OnPlus()
{
    CKorDrvTcpIpPlus dlg(true, this);
    dlg.DoModal();
}

// --- About page --------------------------------------------------------------------------------

CKorDrvAboutPage::CKorDrvAboutPage() : CPropertyPage(IDD_ABOUT_PAGE) {}

void CKorDrvAboutPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_ABOUT_VERSION, m_strVersion);
    DDX_Text(pDX, IDC_ABOUT_SYSTEM, m_strSystem);
    DDX_Text(pDX, IDC_ABOUT_EXTENDED, m_strExtended);
    DDX_Text(pDX, IDC_ABOUT_SOCKETS, m_strSockets);
}

BOOL CKorDrvAboutPage::OnInitDialog()
{
    // Texts first: the framework's initialisation pushes them to the controls.
    const std::string versionFormat = LoadUtf8(IDS_VERSION_FORMAT);
    const std::string socketsFormat = LoadUtf8(IDS_SOCKETS_FORMAT);
    const std::string systemFormat = LoadUtf8(IDS_SYSTEM_FORMAT);
    const std::string extendedFormat = LoadUtf8(IDS_EXTENDED_FORMAT);
    const std::string none = LoadUtf8(IDS_EXTENDED_NONE);
    const std::string prerelease = LoadUtf8(IDS_KIND_PRERELEASE);
    const std::string debug = LoadUtf8(IDS_KIND_DEBUG);
    const std::string release = LoadUtf8(IDS_KIND_RELEASE);
    const AboutTexts texts = {versionFormat.c_str(),  socketsFormat.c_str(), systemFormat.c_str(),
                              extendedFormat.c_str(), none.c_str(),          prerelease.c_str(),
                              debug.c_str(),          release.c_str()};
    char line[kAboutLineSize];

    DRV_VERSION_INFO version;
    std::memcpy(&version, &Block().monitor_version, sizeof(version));
    FormatVersionLine(line, sizeof(line), texts, version);
    m_strVersion = Widen(line);

    OSVERSIONINFOA os = {};
    os.dwOSVersionInfoSize = sizeof(os);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExA(&os))
        os = OSVERSIONINFOA{};
#pragma GCC diagnostic pop
    FormatSystemLine(line, sizeof(line), texts, os.dwPlatformId, os.dwMajorVersion,
                     os.dwMinorVersion, os.dwBuildNumber);
    m_strSystem = Widen(line);
    // The service-pack text is in the system's code page, the format in UTF-8: one encoding.
    char servicePack[sizeof(os.szCSDVersion) + 1];
    ReadTextField(os.szCSDVersion, servicePack);
    const std::wstring wide = WidenAnsi(servicePack);
    char servicePack8[3 * sizeof(os.szCSDVersion) + 1] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, servicePack8, sizeof(servicePack8) - 1,
                          nullptr, nullptr);
    FormatExtendedLine(line, sizeof(line), texts, servicePack8, sizeof(servicePack8));
    m_strExtended = Widen(line);
    FormatSocketsLine(line, sizeof(line), texts, LoadShared(Block().winsock_version),
                      LoadShared(Block().winsock_detected));
    m_strSockets = Widen(line);

    return CPropertyPage::OnInitDialog();
}

// --- Connection status dialog -----------------------------------------------------------------

CKorDrvTcpIpPlus::CKorDrvTcpIpPlus(bool bVeltMode, CWnd* pParent)
    : CDialog(IDD_STATUS_DLG, pParent), m_bVeltMode(bVeltMode)
{
}

BEGIN_COMMAND_MAP(CKorDrvTcpIpPlus, CDialog)
ON_BN_CLICKED(IDC_STATUS_REFRESH, OnRefresh)
END_COMMAND_MAP()

void CKorDrvTcpIpPlus::DoDataExchange(CDataExchange*) {}

BOOL CKorDrvTcpIpPlus::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(
        AfxLoadString(m_bVeltMode ? IDS_STATUS_CAPTION_VELT : IDS_STATUS_CAPTION_IP).c_str());
    Monitor().block.SnapshotEntries();
    FillStatusList();
    return TRUE;
}

void CKorDrvTcpIpPlus::OnRefresh()
{
    ::SendDlgItemMessageW(m_hWnd, IDC_STATUS_LIST, LB_RESETCONTENT, 0, 0);
    ::SendDlgItemMessageW(m_hWnd, IDC_STATUS_LIST, LB_SETHORIZONTALEXTENT, kStatusListExtentPx, 0);
    Monitor().block.SnapshotEntries();
    FillStatusList();
}

void CKorDrvTcpIpPlus::FillStatusList()
{
    HWND hList = GetDlgItem(IDC_STATUS_LIST);
    ::SendMessageW(hList, LB_RESETCONTENT, 0, 0);
    ::SendMessageW(hList, LB_SETHORIZONTALEXTENT, kStatusListExtentPx, 0);
    MonitorState& m = Monitor();
    const DRV_ENTRY_COPIES& copies = m.block.Copies();
    const StatusMode mode = m_bVeltMode ? StatusMode::Velt : StatusMode::Ip;
    char line[kStatusLineSize];
    auto add = [&](StatusLine result) {
        if (result != StatusLine::NotListed)
            ::SendMessageW(hList, LB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(WidenAnsi(line).c_str()));
    };
    for (std::uint32_t i = 0; i < copies.cfg_count; ++i) {
        StatusLine result;
        {
            BlockLock lock;
            result = FormatConfiguredStatusLine(copies, i, mode, line, sizeof(line));
        }
        add(result);
    }
    // The bound is the service's: read again for every slot.
    for (std::uint32_t slot = 0;
         slot < ClampAddedSlotBound(LoadShared(m.block.Block()->added_slot_bound)); ++slot) {
        StatusLine result;
        {
            BlockLock lock;
            result =
                FormatAddedStatusLine(copies, slot, LoadShared(m.block.Block()->added_slot_bound),
                                      mode, line, sizeof(line));
            if (result == StatusLine::HeadMissing && m.log.IsOpen()) {
                const FormatArg args[] = {ArgS(kRedirectionNotFound)};
                m.log.WriteLogLine(kLogErrorFormat, args);
            }
        }
        add(result);
    }
}

// --- Tune page ---------------------------------------------------------------------------------

CKorDrvTunePage::CKorDrvTunePage() : CPropertyPage(IDD_TUNE_PAGE) {}

BEGIN_COMMAND_MAP(CKorDrvTunePage, CPropertyPage)
ON_BN_CLICKED(IDC_TUNE_CONFIGURE, OnConfigure)
ON_BN_CLICKED(IDC_TUNE_RESET, OnResetConnections)
ON_BN_CLICKED(IDC_TUNE_LOG, OnLog)
END_COMMAND_MAP()

BOOL CKorDrvTunePage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (IsRefresh(wParam)) {
        UpdateLogProgress();
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

void CKorDrvTunePage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_TUNE_PROGRESS, m_ctlProgress);
    DDX_Control(pDX, IDC_TUNE_SLIDER, m_ctlSlider);
    DDX_Text(pDX, IDC_TUNE_LOG_NAME, m_strLogFileName);
}

BOOL CKorDrvTunePage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    Monitor().hTunePage = m_hWnd;
    m_ctlSlider.SendMessage(TBM_SETTICFREQ, kSliderTick, 0);
    m_ctlSlider.SendMessage(TBM_SETRANGE, TRUE, MAKELPARAM(kSliderMin, kSliderMax));
    m_ctlSlider.SendMessage(TBM_SETPOS, TRUE,
                            SliderPositionForPeriod(LoadShared(Block().refresh_period_ms)));
    char name[sizeof(DRV_STATE_BLOCK::log_file_name) + 1];
    ReadTextField(Block().log_file_name, name);
    m_strLogFileName = WidenAnsi(name);
    m_ctlProgress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    m_ctlProgress.SendMessage(PBM_SETSTEP, 10, 0);
    m_strStartLog = AfxLoadString(IDS_START_LOG);
    m_strStopLog = AfxLoadString(IDS_STOP_LOG);
    ::SetDlgItemTextW(
        m_hWnd, IDC_TUNE_LOG,
        (LogButtonCaptionId(Monitor().log.IsOpen()) == IDS_STOP_LOG ? m_strStopLog : m_strStartLog)
            .c_str());
    ::SendDlgItemMessageW(m_hWnd, IDC_TUNE_CONFIGURE, BCM_SETSHIELD, 0, TRUE);
    UpdateData(FALSE);
    UpdateLogProgress();
    return TRUE;
}

LRESULT CKorDrvTunePage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL)
        OnHScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    return CPropertyPage::WindowProc(message, wParam, lParam);
}

void CKorDrvTunePage::OnHScroll(UINT nSBCode, UINT nPos, HWND hScrollBar)
{
    // Only the release of the dragged thumb sets the period; keys and page clicks only move.
    if (hScrollBar != m_ctlSlider.m_hWnd || nSBCode != TB_THUMBPOSITION)
        return;
    const std::uint32_t period = RoundRefreshPeriod(static_cast<int>(nPos));
    m_ctlSlider.SendMessage(TBM_SETPOS, TRUE, static_cast<LPARAM>(period));
    BlockLock lock;
    StoreShared(Block().refresh_period_ms, period);
}

void CKorDrvTunePage::UpdateLogProgress()
{
    unsigned percent;
    {
        BlockLock lock;
        percent = LogProgressPercent(LoadShared(Block().log_position),
                                     LoadShared(Block().log_size_limit));
    }
    m_ctlProgress.SendMessage(PBM_SETPOS, percent, 0);
}

void CKorDrvTunePage::OnConfigure()
{
    LaunchConfigTool();
}

void CKorDrvTunePage::OnResetConnections()
{
    if (AfxMessageBox(AfxLoadString(IDS_RESET_QUESTION).c_str(), MB_YESNO | MB_ICONWARNING) !=
        IDYES)
        return;
    MonitorState& m = Monitor();
    m.block.PostDriverCommand(kDrvCommandCloseAllIp);
    ::Sleep(kResetFirstWaitMs);
    std::uint32_t waited = 0;
    for (;;) {
        const std::int32_t result = LoadShared(Block().command_result);
        ::Sleep(kResetPollMs);
        waited += kResetPollMs;
        if (ResetWaitDone(result, waited))
            break;
    }
    char text[128];
    FormatResetResult(text, sizeof(text), LoadUtf8(IDS_RESET_RESULT).c_str(),
                      LoadShared(Block().command_result));
    AfxMessageBox(Widen(text).c_str(), MB_OK | MB_ICONINFORMATION);
}

void CKorDrvTunePage::OnLog()
{
    LogButtonOutcome outcome;
    {
        BlockLock lock;
        const bool switchOn = LoadShared(Block().log_switch) != 0;
        LogOpenResult opened = LogOpenResult::OtherFailure;
        if (!switchOn) {
            char name[sizeof(DRV_STATE_BLOCK::log_file_name) + 1];
            ReadTextField(Block().log_file_name, name);
            if (std::FILE* file = OpenLogFileExclusive(name, &opened))
                std::fclose(file); // left empty: the switch is what counts
        }
        outcome = PressLogButton(switchOn, opened);
        StoreShared(Block().log_switch, static_cast<std::uint64_t>(outcome.logSwitch ? 1 : 0));
        if (outcome.resetPosition)
            StoreShared(Block().log_position, 0u);
    }
    // The box comes after the lock: the refresh loop must not wait on the user.
    if (outcome.showOpenError)
        AfxMessageBox(IDS_LOG_FILE_ERROR, MB_OK | MB_ICONERROR);
    ::SetDlgItemTextW(m_hWnd, IDC_TUNE_LOG,
                      (outcome.captionId == IDS_STOP_LOG ? m_strStopLog : m_strStartLog).c_str());
    UpdateLogProgress();
}
