// The framework against the real Win32 of Wine: window creation and ownership, command
// routing with its enabling rules, status-bar prompts, message boxes from the string table,
// dialogs with data exchange, property sheets.
#include "framework/framework.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace
{
const UINT kRuled = 100;  // has a handler and an enabling rule
const UINT kPlain = 101;  // has a handler, no rule
const UINT kOrphan = 102; // no handler at all
const UINT kFrameResource = 1;
const UINT kRangeDialog = 200;
const UINT kPageA = 201;
const UINT kPageB = 202;
const int kNumberEdit = 1000;
const int kNameEdit = 1001;

// Drains this thread's message queue (posted messages are handled here).
void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Polls condition every 20 ms for up to 10 s.
bool WaitFor(const std::function<bool()>& condition)
{
    for (int i = 0; i < 500; ++i) {
        if (condition())
            return true;
        ::Sleep(20);
    }
    return false;
}

std::wstring TextOf(HWND hWnd)
{
    wchar_t buffer[256] = {};
    ::GetWindowTextW(hWnd, buffer, 256);
    return buffer;
}

// The window that has the keyboard focus in the thread of hWnd.
HWND FocusOfThread(HWND hWnd)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(hWnd, nullptr), &info) ? info.hwndFocus
                                                                                : nullptr;
}

class CTestFrame : public CFrameWnd
{
public:
    bool m_bRuledEnabled = true;
    int m_nRuledRuns = 0;
    int m_nPlainRuns = 0;
    int m_nCreates = 0;
    bool* m_pDeleted = nullptr;

    ~CTestFrame() override
    {
        if (m_pDeleted)
            *m_pDeleted = true;
    }

    CStatusBar m_wndStatusBar;

protected:
    int OnCreate(LPCREATESTRUCTW lpcs) override
    {
        ++m_nCreates;
        if (CFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        static const UINT indicators[] = {ID_SEPARATOR};
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 1))
            return -1;
        return 0;
    }
    void OnRuled() { ++m_nRuledRuns; }
    void OnPlain() { ++m_nPlainRuns; }
    void OnUpdateRuled(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bRuledEnabled); }

    DECLARE_COMMAND_MAP()
};

BEGIN_COMMAND_MAP(CTestFrame, CFrameWnd)
ON_COMMAND(kRuled, OnRuled)
ON_UPDATE_COMMAND_UI(kRuled, OnUpdateRuled)
ON_COMMAND(kPlain, OnPlain)
END_COMMAND_MAP()

class CTestApp : public CWinApp
{
};
CTestApp theTestApp;

class FrameworkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        theTestApp.m_hInstance = ::GetModuleHandleW(nullptr);
        theTestApp.m_strAppName = AfxLoadString(AFX_IDS_APP_TITLE);
        m_pFrame = new CTestFrame;
        m_pFrame->m_pDeleted = &m_bDeleted;
        ASSERT_TRUE(m_pFrame->LoadFrame(kFrameResource, WS_OVERLAPPEDWINDOW));
        theTestApp.m_pMainWnd = m_pFrame;
    }
    void TearDown() override
    {
        if (!m_bDeleted)
            m_pFrame->DestroyWindow();
        PumpMessages();
        theTestApp.m_pMainWnd = nullptr;
    }

    // The File pop-up after the frame initialised it as it does when it opens.
    HMENU InitFilePopup()
    {
        HMENU popup = ::GetSubMenu(::GetMenu(m_pFrame->m_hWnd), 0);
        m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        return popup;
    }

    CTestFrame* m_pFrame = nullptr;
    bool m_bDeleted = false;
};

TEST_F(FrameworkTest, ObjectSeesItsWindowFromCreationToDestruction)
{
    EXPECT_EQ(1, m_pFrame->m_nCreates) << "WM_CREATE did not reach the object";
    EXPECT_EQ(m_pFrame, CWnd::FromHandlePermanent(m_pFrame->m_hWnd));
    EXPECT_EQ(L"Test frame", m_pFrame->GetWindowText());
    HWND hWnd = m_pFrame->m_hWnd;
    m_pFrame->DestroyWindow();
    EXPECT_TRUE(m_bDeleted) << "a frame deletes itself with its window";
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

struct EnablingCase {
    bool ruleEnables;
    UINT expectedRuledState; // MF_ENABLED or MF_GRAYED
};

class FrameworkEnabling : public FrameworkTest, public ::testing::WithParamInterface<EnablingCase>
{
};

TEST_P(FrameworkEnabling, PopupItemsFollowTheirRulesAndHandlers)
{
    m_pFrame->m_bRuledEnabled = GetParam().ruleEnables;
    HMENU popup = InitFilePopup();
    EXPECT_EQ(GetParam().expectedRuledState,
              ::GetMenuState(popup, kRuled, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    EXPECT_EQ(0u, ::GetMenuState(popup, kPlain, MF_BYCOMMAND) & MF_GRAYED)
        << "a command with a handler and no rule is enabled";
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED),
              ::GetMenuState(popup, kOrphan, MF_BYCOMMAND) & MF_GRAYED)
        << "a command nobody carries out is greyed";
}

TEST_P(FrameworkEnabling, ADisabledCommandArrivingAnywayIsIgnored)
{
    // The menu was last opened with the opposite state: the rule counts as it is now.
    m_pFrame->m_bRuledEnabled = !GetParam().ruleEnables;
    InitFilePopup();
    m_pFrame->m_bRuledEnabled = GetParam().ruleEnables;
    m_pFrame->PostMessage(WM_COMMAND, MAKEWPARAM(kRuled, 0), 0); // menu
    m_pFrame->PostMessage(WM_COMMAND, MAKEWPARAM(kRuled, 1), 0); // accelerator
    m_pFrame->PostMessage(WM_COMMAND, MAKEWPARAM(kPlain, 0), 0);
    m_pFrame->PostMessage(WM_COMMAND, MAKEWPARAM(kOrphan, 0), 0);
    PumpMessages();
    EXPECT_EQ(GetParam().ruleEnables ? 2 : 0, m_pFrame->m_nRuledRuns);
    EXPECT_EQ(1, m_pFrame->m_nPlainRuns);
}

INSTANTIATE_TEST_SUITE_P(Rule, FrameworkEnabling,
                         ::testing::Values(EnablingCase{true, MF_ENABLED},
                                           EnablingCase{false, MF_GRAYED}));

TEST_F(FrameworkTest, StatusBarShowsPromptsAndTheIdleText)
{
    HWND bar = m_pFrame->m_wndStatusBar.m_hWnd;
    auto text = [&] {
        wchar_t buffer[128] = {};
        ::SendMessageW(bar, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(buffer));
        return std::wstring(buffer);
    };
    HMENU popup = ::GetSubMenu(::GetMenu(m_pFrame->m_hWnd), 0);
    const struct {
        UINT item;
        UINT flags;
        HMENU menu;
        const wchar_t* expected;
    } cases[] = {
        {kRuled, MF_STRING, popup, L"Runs the ruled command"}, // up to the line break
        {kPlain, MF_STRING, popup, L"Runs the plain command"},
        {kOrphan, MF_STRING, popup, L""},                // no string: no prompt
        {0, MF_POPUP, ::GetMenu(m_pFrame->m_hWnd), L""}, // a pop-up title
        {0, 0xFFFF, nullptr, L"Idle"},                   // the menu closed
    };
    for (const auto& c : cases) {
        m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(c.item, c.flags),
                              reinterpret_cast<LPARAM>(c.menu));
        EXPECT_EQ(c.expected, text()) << c.item;
    }
}

TEST_F(FrameworkTest, MessageBoxShowsTheStringWithTheApplicationsName)
{
    std::wstring seenText, seenCaption;
    std::thread answer([&] {
        // The box is modal on the test's thread: find it from here, read it, press OK.
        for (int i = 0; i < 200; ++i) {
            HWND box = ::FindWindowW(L"#32770", nullptr);
            if (box && ::IsWindowVisible(box)) {
                wchar_t buffer[256] = {};
                ::GetWindowTextW(::GetDlgItem(box, 0xFFFF), buffer, 256);
                seenText = buffer;
                ::GetWindowTextW(box, buffer, 256);
                seenCaption = buffer;
                ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
                return;
            }
            ::Sleep(50);
        }
    });
    int result = AfxMessageBox(kPlain, MB_OK);
    answer.join();
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(L"Runs the plain command", seenText);
    EXPECT_EQ(L"FWTEST", seenCaption);
}
// A number in 1..10 and a name, in the dialog's two edit controls.
class CRangeDialog : public CDialog
{
public:
    CRangeDialog() : CDialog(kRangeDialog) {}
    int m_nNumber = 3;
    std::wstring m_strName = L"old";
    int m_nInits = 0;

protected:
    BOOL OnInitDialog() override
    {
        ++m_nInits;
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, kNumberEdit, m_nNumber);
        DDV_MinMaxInt(pDX, m_nNumber, 1, 10);
        DDX_Text(pDX, kNameEdit, m_strName);
    }
};

TEST_F(FrameworkTest, OkRefusesANumberOutOfRangeAndStoresAValidOne)
{
    CRangeDialog dialog;
    struct {
        std::wstring prompt;
        bool stayedOpen = false;
        bool focusOnNumber = false;
    } seen;
    std::thread user([&] {
        HWND dlg = nullptr;
        // Visible only once WM_INITDIALOG has filled the controls: typing earlier is undone.
        if (!WaitFor([&] {
                dlg = ::FindWindowW(L"#32770", L"Range test");
                return dlg && ::IsWindowVisible(dlg);
            }))
            return;
        // Whatever goes wrong below, the dialog ends and the test fails instead of hanging.
        struct Closer {
            HWND h;
            ~Closer() { ::PostMessageW(h, WM_COMMAND, IDCANCEL, 0); }
        } closer{dlg};
        HWND number = ::GetDlgItem(dlg, kNumberEdit), ok = ::GetDlgItem(dlg, IDOK);
        ::SendMessageW(number, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"42"));
        ::SendMessageW(::GetDlgItem(dlg, kNameEdit), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(L"new"));
        ::PostMessageW(ok, BM_CLICK, 0, 0); // the click takes the focus to the button
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = ::FindWindowW(L"#32770", L"FWTEST")) != nullptr; }))
            return;
        seen.prompt = TextOf(::GetDlgItem(box, 0xFFFF));
        ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        WaitFor([&] { return !::IsWindow(box); });
        seen.focusOnNumber = WaitFor([&] { return FocusOfThread(dlg) == number; });
        seen.stayedOpen = ::IsWindowVisible(dlg) != FALSE;
        ::SendMessageW(number, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"7"));
        ::PostMessageW(ok, BM_CLICK, 0, 0);
        // The OK above ends the dialog first; the closer's Cancel then finds no window.
        WaitFor([&] { return !::IsWindow(dlg); });
    });
    const INT_PTR result = dialog.DoModal();
    user.join();
    EXPECT_EQ(1, dialog.m_nInits);
    EXPECT_EQ(L"Please enter an integer between 1 and 10.", seen.prompt);
    EXPECT_TRUE(seen.focusOnNumber) << "the refused control gets the focus back";
    EXPECT_TRUE(seen.stayedOpen) << "a refused OK leaves the dialog open";
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(7, dialog.m_nNumber);
    EXPECT_EQ(L"new", dialog.m_strName);
}

TEST_F(FrameworkTest, RangeCheckFailureLeavesTheLaterMembersAlone)
{
    CRangeDialog dialog;
    ASSERT_TRUE(dialog.Create(m_pFrame));
    ::SetWindowTextW(::GetDlgItem(dialog.m_hWnd, kNumberEdit), L"0");
    ::SetWindowTextW(::GetDlgItem(dialog.m_hWnd, kNameEdit), L"new");
    std::wstring prompt;
    std::thread user([&] {
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = ::FindWindowW(L"#32770", L"FWTEST")) != nullptr; }))
            return;
        prompt = TextOf(::GetDlgItem(box, 0xFFFF));
        ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    const BOOL stored = dialog.UpdateData(TRUE);
    user.join();
    EXPECT_FALSE(stored);
    EXPECT_EQ(L"Please enter an integer between 1 and 10.", prompt);
    EXPECT_EQ(::GetDlgItem(dialog.m_hWnd, kNumberEdit), ::GetFocus());
    EXPECT_EQ(0, dialog.m_nNumber) << "the number was read before its check";
    EXPECT_EQ(L"old", dialog.m_strName) << "controls after the failed check are not read";
    dialog.DestroyWindow();
}

TEST_F(FrameworkTest, ModelessDialogIsCreatedFilledAndDestroyedByCancel)
{
    CRangeDialog dialog;
    dialog.m_nNumber = 5;
    ASSERT_TRUE(dialog.Create(m_pFrame));
    HWND hWnd = dialog.m_hWnd;
    ASSERT_TRUE(::IsWindow(hWnd));
    EXPECT_EQ(&dialog, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(1, dialog.m_nInits);
    EXPECT_TRUE(::IsWindowVisible(hWnd)) << "visible as its template says";
    EXPECT_EQ(m_pFrame->m_hWnd, ::GetWindow(hWnd, GW_OWNER));
    EXPECT_EQ(L"5", TextOf(::GetDlgItem(hWnd, kNumberEdit)));
    EXPECT_EQ(L"old", TextOf(::GetDlgItem(hWnd, kNameEdit)));
    // Cancel ends a modeless dialog by destroying its window; the object lives on.
    ::SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hWnd, IDCANCEL)));
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

class CCountingPage : public CPropertyPage
{
public:
    explicit CCountingPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}
    int m_nSetActive = 0;
    int m_nKillActive = 0;

protected:
    BOOL OnSetActive() override
    {
        ++m_nSetActive;
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override
    {
        ++m_nKillActive;
        return CPropertyPage::OnKillActive();
    }
};

// Once running, the sheet goes to its second page and back, noting what the pages saw at
// each step, then ends.
class CTwoPageSheet : public CPropertySheet
{
public:
    CTwoPageSheet() : CPropertySheet(L"Two pages")
    {
        AddPage(&m_first);
        AddPage(&m_second);
    }
    CCountingPage m_first{kPageA};
    CCountingPage m_second{kPageB};
    struct Step {
        int active;
        int firstSetActive, secondSetActive, firstKillActive;
        bool secondVisible;
    };
    std::vector<Step> m_steps;

protected:
    BOOL OnInitDialog() override
    {
        BOOL result = CPropertySheet::OnInitDialog();
        PostMessage(WM_APP, 0, 0);
        return result;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_APP)
            return CPropertySheet::WindowProc(message, wParam, lParam);
        Note();
        SetActivePage(1);
        Note();
        SetActivePage(0);
        Note();
        EndDialog(IDCANCEL);
        return 0;
    }

private:
    void Note()
    {
        m_steps.push_back({GetActiveIndex(), m_first.m_nSetActive, m_second.m_nSetActive,
                           m_first.m_nKillActive,
                           m_second.m_hWnd && ::IsWindowVisible(m_second.m_hWnd)});
    }
};

TEST_F(FrameworkTest, PropertySheetActivatesItsPagesThroughOnSetActive)
{
    CTwoPageSheet sheet;
    const INT_PTR result = sheet.DoModal();
    EXPECT_NE(-1, result);
    ASSERT_EQ(3u, sheet.m_steps.size());
    const CTwoPageSheet::Step& shown = sheet.m_steps[0];
    EXPECT_EQ(0, shown.active);
    EXPECT_EQ(1, shown.firstSetActive);
    EXPECT_EQ(0, shown.secondSetActive) << "a page not shown yet is not activated";
    const CTwoPageSheet::Step& second = sheet.m_steps[1];
    EXPECT_EQ(1, second.active);
    EXPECT_EQ(1, second.firstKillActive) << "the page left is asked first";
    EXPECT_EQ(1, second.secondSetActive);
    EXPECT_TRUE(second.secondVisible);
    const CTwoPageSheet::Step& back = sheet.m_steps[2];
    EXPECT_EQ(0, back.active);
    EXPECT_EQ(2, back.firstSetActive);
    EXPECT_EQ(1, back.secondSetActive);
    EXPECT_FALSE(back.secondVisible);
    EXPECT_EQ(nullptr, sheet.m_hWnd) << "the sheet's window is gone after DoModal";
}
} // namespace
