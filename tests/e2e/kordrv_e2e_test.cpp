// KorDrv end to end: the monitor started as a user (or the driver service) starts it, beside
// the driver-service stand-in, worked from outside through its tray icon, sheet, pages and
// boxes. A window of class "OVCnfKorClass" in this process stands for the configuration tool.
//
//   kor_e2e_kordrv --kordrv=KorDrv.exe --sim=DIR_OF_KorDrvSys.exe --screenshots=DIR
#include "tests/e2e/driver/e2e_driver.h"

#include "shared/drv_block_win.h"
#include "shared/drv_names.h"

#include <gtest/gtest.h>

#include <atomic>
#include <commctrl.h>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

namespace
{
std::wstring g_kordrv, g_simDir, g_screenshots;

const DWORD kWait = 20000;

std::string Narrow(const std::wstring& w)
{
    return std::string(w.begin(), w.end());
}

std::string ReadFileText(const std::wstring& path)
{
    std::ifstream f(Narrow(path), std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

std::wstring TempPath(const wchar_t* name)
{
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

void Shot(const wchar_t* name, HWND hWnd = nullptr)
{
    if (!g_screenshots.empty())
        e2e::SaveScreenshot(g_screenshots + L"\\" + name + L".png", hWnd);
}

// A process of ours with its standard output in a file.
struct Captured {
    PROCESS_INFORMATION pi = {};
    std::wstring outPath;
    bool Start(const std::wstring& commandLine, const wchar_t* outName)
    {
        outPath = TempPath(outName);
        SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
        HANDLE out =
            ::CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                          CREATE_ALWAYS, 0, nullptr);
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = out;
        si.hStdError = out;
        si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        std::wstring cmd = commandLine;
        BOOL ok = ::CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                   &si, &pi);
        ::CloseHandle(out);
        return ok != FALSE;
    }
    DWORD Wait(DWORD ms)
    {
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }
    std::string Output() const { return ReadFileText(outPath); }
    ~Captured()
    {
        if (pi.hProcess) {
            if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
                ::TerminateProcess(pi.hProcess, 1);
                ::WaitForSingleObject(pi.hProcess, 5000);
            }
            ::CloseHandle(pi.hProcess);
            ::CloseHandle(pi.hThread);
        }
        if (!outPath.empty())
            ::DeleteFileW(outPath.c_str());
    }
};

// The driver-service stand-in for one instance, with a scenario; its output is kept.
struct StandIn {
    Captured process;
    std::wstring scenarioPath;
    bool Start(int instance, const std::string& scenario)
    {
        scenarioPath = TempPath(L"kordrv_e2e_scenario.txt");
        std::ofstream(Narrow(scenarioPath)) << scenario;
        std::wstring cmd = L"\"" + g_simDir + L"\\KorDrvSys.exe\" -I" + std::to_wstring(instance) +
                           L" -F \"" + scenarioPath + L"\" -T 300 -Q";
        if (!process.Start(cmd, L"kordrv_e2e_standin.txt"))
            return false;
        return e2e::WaitUntil([&] { return IsInstanceRunning(instance - 1); }, kWait);
    }
    ~StandIn() { ::DeleteFileW(scenarioPath.c_str()); } // read at its start already
};

// The configuration tool's stand-in: a window of its class that records what it is posted.
class ToolWindow
{
public:
    ToolWindow()
    {
        m_thread = std::thread([this] { Run(); });
        e2e::WaitUntil([this] { return m_hWnd.load() != nullptr; }, kWait);
    }
    ~ToolWindow()
    {
        if (m_hWnd)
            ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        m_thread.join();
    }
    // The notifications seen: (wParam, lParam).
    std::vector<std::pair<WPARAM, LPARAM>> Seen()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_seen;
    }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<ToolWindow*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (msg == WM_COMMAND && self) {
            std::lock_guard<std::mutex> lock(self->m_mutex);
            self->m_seen.emplace_back(wParam, lParam);
            return 0;
        }
        if (msg == WM_CLOSE) {
            ::DestroyWindow(hWnd);
            ::PostQuitMessage(0);
            return 0;
        }
        return ::DefWindowProcW(hWnd, msg, wParam, lParam);
    }
    void Run()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &ToolWindow::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OVCnfKorClass";
        ::RegisterClassW(&wc);
        HWND hWnd = ::CreateWindowW(L"OVCnfKorClass", L"tool stand-in", WS_OVERLAPPED, 0, 0, 10, 10,
                                    nullptr, nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_hWnd = hWnd;
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageW(&msg);
        m_hWnd = nullptr;
    }
    std::thread m_thread;
    std::atomic<HWND> m_hWnd{nullptr};
    std::mutex m_mutex;
    std::vector<std::pair<WPARAM, LPARAM>> m_seen;
};

HWND FindSheet(int instance)
{
    char title[64];
    FormatMonitorTitle(title, sizeof(title), instance);
    return ::FindWindowA(nullptr, title);
}

DWORD WindowPid(HWND hWnd)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    return pid;
}

// Wine's notification area: a small window of its explorer, the icons in a row from its
// top-left corner.
HWND TrayWindow()
{
    return ::FindWindowW(nullptr, L"Wine System Tray");
}

// Sends mouse input at a screen point: a move there, then the given button events.
void MouseAt(POINT pt, std::initializer_list<DWORD> buttons)
{
    int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> in(1 + buttons.size());
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = pt.x * 65535 / (cx - 1);
        i.mi.dy = pt.y * 65535 / (cy - 1);
        i.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    size_t n = 1;
    for (DWORD button : buttons)
        in[n++].mi.dwFlags = button | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// The middle of the first icon of the notification area, in screen coordinates.
bool FirstTrayIconPoint(POINT& pt)
{
    HWND tray = TrayWindow();
    if (!tray)
        return false;
    pt = {12, 10};
    return ::ClientToScreen(tray, &pt) != FALSE;
}

// Double-clicks the first icon of Wine's notification area, as a user does.
bool DoubleClickTrayIcon()
{
    POINT pt;
    if (!FirstTrayIconPoint(pt))
        return false;
    MouseAt(pt,
            {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    return true;
}

// The tooltip the notification area shows for the first icon when the mouse rests on it, as
// the tooltip window of the area's process reports it; empty when none appears. The screen
// with the tip is saved under shotName.
std::wstring HoverTrayIconTip(const wchar_t* shotName)
{
    HWND tray = TrayWindow();
    POINT icon;
    if (!tray || !FirstTrayIconPoint(icon))
        return std::wstring();
    const DWORD trayPid = WindowPid(tray);
    auto shownTip = [&] {
        for (HWND tip : e2e::TopLevelWindows(L"tooltips_class32", trayPid))
            if (::IsWindowVisible(tip))
                return tip;
        return HWND(nullptr);
    };
    // From elsewhere first, so that the area sees the mouse arrive and no older tip stays.
    MouseAt({::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2}, {});
    e2e::WaitUntil([&] { return shownTip() == nullptr; }, kWait);
    MouseAt(icon, {});
    HWND tip = nullptr;
    if (!e2e::WaitUntil([&] { return (tip = shownTip()) != nullptr; }, kWait))
        return std::wstring();
    // The tooltip answers WM_GETTEXT with the text it shows.
    wchar_t text[256] = {};
    ::SendMessageW(tip, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    Shot(shotName);
    return text;
}

std::wstring ItemText(HWND page, int id)
{
    return e2e::WindowText(::GetDlgItem(page, id));
}

HWND ActivePage(HWND sheet)
{
    return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// Shows a page through the tray menu's command, and waits until it is the active one.
HWND ShowPage(HWND sheet, UINT command, const wchar_t* caption)
{
    ::PostMessageW(sheet, WM_COMMAND, command, 0);
    HWND page = nullptr;
    e2e::WaitUntil(
        [&] {
            page = ActivePage(sheet);
            return page && e2e::WindowText(page) == caption && ::IsWindowVisible(sheet);
        },
        kWait);
    ::Sleep(300); // let it paint for the screenshot
    return page;
}

// A visible dialog of the monitor other than its sheet (a box or the status list).
HWND FindBox(DWORD pid, HWND sheet)
{
    for (HWND hWnd : e2e::TopLevelWindows(L"#32770", pid))
        if (hWnd != sheet && ::IsWindowVisible(hWnd))
            return hWnd;
    return nullptr;
}

HWND WaitForBox(DWORD pid, HWND sheet)
{
    HWND box = nullptr;
    e2e::WaitUntil([&] { return (box = FindBox(pid, sheet)) != nullptr; }, kWait);
    return box;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

const char kScenario[] = "velt 3 12\n"
                         "handles 2\n"
                         "host station-host\n"
                         "ip 10.1.2.3\n"
                         "cfg 0 0 1 3 5 192.168.1.10 alpha\n"
                         "cfg 1 1 0 3 6 192.168.1.11 beta\n"
                         "cfg 2 0 0 3 7 192.168.1.10 gamma\n"
                         "added 21 21 1 4 1 192.168.2.20 delta\n"
                         "added 2 21 0 4 2 192.168.2.20 epsilon\n"
                         "added 5 77 0 4 3 192.168.2.21 orphan\n";

TEST(KorDrvE2E, WithoutBlockPrintsTheOpenFailureAndEndsWithZero)
{
    ASSERT_FALSE(IsInstanceRunning(6));
    Captured monitor;
    ASSERT_TRUE(monitor.Start(L"\"" + g_kordrv + L"\" -I7", L"kordrv_e2e_out.txt"));
    EXPECT_EQ(0u, monitor.Wait(kWait));
    // Standard output is in text mode: the line ends with CR LF.
    EXPECT_EQ("Could not open file mapping object (2).\r\n", monitor.Output());
}

TEST(KorDrvE2E, CommandLineErrorShowsMessage104)
{
    e2e::Program monitor;
    ASSERT_TRUE(monitor.Start(g_kordrv, L"-I3 -Q"));
    HWND box = e2e::WaitForMessageBox(monitor.ProcessId(), kWait);
    ASSERT_NE(nullptr, box);
    EXPECT_TRUE(StartsWith(e2e::MessageBoxText(box), L"Command line error. Available switches"));
    Shot(L"kordrv_cmdline_error", box);
    EXPECT_TRUE(e2e::AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(monitor.WaitForExit(kWait));
}

TEST(KorDrvE2E, StartupErrorStaysHiddenUntilStopThenShowsIt)
{
    StandIn drv;
    ASSERT_TRUE(drv.Start(2, std::string(kScenario) + "status 15\n"));
    e2e::Program monitor;
    ASSERT_TRUE(monitor.Start(g_kordrv, L"-I2"));
    HWND sheet = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] { return (sheet = FindSheet(2)) != nullptr; }, kWait));
    ::Sleep(1500);
    EXPECT_FALSE(::IsWindowVisible(sheet));
    EXPECT_EQ(nullptr, e2e::FindMessageBox(monitor.ProcessId()));
    ASSERT_TRUE(SignalStopRequest(monitor.ProcessId()));
    HWND box = e2e::WaitForMessageBox(monitor.ProcessId(), kWait);
    ASSERT_NE(nullptr, box);
    EXPECT_TRUE(
        StartsWith(e2e::MessageBoxText(box), L"Local host adapter or IP address not found"));
    EXPECT_EQ(L"KOR Driver - KOR02", e2e::WindowText(box));
    EXPECT_TRUE(e2e::AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(monitor.WaitForExit(kWait));
}

TEST(KorDrvE2E, NormalRunThroughTrayPagesTuneAndStop)
{
    ToolWindow tool;
    const std::wstring logPath = TempPath(L"kordrv_e2e_log.txt");
    ::DeleteFileW(logPath.c_str());
    StandIn drv;
    ASSERT_TRUE(drv.Start(1, std::string(kScenario) + "logfile " + Narrow(logPath) + "\n"));
    CDriverBlock block; // the test's own view of the block
    ASSERT_TRUE(block.AttachSharedBlock(1));
    DRV_STATE_BLOCK& b = *block.Block();

    e2e::Program monitor;
    ASSERT_TRUE(monitor.Start(g_kordrv, L"-I1 -L"));
    HWND sheet = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] { return (sheet = FindSheet(1)) != nullptr; }, kWait));
    // Started hidden behind its icon; the tool heard of it.
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            return !tool.Seen().empty() && ::FindWindowW(nullptr, L"Wine System Tray") &&
                   b.log_position > 0;
        },
        kWait));
    ::Sleep(1500);
    EXPECT_FALSE(::IsWindowVisible(sheet));
    EXPECT_EQ(nullptr, FindBox(monitor.ProcessId(), sheet));
    ASSERT_EQ(1u, tool.Seen().size());
    EXPECT_EQ(static_cast<WPARAM>((1u << 16) | 0xFFFF), tool.Seen()[0].first);
    EXPECT_EQ(1, tool.Seen()[0].second);
    EXPECT_EQ(std::string("KORLOG01.TXT") == b.log_file_name, false); // the scenario's name
    Shot(L"kordrv_tray");

    // The mouse resting on the icon shows the tip with the instance.
    EXPECT_EQ(L"[1] Orvanta KOR Driver", HoverTrayIconTip(L"kordrv_tray_tip"));

    // A double-click on the icon shows the sheet on its TCP/IP page.
    ASSERT_TRUE(DoubleClickTrayIcon());
    ASSERT_TRUE(e2e::WaitUntil([&] { return ::IsWindowVisible(sheet) != FALSE; }, kWait));
    EXPECT_EQ(L"KOR Driver - KOR01", e2e::WindowText(sheet));
    HWND page = ShowPage(sheet, 32773, L"TCP/IP");
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(L"station-host", ItemText(page, 1016));
    EXPECT_EQ(L"10.1.2.3", ItemText(page, 1004));
    EXPECT_EQ(L"3", ItemText(page, 1000)); // heads alpha, beta, delta
    EXPECT_EQ(L"2", ItemText(page, 1001));
    const std::wstring sent = ItemText(page, 1002);
    EXPECT_TRUE(e2e::WaitUntil([&] { return ItemText(page, 1002) != sent; }, kWait))
        << "the send counter follows the stand-in";
    Shot(L"kordrv_page_tcpip", sheet);

    // The status list in IP mode: one line per head.
    ::PostMessageW(::GetDlgItem(page, 1021), BM_CLICK, 0, 0);
    HWND status = WaitForBox(monitor.ProcessId(), sheet);
    ASSERT_NE(nullptr, status);
    EXPECT_EQ(L"IP Connection Status", e2e::WindowText(status));
    std::vector<std::wstring> lines = e2e::ListBoxLines(::GetDlgItem(status, 1023));
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(L"CONNECTED\talpha @IP:192.168.1.10", lines[0]);
    EXPECT_EQ(L"DISCONNECTED\tbeta @IP:192.168.1.11", lines[1]);
    EXPECT_EQ(L"CONNECTED\tdelta @IP:192.168.2.20", lines[2]);
    ::PostMessageW(::GetDlgItem(status, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(status); }, kWait));

    // VELT page and its status list: every station, the redirection error included.
    page = ShowPage(sheet, 32774, L"VELT");
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(L"3.12", ItemText(page, 1004));
    EXPECT_EQ(L"2", ItemText(page, 1006));
    EXPECT_EQ(L"6", ItemText(page, 1000));
    Shot(L"kordrv_page_velt", sheet);
    ::PostMessageW(::GetDlgItem(page, 1021), BM_CLICK, 0, 0);
    status = WaitForBox(monitor.ProcessId(), sheet);
    ASSERT_NE(nullptr, status);
    EXPECT_EQ(L"VELT Connection Status", e2e::WindowText(status));
    lines = e2e::ListBoxLines(::GetDlgItem(status, 1023));
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ(L"CONNECTED\tgamma (3.7) @IP:192.168.1.10", lines[2]);
    EXPECT_EQ(L"Error: Redirection could not be foundorphan (4.3) @IP:Error: Redirection could "
              L"not be found",
              lines[5]);
    ::Sleep(300);
    Shot(L"kordrv_status_velt", status);
    ::PostMessageW(::GetDlgItem(status, 1025), BM_CLICK, 0, 0); // Refresh
    ::Sleep(300);
    EXPECT_EQ(6u, e2e::ListBoxLines(::GetDlgItem(status, 1023)).size());
    ::PostMessageW(::GetDlgItem(status, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(status); }, kWait));

    // Tune: the released thumb stores the rounded period.
    page = ShowPage(sheet, 32776, L"Tune");
    ASSERT_NE(nullptr, page);
    HWND slider = ::GetDlgItem(page, 1012);
    struct {
        int thumb;
        std::uint32_t stored;
    } const releases[] = {{449, 400}, {150, 200}, {1000, 1000}, {0, 0}};
    for (const auto& r : releases) {
        ::SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, r.thumb),
                       reinterpret_cast<LPARAM>(slider));
        EXPECT_EQ(r.stored, b.refresh_period_ms) << r.thumb;
        EXPECT_EQ(static_cast<LRESULT>(r.stored), ::SendMessageW(slider, TBM_GETPOS, 0, 0));
    }
    // A keyboard move leaves the period alone.
    ::SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_LINEDOWN, 0), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(0u, b.refresh_period_ms);
    // The log button: the monitor's own log holds the file, so logging is switched on.
    EXPECT_EQ(L"Stop Log", ItemText(page, 1015));
    ::SendMessageW(::GetDlgItem(page, 1015), BM_CLICK, 0, 0);
    EXPECT_EQ(1u, b.log_switch);
    EXPECT_EQ(L"Stop Log", ItemText(page, 1015));
    ::SendMessageW(::GetDlgItem(page, 1015), BM_CLICK, 0, 0);
    EXPECT_EQ(0u, b.log_switch);
    EXPECT_EQ(0u, b.log_position);
    EXPECT_EQ(L"Start Log", ItemText(page, 1015));
    ::SendMessageW(::GetDlgItem(page, 1015), BM_CLICK, 0, 0);
    EXPECT_EQ(1u, b.log_switch);
    Shot(L"kordrv_page_tune", sheet);

    // Reset: No sends nothing; Yes sends command 1 and shows the stand-in's answer.
    b.command = 0;
    ::PostMessageW(::GetDlgItem(page, 1014), BM_CLICK, 0, 0);
    HWND box = WaitForBox(monitor.ProcessId(), sheet);
    ASSERT_NE(nullptr, box);
    EXPECT_TRUE(StartsWith(e2e::MessageBoxText(box), L"This will close all active IP"));
    EXPECT_TRUE(e2e::AnswerMessageBox(box, IDNO));
    ::Sleep(700);
    EXPECT_EQ(0u, b.command);
    EXPECT_EQ(nullptr, FindBox(monitor.ProcessId(), sheet));
    ::PostMessageW(::GetDlgItem(page, 1014), BM_CLICK, 0, 0);
    box = WaitForBox(monitor.ProcessId(), sheet);
    ASSERT_NE(nullptr, box);
    EXPECT_TRUE(e2e::AnswerMessageBox(box, IDYES));
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            box = FindBox(monitor.ProcessId(), sheet);
            return box && StartsWith(e2e::MessageBoxText(box), L"Number of");
        },
        kWait));
    EXPECT_EQ(L"Number of active connections closed : 2.", e2e::MessageBoxText(box));
    EXPECT_EQ(1u, b.command);
    EXPECT_TRUE(e2e::AnswerMessageBox(box, IDOK));

    // About: the program's version and the socket versions of the block.
    page = ShowPage(sheet, 32775, L"About");
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(L"Release Version 3.2 (IE12 - Build 12)", ItemText(page, 1023));
    EXPECT_EQ(L"WINDOWS Sockets V2.2 (V2.2 detected)", ItemText(page, 1020));
    EXPECT_TRUE(StartsWith(ItemText(page, 1021), L"WINDOWS NT V"));
    Shot(L"kordrv_page_about", sheet);

    // Hide; a second monitor for the instance ends silently.
    ::PostMessageW(sheet, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindowVisible(sheet); }, kWait));
    {
        e2e::Program second;
        ASSERT_TRUE(second.Start(g_kordrv, L"-I1"));
        EXPECT_TRUE(second.WaitForExit(kWait));
        EXPECT_EQ(0u, second.ExitCode());
    }
    EXPECT_EQ(sheet, FindSheet(1));

    // The shell restarted: the icon is added again although it still exists.
    ::PostMessageW(sheet, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ::Sleep(1000);

    // Stop request: status 1, acknowledgement, "ended", the log's last line.
    b.handles_opened = 3;
    ASSERT_TRUE(SignalStopRequest(monitor.ProcessId()));
    ASSERT_TRUE(monitor.WaitForExit(kWait));
    EXPECT_EQ(1u, b.status);
    EXPECT_EQ(0u, b.log_switch);
    ASSERT_TRUE(e2e::WaitUntil([&] { return tool.Seen().size() == 2; }, kWait));
    EXPECT_EQ(0, tool.Seen()[1].second);
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            return drv.process.Output().find("stop acknowledged by the monitor") !=
                   std::string::npos;
        },
        kWait));
    const std::string log = ReadFileText(logPath);
    EXPECT_NE(std::string::npos, log.find(" KOR Driver : LOG STARTED\r\n")) << log;
    EXPECT_NE(std::string::npos, log.find(" Error: Redirection could not be found\r\n"));
    EXPECT_NE(std::string::npos, log.find(" KOR Driver : LOG STOPPED\r\n"));
    // add, re-add after "TaskbarCreated", delete: each succeeded.
    size_t count = 0;
    for (size_t at = log.find("Shell_NotifyIcon ret 1"); at != std::string::npos;
         at = log.find("Shell_NotifyIcon ret 1", at + 1))
        ++count;
    EXPECT_EQ(3u, count) << log;
    ::DeleteFileW(logPath.c_str());
}

TEST(KorDrvE2E, FrenchPagesAndStatusList)
{
    StandIn drv;
    ASSERT_TRUE(drv.Start(3, kScenario));
    e2e::Program monitor;
    ASSERT_TRUE(monitor.Start(g_kordrv, L"-I3", "fr_FR.UTF-8"));
    HWND sheet = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] { return (sheet = FindSheet(3)) != nullptr; }, 60000));
    const DWORD pid = WindowPid(sheet);
    ::Sleep(1500);
    EXPECT_EQ(L"[3] Orvanta KOR Driver", HoverTrayIconTip(L"kordrv_fr_tray_tip"));
    ASSERT_TRUE(DoubleClickTrayIcon());
    ASSERT_TRUE(e2e::WaitUntil([&] { return ::IsWindowVisible(sheet) != FALSE; }, kWait));
    HWND page = ShowPage(sheet, 32773, L"TCP/IP");
    ASSERT_NE(nullptr, page);
    Shot(L"kordrv_fr_page_tcpip", sheet);
    EXPECT_EQ(L"VELT", e2e::WindowText(ShowPage(sheet, 32774, L"VELT")));
    Shot(L"kordrv_fr_page_velt", sheet);
    page = ActivePage(sheet);
    ::PostMessageW(::GetDlgItem(page, 1021), BM_CLICK, 0, 0);
    HWND status = WaitForBox(pid, sheet);
    ASSERT_NE(nullptr, status);
    EXPECT_EQ(L"\u00c9tat des connexions VELT", e2e::WindowText(status));
    ::Sleep(300);
    Shot(L"kordrv_fr_status_velt", status);
    ::PostMessageW(::GetDlgItem(status, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(status); }, kWait));
    page = ShowPage(sheet, 32776, L"R\u00e9glages");
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(L"D\u00e9marrer le journal", ItemText(page, 1015));
    Shot(L"kordrv_fr_page_tune", sheet);
    page = ShowPage(sheet, 32775, L"\u00c0 propos");
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(L"D\u00e9finitive - Version 3.2 (IE12 - Build 12)", ItemText(page, 1023));
    Shot(L"kordrv_fr_page_about", sheet);
    ASSERT_TRUE(SignalStopRequest(pid));
    EXPECT_TRUE(e2e::WaitUntil([&] { return FindSheet(3) == nullptr; }, kWait));
}
} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    struct {
        const char* name;
        std::wstring* value;
    } const flags[] = {
        {"--kordrv=", &g_kordrv}, {"--sim=", &g_simDir}, {"--screenshots=", &g_screenshots}};
    for (int i = 1; i < argc; ++i) {
        for (const auto& flag : flags) {
            size_t n = std::strlen(flag.name);
            if (std::strncmp(argv[i], flag.name, n) == 0)
                *flag.value = e2e::HostPathToWindows(argv[i] + n);
        }
    }
    if (!g_screenshots.empty())
        ::CreateDirectoryW(g_screenshots.c_str(), nullptr);
    return RUN_ALL_TESTS();
}
