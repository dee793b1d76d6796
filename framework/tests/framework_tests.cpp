// The framework against the real Win32 of Wine: window creation and ownership, command
// routing with its enabling rules, status-bar prompts, message boxes from the string table.
#include "framework/framework.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
const UINT kRuled = 100;  // has a handler and an enabling rule
const UINT kPlain = 101;  // has a handler, no rule
const UINT kOrphan = 102; // no handler at all
const UINT kFrameResource = 1;

// Drains this thread's message queue (posted messages are handled here).
void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
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
} // namespace
