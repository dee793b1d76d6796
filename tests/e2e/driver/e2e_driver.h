// The end-to-end driver: starts the real programs and works their windows from outside, as
// a user would (and as far as Wine lets another process see them).
//
// Everything here waits with a time-out and reports failure instead of blocking: a test
// states what it expects and the driver polls until it is so or the time is up.
//
// Wine facts this relies on (see design.md): list and combo lines are read with the wide
// messages; another process's menus cannot be read, hence the menu probe (menu_probe.h);
// another process's icon bits cannot be read, hence the screen comparison of IconReader; a
// click whose handler opens a modal box must be posted, not sent; a program gets its user
// interface language from the Unix locale of the `wine` command that starts it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace e2e
{
// --- waiting -----------------------------------------------------------------------------

// Polls condition every stepMs until it holds (true) or timeoutMs have passed (false).
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD stepMs = 50);

// --- paths -------------------------------------------------------------------------------

// A path of the machine the tests run on, as Windows programs see it: under Wine a Unix
// path ("/tmp/x") becomes its DOS form ("Z:\tmp\x"); any other path is returned as it is.
std::wstring HostPathToWindows(const std::string& path);
// The folder holding this test program.
std::wstring ThisProgramFolder();

// --- programs ----------------------------------------------------------------------------

class Program
{
public:
    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    // Ends the program if it still runs: a test cleans up what it started.
    ~Program();

    // Starts exe with the command line tail args (as given, after the quoted program path).
    // With a Unix locale (e.g. "fr_FR.UTF-8") the program is started by a `wine` of its own
    // with LC_ALL set, the only way under Wine to give it another language; its process is
    // then known once its first window appears (WaitForWindow).
    bool Start(const std::wstring& exe, const std::wstring& args = L"",
               const char* unixLocale = nullptr);
    // The first visible top-level window of class className (and of this program once its
    // process is known) that has child windows; null after timeoutMs.
    HWND WaitForWindow(const wchar_t* className, DWORD timeoutMs);
    // Waits for the program to end; false when it still runs after timeoutMs.
    bool WaitForExit(DWORD timeoutMs);
    bool IsRunning() const;
    // Exit code once it has ended (STILL_ACTIVE before).
    DWORD ExitCode() const;
    // Ends the program at once (TerminateProcess) and waits for it.
    void Terminate();
    DWORD ProcessId() const { return m_pid; }

private:
    void Adopt(DWORD pid);
    HANDLE m_hProcess = nullptr;
    DWORD m_pid = 0;
    bool m_bStartedByUnix = false;
};

// Ends every process that owns a top-level window of this class (left over by an earlier,
// failed run), by process id.
void EndProgramsWithWindowClass(const wchar_t* className);

// --- windows -----------------------------------------------------------------------------

std::wstring WindowText(HWND hWnd);
std::wstring ClassName(HWND hWnd);
// Top-level windows of this class (and process, when pid is not 0), visible or not.
std::vector<HWND> TopLevelWindows(const wchar_t* className, DWORD pid = 0);
// The first child of this class (any depth), null when none.
HWND FindChild(HWND parent, const wchar_t* className);

// --- message boxes -----------------------------------------------------------------------

// A visible dialog (#32770) of process pid; null when none (or after timeoutMs).
HWND FindMessageBox(DWORD pid);
HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs);
// The text of a message box (its static 0xFFFF).
std::wstring MessageBoxText(HWND box);
// Presses the button buttonId (IDOK, IDCANCEL, IDYES, ...) by posting the click, and waits
// until the box is gone. False when there is no such button or the box stays.
bool AnswerMessageBox(HWND box, int buttonId, DWORD timeoutMs = 10000);

// --- input -------------------------------------------------------------------------------

// Makes hWnd the foreground window (keyboard input goes to it). False after the time-out.
bool BringToFront(HWND hWnd, DWORD timeoutMs = 5000);
// Presses the virtual keys in order and releases them in reverse order (a chord such as
// Alt+K is {VK_MENU, 'K'}; a single key is {VK_DOWN}).
void PressKeys(std::initializer_list<WORD> keys);
// Types text into whatever has the keyboard focus.
void TypeText(const std::wstring& text);
// Clicks a button by posting BM_CLICK (returns before any box its handler opens).
void ClickButton(HWND button);
// Clicks the left mouse button in the middle of a window (its window must be in front).
void ClickAt(HWND hWnd);

// --- reading -----------------------------------------------------------------------------

std::vector<std::wstring> ListBoxLines(HWND listBox);
std::vector<std::wstring> ComboBoxLines(HWND comboBox);
int ComboBoxSelection(HWND comboBox);
// The text of a status bar's first pane.
std::wstring StatusBarText(HWND statusBar);

// --- screen ------------------------------------------------------------------------------

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, top row first
};
// The screen's pixels in rect (screen coordinates).
Image CaptureScreen(const RECT& rect);
// Saves the whole screen (or, with a window, the window's rectangle) as a PNG file.
bool SaveScreenshot(const std::wstring& path, HWND window = nullptr);

// Tells which of a program's icons a control shows, by comparing the screen with the icons
// drawn here from the program's own file.
class IconReader
{
public:
    // Loads the icons ids (size x size) from the program file.
    bool Load(const std::wstring& programFile, const std::vector<int>& ids, int size = 16);
    // The id of the icon centred in the control, or 0 when none matches well.
    int Identify(HWND control) const;

private:
    struct Reference {
        int id;
        std::vector<std::uint32_t> bgra; // premultiplied, size * size, top row first
    };
    std::vector<Reference> m_refs;
    int m_size = 16;
};

// --- menus -------------------------------------------------------------------------------

struct MenuItem {
    UINT id;
    bool enabled;
    std::wstring text;
};

// Reads a program's pop-up menus through the menu probe DLL.
class MenuProbe
{
public:
    MenuProbe() = default;
    MenuProbe(const MenuProbe&) = delete;
    MenuProbe& operator=(const MenuProbe&) = delete;
    ~MenuProbe();

    // Loads the probe into the thread of window hWnd. probeDll: path of the probe DLL.
    bool Attach(HWND hWnd, const std::wstring& probeDll);
    // Opens the pop-up with this mnemonic the way a user does (Alt + key; the window is
    // brought to the front first) and returns its items as they are after their enabling
    // rules ran. The pop-up stays open: CloseMenu closes it. Empty after the time-out.
    std::vector<MenuItem> OpenPopup(wchar_t mnemonic, DWORD timeoutMs = 10000);
    // Escape until the menu is closed.
    void CloseMenu();

private:
    HWND m_hWnd = nullptr;
    HANDLE m_hMapping = nullptr;
    void* m_pData = nullptr;
    HMODULE m_hDll = nullptr;
    HHOOK m_hHook = nullptr;
};

// The item of this id; a default item (id 0, disabled, empty) when none.
MenuItem FindMenuItem(const std::vector<MenuItem>& items, UINT id);

// --- registry ----------------------------------------------------------------------------

// Values in HKEY_LOCAL_MACHINE, in the 64-bit view (where the tool keeps its configuration).
bool RegDeleteTree64(const std::wstring& path);
bool RegSetDword64(const std::wstring& path, const wchar_t* name, DWORD value);
bool RegSetString64(const std::wstring& path, const wchar_t* name, const std::wstring& value);
bool RegDeleteValue64(const std::wstring& path, const wchar_t* name);
// False when the key or value is missing or not a REG_DWORD.
bool RegGetDword64(const std::wstring& path, const wchar_t* name, DWORD& value);
} // namespace e2e
