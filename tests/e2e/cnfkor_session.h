// Running CnfKor for a scenario: its configuration in the registry, its start, its windows.
#pragma once

#include "tests/e2e/driver/e2e_driver.h"

#include <string>

namespace cnfkor_e2e
{
// The tool's application key below HKEY_LOCAL_MACHINE (64-bit view).
extern const wchar_t kAppKey[];
// Class of the tool's main window.
extern const wchar_t kMainClass[];

// Removes the tool's whole configuration.
bool ClearConfiguration();
// Writes profile n (1..9): local VELT address, adapter binding and hosts remote hosts
// (names HOSTnn, VELT 1.(i+1), IP 10.0.n.(i+1), automatic detection on).
bool SeedProfile(int n, int hosts = 0);
// Writes the six test options (0 for a value leaves it out).
bool SeedTestOptions(DWORD mirrorCount, DWORD mirrorSize, DWORD mirrorTimeout, DWORD pingCount,
                     DWORD pingSize, DWORD pingTimeout);

// A started tool and its windows.
struct Session {
    e2e::Program program;
    HWND frame = nullptr;     // main window
    HWND statusBar = nullptr; // its status bar
    HWND stateIcon = nullptr; // the driver-state animation in the status bar

    // Starts CnfKor.exe with the command line tail args (and, with a Unix locale, in that
    // language). Does not wait for anything.
    bool Start(const std::wstring& args = L"", const char* unixLocale = nullptr);
    // Waits until the main window is up, with its status bar and state icon.
    bool WaitForMainWindow(DWORD timeoutMs = 60000);
    // Closes the main window as the user does (WM_CLOSE) and waits for the program to end.
    bool Close(DWORD timeoutMs = 30000);
};

// Full path of a screenshot file named name (in the screenshots folder).
std::wstring ScreenshotPath(const wchar_t* name);
} // namespace cnfkor_e2e
