// CnfKor's start-up and main window, seen from outside as a user sees them: one copy only,
// the window and its class, the INSTALL notice, the no-profile question, the menus and their
// enabling, the status-bar prompts, the driver-state icon and the test options written on
// close, in English and in French.
#include "tests/e2e/cnfkor_session.h"
#include "tests/e2e/e2e_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using cnfkor_e2e::Session;

namespace
{
const DWORD kStart = 60000; // first start of a program in a fresh Wine can be slow
const DWORD kStep = 15000;

const UINT kCreate = 3014, kRemove = 3015, kImportHosts = 3018, kStart_ = 3008, kStop = 3009,
           kReset = 3010, kMirror = 3000, kExit = 57665;

const std::vector<int> kStopped = {4031, 4056, 4033, 4057, 4035, 4058, 4037, 4059};
const std::vector<int> kRunning = {4049, 4060, 4051, 4061, 4053, 4062, 4055, 4063};

class CnfKorStartup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(e2e::GetOptions().cnfkor.empty()) << "--cnfkor=PATH missing";
        e2e::EndProgramsWithWindowClass(cnfkor_e2e::kMainClass);
        ASSERT_TRUE(cnfkor_e2e::ClearConfiguration());
    }
    void TearDown() override { cnfkor_e2e::ClearConfiguration(); }

    // Posts a driver-state notification as a driver monitor does.
    static void Notify(HWND frame, int instance, LPARAM running)
    {
        ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(0xFFFF, instance), running);
    }

    // Whether the state icon shows the frames of this sequence, and only those, while it
    // animates. A new sequence starts at the next period (the frame shown until then is the
    // old sequence's), so the samples start with the first frame of the sequence seen.
    static ::testing::AssertionResult ShowsOnly(const e2e::IconReader& reader, HWND icon,
                                                const std::vector<int>& sequence)
    {
        auto inSequence = [&](int id) {
            return std::find(sequence.begin(), sequence.end(), id) != sequence.end();
        };
        if (!e2e::WaitUntil([&] { return inSequence(reader.Identify(icon)); }, kStep, 20))
            return ::testing::AssertionFailure() << "no frame of the sequence was shown";
        std::set<int> seen;
        for (int i = 0; i < 12; ++i) {
            seen.insert(reader.Identify(icon));
            ::Sleep(90);
        }
        bool ok = std::all_of(seen.begin(), seen.end(), inSequence) && seen.size() > 1;
        return (ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
               << "frames seen: " << ::testing::PrintToString(seen);
    }
};

class CnfKorSecondStart : public CnfKorStartup, public ::testing::WithParamInterface<bool>
{
};

TEST_P(CnfKorSecondStart, BringsTheFirstCopyForwardAndEnds)
{
    const bool minimized = GetParam();
    ASSERT_TRUE(cnfkor_e2e::SeedProfile(1));
    Session first;
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(first.WaitForMainWindow(kStart));
    if (minimized) {
        ::ShowWindow(first.frame, SW_MINIMIZE);
        ASSERT_TRUE(e2e::WaitUntil([&] { return ::IsIconic(first.frame) != FALSE; }, kStep));
    }
    // Another program's window in front, as when the user went on working elsewhere.
    HWND other = ::CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE | WS_BORDER,
                                   100, 100, 700, 500, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, other);
    ASSERT_TRUE(e2e::BringToFront(other));

    Session second;
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(second.program.WaitForExit(kStart)) << "the second copy still runs";

    EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsIconic(first.frame); }, kStep))
        << "the first copy was not restored";
    EXPECT_TRUE(e2e::WaitUntil([&] { return ::GetForegroundWindow() == first.frame; }, kStep))
        << "the first copy was not brought to the front";
    ::DestroyWindow(other);
    EXPECT_EQ(1u, e2e::TopLevelWindows(cnfkor_e2e::kMainClass).size());
    EXPECT_TRUE(first.program.IsRunning());
    EXPECT_EQ(nullptr, e2e::FindMessageBox(second.program.ProcessId()));
    EXPECT_TRUE(first.Close());
}

INSTANTIATE_TEST_SUITE_P(FirstCopy, CnfKorSecondStart, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? "Minimized" : "Behind";
                         });

TEST_F(CnfKorStartup, MainWindowHasItsClassStyleTitleAndIdleText)
{
    ASSERT_TRUE(cnfkor_e2e::SeedProfile(1));
    Session s;
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.WaitForMainWindow(kStart));

    EXPECT_EQ(L"OVCnfKorClass", e2e::ClassName(s.frame));
    EXPECT_EQ(static_cast<ULONG_PTR>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS),
              ::GetClassLongPtrW(s.frame, GCL_STYLE));
    // The system adds WS_CLIPSIBLINGS to every top-level window, WS_VISIBLE once shown.
    LONG style = ::GetWindowLongW(s.frame, GWL_STYLE);
    EXPECT_EQ(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, style & ~(WS_VISIBLE | WS_CLIPSIBLINGS))
        << std::hex << style;
    EXPECT_EQ(L"Orvanta CNFKOR", e2e::WindowText(s.frame));
    EXPECT_EQ(L"Ready", e2e::StatusBarText(s.statusBar));

    // The form is shown whole: the frame was fitted to it.
    HWND save = nullptr;
    e2e::WaitUntil(
        [&] { return (save = ::GetDlgItem(::GetDlgItem(s.frame, 59648), 3006)) != nullptr; },
        kStep);
    ASSERT_NE(nullptr, save);
    RECT saveRect, barRect;
    ::GetWindowRect(save, &saveRect);
    ::GetWindowRect(s.statusBar, &barRect);
    EXPECT_LE(saveRect.bottom, barRect.top);

    EXPECT_TRUE(e2e::SaveScreenshot(cnfkor_e2e::ScreenshotPath(L"cnfkor_main_en.png"), s.frame));
    EXPECT_TRUE(s.Close());
}

TEST_F(CnfKorStartup, FormTakesClicksAndTyping)
{
    ASSERT_TRUE(cnfkor_e2e::SeedProfile(1));
    Session s;
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.WaitForMainWindow(kStart));
    HWND form = ::GetDlgItem(s.frame, 59648);
    HWND station = ::GetDlgItem(form, 1006);
    HWND dns = ::GetDlgItem(form, 1035);
    ASSERT_TRUE(station && dns);
    ASSERT_TRUE(e2e::BringToFront(s.frame));
    e2e::ClickAt(station);
    e2e::TypeText(L"STATION-A");
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::WindowText(station) == L"STATION-A"; }, kStep))
        << ::testing::PrintToString(e2e::WindowText(station));
    e2e::ClickButton(dns);
    EXPECT_TRUE(e2e::WaitUntil(
        [&] { return ::SendMessageW(dns, BM_GETCHECK, 0, 0) == BST_CHECKED; }, kStep));
    EXPECT_TRUE(s.Close());
}

struct InstallCase {
    const wchar_t* args;
    bool noticeShown;
};

class CnfKorInstallNotice : public CnfKorStartup, public ::testing::WithParamInterface<InstallCase>
{
};

TEST_P(CnfKorInstallNotice, OnlyTheExactWordShowsTheNotice)
{
    ASSERT_TRUE(cnfkor_e2e::SeedProfile(1));
    Session s;
    ASSERT_TRUE(s.Start(GetParam().args));
    ASSERT_TRUE(s.WaitForMainWindow(kStart));
    DWORD pid = s.program.ProcessId();
    if (GetParam().noticeShown) {
        HWND box = e2e::WaitForMessageBox(pid, kStep);
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(L"INSTALLATION :\n\nthe local host VELT address should be configured\n"
                  L"before starting KOR driver.",
                  e2e::MessageBoxText(box));
        EXPECT_EQ(L"CNFKOR", e2e::WindowText(box));
        EXPECT_TRUE(e2e::AnswerMessageBox(box, IDOK));
    } else {
        // The notice comes before the message loop runs; once a menu opens and answers,
        // start-up is over and no box was shown.
        e2e::MenuProbe probe;
        ASSERT_TRUE(probe.Attach(s.frame, e2e::GetOptions().probe));
        EXPECT_FALSE(probe.OpenPopup(L'c').empty());
        probe.CloseMenu();
        EXPECT_EQ(nullptr, e2e::FindMessageBox(pid));
    }
    EXPECT_TRUE(s.Close());
}

INSTANTIATE_TEST_SUITE_P(Args, CnfKorInstallNotice,
                         ::testing::Values(InstallCase{L"INSTALL", true},
                                           InstallCase{L"install", false},
                                           InstallCase{L"INSTALL ", false},
                                           InstallCase{L"", false}));

TEST_F(CnfKorStartup, WithoutProfileAsksForOneAndClosesOnCancel)
{
    Session s;
    ASSERT_TRUE(s.Start());
    // The question comes at the view's first update, before the frame is shown.
    e2e::Program& p = s.program;
    HWND box = nullptr;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            auto frames = e2e::TopLevelWindows(cnfkor_e2e::kMainClass, p.ProcessId());
            return !frames.empty() && (box = e2e::FindMessageBox(p.ProcessId())) != nullptr;
        },
        kStart));
    EXPECT_EQ(L"NO KOR PROFILE INSTALLED.\n\nYou must install at least one profile\n"
              L"for KOR driver to run.",
              e2e::MessageBoxText(box));
    EXPECT_NE(nullptr, ::GetDlgItem(box, IDOK));
    EXPECT_NE(nullptr, ::GetDlgItem(box, IDCANCEL));
    EXPECT_TRUE(e2e::SaveScreenshot(cnfkor_e2e::ScreenshotPath(L"cnfkor_no_profile_en.png"), box));
    ASSERT_TRUE(e2e::AnswerMessageBox(box, IDCANCEL));
    EXPECT_TRUE(p.WaitForExit(kStep)) << "the tool did not close";
    // Closing wrote the test options, here their defaults.
    DWORD count = 0;
    EXPECT_TRUE(
        e2e::RegGetDword64(std::wstring(cnfkor_e2e::kAppKey) + L"\\Mirror", L"Count", count));
    EXPECT_EQ(2u, count);
}

struct EnablingCase {
    int profiles;
    bool createEnabled;
};

class CnfKorProfileCommands : public CnfKorStartup,
                              public ::testing::WithParamInterface<EnablingCase>
{
};

TEST_P(CnfKorProfileCommands, CreateAndRemoveFollowTheProfileCount)
{
    for (int n = 1; n <= GetParam().profiles; ++n)
        ASSERT_TRUE(cnfkor_e2e::SeedProfile(n));
    Session s;
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.WaitForMainWindow(kStart));
    e2e::MenuProbe probe;
    ASSERT_TRUE(probe.Attach(s.frame, e2e::GetOptions().probe));
    auto items = probe.OpenPopup(L'c');
    probe.CloseMenu();
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(GetParam().createEnabled, e2e::FindMenuItem(items, kCreate).enabled);
    EXPECT_TRUE(e2e::FindMenuItem(items, kRemove).enabled);
    EXPECT_TRUE(e2e::FindMenuItem(items, kExit).enabled);

    // The form lists the profiles, the first (current) one selected.
    HWND list = ::GetDlgItem(::GetDlgItem(s.frame, 59648), 1036);
    std::vector<std::wstring> names = e2e::ComboBoxLines(list);
    ASSERT_EQ(static_cast<size_t>(GetParam().profiles), names.size());
    EXPECT_EQ(L"KOR01", names.front());
    EXPECT_EQ(L"KOR0" + std::to_wstring(GetParam().profiles), names.back());
    EXPECT_EQ(0, e2e::ComboBoxSelection(list));
    EXPECT_TRUE(s.Close());
}

INSTANTIATE_TEST_SUITE_P(Profiles, CnfKorProfileCommands,
                         ::testing::Values(EnablingCase{1, true}, EnablingCase{8, true},
                                           EnablingCase{9, false}));

TEST_F(CnfKorStartup, DriverNotificationsChangeTheCurrentProfilesStateOnly)
{
    ASSERT_TRUE(cnfkor_e2e::SeedProfile(1));
    ASSERT_TRUE(cnfkor_e2e::SeedProfile(2));
    Session s;
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.WaitForMainWindow(kStart));
    e2e::IconReader icons;
    std::vector<int> all = kStopped;
    all.insert(all.end(), kRunning.begin(), kRunning.end());
    ASSERT_TRUE(icons.Load(e2e::GetOptions().cnfkor, all));
    e2e::MenuProbe probe;
    ASSERT_TRUE(probe.Attach(s.frame, e2e::GetOptions().probe));

    // The Kor and Test menus as the user finds them; opening a menu also proves that every
    // notification posted before has been handled (messages are handled in order).
    struct Seen {
        bool start, stop, reset, mirror;
    };
    auto menus = [&] {
        auto kor = probe.OpenPopup(L'k');
        probe.CloseMenu();
        auto test = probe.OpenPopup(L't');
        probe.CloseMenu();
        return Seen{e2e::FindMenuItem(kor, kStart_).enabled, e2e::FindMenuItem(kor, kStop).enabled,
                    e2e::FindMenuItem(kor, kReset).enabled,
                    e2e::FindMenuItem(test, kMirror).enabled};
    };

    // KOR01 is current and stopped.
    Seen m = menus();
    EXPECT_TRUE(m.start && m.mirror && !m.stop && !m.reset);
    EXPECT_TRUE(ShowsOnly(icons, s.stateIcon, kStopped));

    // KOR02 starts, and numbers without a profile: nothing changes for KOR01.
    Notify(s.frame, 2, 1);
    Notify(s.frame, 0, 1);
    Notify(s.frame, 10, 1);
    m = menus();
    EXPECT_TRUE(m.start && m.mirror && !m.stop && !m.reset);
    EXPECT_TRUE(ShowsOnly(icons, s.stateIcon, kStopped));

    // KOR01 starts.
    Notify(s.frame, 1, 1);
    m = menus();
    EXPECT_TRUE(!m.start && !m.mirror && m.stop && m.reset);
    EXPECT_TRUE(ShowsOnly(icons, s.stateIcon, kRunning));
    EXPECT_TRUE(e2e::SaveScreenshot(cnfkor_e2e::ScreenshotPath(L"cnfkor_running_en.png"), s.frame));

    // KOR02 ends: still KOR01's running state.
    Notify(s.frame, 2, 0);
    m = menus();
    EXPECT_TRUE(!m.start && m.stop);
    EXPECT_TRUE(ShowsOnly(icons, s.stateIcon, kRunning));

    // KOR01 ends.
    Notify(s.frame, 1, 0);
    m = menus();
    EXPECT_TRUE(m.start && m.mirror && !m.stop && !m.reset);
    EXPECT_TRUE(ShowsOnly(icons, s.stateIcon, kStopped));
    EXPECT_TRUE(s.Close());
}

TEST_F(CnfKorStartup, StatusBarShowsThePromptOfTheHighlightedItem)
{
    ASSERT_TRUE(cnfkor_e2e::SeedProfile(1));
    Session s;
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.WaitForMainWindow(kStart));
    e2e::MenuProbe probe;
    ASSERT_TRUE(probe.Attach(s.frame, e2e::GetOptions().probe));
    auto status = [&](const std::wstring& expected) {
        return e2e::WaitUntil([&] { return e2e::StatusBarText(s.statusBar) == expected; }, kStep);
    };

    // The first item is highlighted when a pop-up opens from the keyboard.
    ASSERT_FALSE(probe.OpenPopup(L'c').empty());
    EXPECT_TRUE(status(L"Creates a new KOR profile linked with a TCP/IP adapter"))
        << "status: " << ::testing::PrintToString(e2e::StatusBarText(s.statusBar));
    e2e::PressKeys({VK_DOWN});
    EXPECT_TRUE(status(L"Removes a KOR profile"));
    e2e::PressKeys({VK_DOWN});
    EXPECT_TRUE(status(L"")) << "\"&Import remote hosts\" has no English prompt";
    auto popups = e2e::TopLevelWindows(L"#32768", s.program.ProcessId());
    EXPECT_TRUE(std::any_of(popups.begin(), popups.end(), ::IsWindowVisible))
        << "the pop-up is no longer open";
    ::Sleep(300); // the pop-up paints after the prompt is shown
    EXPECT_TRUE(e2e::SaveScreenshot(cnfkor_e2e::ScreenshotPath(L"cnfkor_menu_en.png"), s.frame));
    probe.CloseMenu();
    EXPECT_TRUE(status(L"Ready"));
    EXPECT_TRUE(s.Close());
}

struct OptionsCase {
    const char* name;
    DWORD seeded[6];  // mirror count, size, timeout, ping count, size, timeout; 0 = absent
    DWORD written[6]; // what closing leaves in the registry
    bool closeWithExit;
};

class CnfKorTestOptions : public CnfKorStartup, public ::testing::WithParamInterface<OptionsCase>
{
};

TEST_P(CnfKorTestOptions, ClosingWritesTheSixOptions)
{
    const OptionsCase& c = GetParam();
    ASSERT_TRUE(cnfkor_e2e::SeedProfile(1));
    ASSERT_TRUE(cnfkor_e2e::SeedTestOptions(c.seeded[0], c.seeded[1], c.seeded[2], c.seeded[3],
                                            c.seeded[4], c.seeded[5]));
    Session s;
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.WaitForMainWindow(kStart));
    // What is in the registry now is not what closing must write.
    ASSERT_TRUE(e2e::RegDeleteTree64(std::wstring(cnfkor_e2e::kAppKey) + L"\\Mirror"));
    ASSERT_TRUE(e2e::RegDeleteTree64(std::wstring(cnfkor_e2e::kAppKey) + L"\\Ping"));

    if (c.closeWithExit) {
        ::PostMessageW(s.frame, WM_COMMAND, 57665, 0); // "E&xit"
        ASSERT_TRUE(s.program.WaitForExit(kStep));
    } else {
        ASSERT_TRUE(s.Close());
    }

    const wchar_t* keys[6] = {L"Mirror", L"Mirror", L"Mirror", L"Ping", L"Ping", L"Ping"};
    const wchar_t* names[6] = {L"Count", L"Size", L"Timeout", L"Count", L"Size", L"Timeout"};
    for (int i = 0; i < 6; ++i) {
        DWORD value = 0;
        EXPECT_TRUE(e2e::RegGetDword64(std::wstring(cnfkor_e2e::kAppKey) + L"\\" + keys[i],
                                       names[i], value))
            << ::testing::PrintToString(std::wstring(keys[i])) << " "
            << ::testing::PrintToString(std::wstring(names[i]));
        EXPECT_EQ(c.written[i], value) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Stored, CnfKorTestOptions,
    ::testing::Values(OptionsCase{"all", {5, 512, 7, 3, 64, 9}, {5, 512, 7, 3, 64, 9}, false},
                      OptionsCase{"none", {0, 0, 0, 0, 0, 0}, {2, 128, 2, 2, 128, 2}, false},
                      OptionsCase{
                          "mirror_only", {5, 512, 7, 0, 0, 0}, {2, 128, 2, 2, 128, 2}, true}),
    [](const ::testing::TestParamInfo<OptionsCase>& param) { return param.param.name; });

TEST_F(CnfKorStartup, FrenchResourcesWhenStartedInFrench)
{
    ASSERT_TRUE(cnfkor_e2e::SeedProfile(1));
    Session s;
    ASSERT_TRUE(s.Start(L"", "fr_FR.UTF-8"));
    ASSERT_TRUE(s.WaitForMainWindow(kStart));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::StatusBarText(s.statusBar) == L"Prêt"; }, kStep));

    e2e::MenuProbe probe;
    ASSERT_TRUE(probe.Attach(s.frame, e2e::GetOptions().probe));
    auto items = probe.OpenPopup(L'c');
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(L"&Créer un profil", e2e::FindMenuItem(items, kCreate).text);
    EXPECT_EQ(L"&Importer les connexions", e2e::FindMenuItem(items, kImportHosts).text);
    EXPECT_EQ(L"&Quitter", e2e::FindMenuItem(items, kExit).text);
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            return e2e::StatusBarText(s.statusBar) ==
                   L"Crée un nouveau profil KOR associé à une pile TCP/IP";
        },
        kStep));
    e2e::PressKeys({VK_DOWN});
    e2e::PressKeys({VK_DOWN});
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            return e2e::StatusBarText(s.statusBar) == L"Importe un profil à partir d'un fichier";
        },
        kStep));
    ::Sleep(300); // the pop-up paints after the prompt is shown
    EXPECT_TRUE(e2e::SaveScreenshot(cnfkor_e2e::ScreenshotPath(L"cnfkor_menu_fr.png"), s.frame));
    probe.CloseMenu();
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::StatusBarText(s.statusBar) == L"Prêt"; }, kStep));
    ::Sleep(300); // and the menu's place is painted again
    EXPECT_TRUE(e2e::SaveScreenshot(cnfkor_e2e::ScreenshotPath(L"cnfkor_main_fr.png"), s.frame));
    EXPECT_TRUE(s.Close());
}
} // namespace
