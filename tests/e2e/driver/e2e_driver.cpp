#include "tests/e2e/driver/e2e_driver.h"

#include "tests/e2e/driver/menu_probe.h"
#include "tests/e2e/driver/png_writer.h"

#include <commctrl.h>

#include <cwchar>

namespace e2e
{
// --- waiting -----------------------------------------------------------------------------

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD stepMs)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return condition();
        ::Sleep(stepMs);
    }
}

// --- paths -------------------------------------------------------------------------------

std::wstring HostPathToWindows(const std::string& path)
{
    // Wine's kernel32 converts Unix paths; Windows has no such function and no such paths.
    typedef wchar_t*(CDECL * ToDos)(const char*);
    auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (toDos && !path.empty() && path[0] == '/') {
        if (wchar_t* dos = toDos(path.c_str())) {
            std::wstring result(dos);
            ::HeapFree(::GetProcessHeap(), 0, dos);
            return result;
        }
    }
    int n = ::MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? static_cast<size_t>(n) : 1, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, &wide[0], n);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

std::wstring ThisProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : folder.substr(0, slash);
}

// --- programs ----------------------------------------------------------------------------

Program::~Program()
{
    if (IsRunning())
        Terminate();
    if (m_hProcess)
        ::CloseHandle(m_hProcess);
}

bool Program::Start(const std::wstring& exe, const std::wstring& args, const char* unixLocale)
{
    std::wstring commandLine;
    if (unixLocale) {
        // A Unix program started from Wine runs outside it: `env` sets the locale for the
        // `wine` that starts the program.
        int n = ::MultiByteToWideChar(CP_UTF8, 0, unixLocale, -1, nullptr, 0);
        std::wstring locale(static_cast<size_t>(n > 0 ? n : 1), L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, unixLocale, -1, &locale[0], n);
        locale.resize(wcslen(locale.c_str()));
        commandLine = L"/usr/bin/env LC_ALL=" + locale + L" LANGUAGE= wine \"" + exe + L"\"";
        m_bStartedByUnix = true;
    } else {
        commandLine = L"\"" + exe + L"\"";
    }
    if (!args.empty())
        commandLine += L" " + args;

    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi))
        return false;
    ::CloseHandle(pi.hThread);
    if (m_bStartedByUnix) {
        // The handle is the Unix starter's: the program's own process comes with its window.
        ::CloseHandle(pi.hProcess);
    } else {
        m_hProcess = pi.hProcess;
        m_pid = pi.dwProcessId;
    }
    return true;
}

void Program::Adopt(DWORD pid)
{
    m_pid = pid;
    m_hProcess =
        ::OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
}

HWND Program::WaitForWindow(const wchar_t* className, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND hWnd : TopLevelWindows(className, m_pid)) {
                if (::IsWindowVisible(hWnd) && ::GetWindow(hWnd, GW_CHILD)) {
                    found = hWnd;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    if (found && !m_hProcess) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(found, &pid);
        Adopt(pid);
    }
    return found;
}

bool Program::WaitForExit(DWORD timeoutMs)
{
    if (!m_hProcess)
        return false;
    return ::WaitForSingleObject(m_hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool Program::IsRunning() const
{
    return m_hProcess && ::WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Program::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (m_hProcess)
        ::GetExitCodeProcess(m_hProcess, &code);
    return code;
}

void Program::Terminate()
{
    if (!m_hProcess)
        return;
    ::TerminateProcess(m_hProcess, 1);
    ::WaitForSingleObject(m_hProcess, 10000);
}

void EndProgramsWithWindowClass(const wchar_t* className)
{
    for (HWND hWnd : TopLevelWindows(className)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        if (pid == 0 || pid == ::GetCurrentProcessId())
            continue;
        HANDLE hProcess = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (hProcess) {
            ::TerminateProcess(hProcess, 1);
            ::WaitForSingleObject(hProcess, 10000);
            ::CloseHandle(hProcess);
        }
    }
}

// --- windows -----------------------------------------------------------------------------

std::wstring WindowText(HWND hWnd)
{
    wchar_t text[1024] = {};
    // WM_GETTEXT is marshalled between processes (GetWindowText would not ask the window).
    ::SendMessageTimeoutW(hWnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          5000, nullptr);
    text[1023] = 0;
    return text;
}

std::wstring ClassName(HWND hWnd)
{
    wchar_t name[256] = {};
    ::GetClassNameW(hWnd, name, 256);
    return name;
}

namespace
{
struct WindowSearch {
    const wchar_t* className;
    DWORD pid;
    bool firstOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    auto* s = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hWnd, &owner);
    if ((s->pid == 0 || owner == s->pid) && (!s->className || ClassName(hWnd) == s->className)) {
        s->found.push_back(hWnd);
        if (s->firstOnly)
            return FALSE;
    }
    return TRUE;
}
} // namespace

std::vector<HWND> TopLevelWindows(const wchar_t* className, DWORD pid)
{
    WindowSearch search = {className, pid, false, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindChild(HWND parent, const wchar_t* className)
{
    WindowSearch search = {className, 0, true, {}};
    ::EnumChildWindows(parent, &CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

// --- message boxes -----------------------------------------------------------------------

HWND FindMessageBox(DWORD pid)
{
    for (HWND hWnd : TopLevelWindows(L"#32770", pid)) {
        if (::IsWindowVisible(hWnd))
            return hWnd;
    }
    return nullptr;
}

HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs)
{
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindMessageBox(pid)) != nullptr; }, timeoutMs);
    return box;
}

std::wstring MessageBoxText(HWND box)
{
    HWND text = ::GetDlgItem(box, 0xFFFF);
    return text ? WindowText(text) : std::wstring();
}

bool AnswerMessageBox(HWND box, int buttonId, DWORD timeoutMs)
{
    HWND button = ::GetDlgItem(box, buttonId);
    if (!button)
        return false;
    ::PostMessageW(button, BM_CLICK, 0, 0);
    return WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, timeoutMs);
}

// --- input -------------------------------------------------------------------------------

bool BringToFront(HWND hWnd, DWORD timeoutMs)
{
    return WaitUntil(
        [&] {
            if (::GetForegroundWindow() == hWnd)
                return true;
            ::SetForegroundWindow(hWnd);
            return false;
        },
        timeoutMs, 100);
}

void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        inputs.push_back(in);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *--it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::wstring& text)
{
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = c;
        in.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(in);
        in.ki.dwFlags |= KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    if (!inputs.empty())
        ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickButton(HWND button)
{
    ::PostMessageW(button, BM_CLICK, 0, 0);
}

void ClickAt(HWND hWnd)
{
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    // Absolute coordinates run from 0 to 65535 over the screen.
    int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    LONG x = ((rect.left + rect.right) / 2) * 65535 / (cx - 1);
    LONG y = ((rect.top + rect.bottom) / 2) * 65535 / (cy - 1);
    INPUT inputs[3] = {};
    for (INPUT& in : inputs) {
        in.type = INPUT_MOUSE;
        in.mi.dx = x;
        in.mi.dy = y;
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(3, inputs, sizeof(INPUT));
}

// --- reading -----------------------------------------------------------------------------

namespace
{
std::vector<std::wstring> ReadLines(HWND control, UINT countMsg, UINT lengthMsg, UINT textMsg)
{
    std::vector<std::wstring> lines;
    LRESULT count = ::SendMessageW(control, countMsg, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = ::SendMessageW(control, lengthMsg, static_cast<WPARAM>(i), 0);
        if (length < 0)
            break;
        std::wstring line(static_cast<size_t>(length) + 1, L'\0');
        ::SendMessageW(control, textMsg, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&line[0]));
        line.resize(wcslen(line.c_str()));
        lines.push_back(line);
    }
    return lines;
}
} // namespace

std::vector<std::wstring> ListBoxLines(HWND listBox)
{
    return ReadLines(listBox, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::wstring> ComboBoxLines(HWND comboBox)
{
    return ReadLines(comboBox, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int ComboBoxSelection(HWND comboBox)
{
    return static_cast<int>(::SendMessageW(comboBox, CB_GETCURSEL, 0, 0));
}

std::wstring StatusBarText(HWND statusBar)
{
    return WindowText(statusBar); // a status bar's window text is its first pane's
}

// --- screen ------------------------------------------------------------------------------

Image CaptureScreen(const RECT& rect)
{
    Image image;
    image.width = rect.right - rect.left;
    image.height = rect.bottom - rect.top;
    if (image.width <= 0 || image.height <= 0)
        return Image();
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = image.width;
    bmi.bmiHeader.biHeight = -image.height; // top row first
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, dib);
    ::BitBlt(memory, 0, 0, image.width, image.height, screen, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    image.pixels.assign(p, p + static_cast<size_t>(image.width) * image.height);
    for (auto& px : image.pixels)
        px &= 0x00FFFFFF;
    ::SelectObject(memory, old);
    ::DeleteObject(dib);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return image;
}

bool SaveScreenshot(const std::wstring& path, HWND window)
{
    RECT rect = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (window)
        ::GetWindowRect(window, &rect);
    Image image = CaptureScreen(rect);
    if (image.pixels.empty())
        return false;
    std::vector<std::uint8_t> rgb;
    rgb.reserve(image.pixels.size() * 3);
    for (std::uint32_t px : image.pixels) {
        rgb.push_back(static_cast<std::uint8_t>(px >> 16));
        rgb.push_back(static_cast<std::uint8_t>(px >> 8));
        rgb.push_back(static_cast<std::uint8_t>(px));
    }
    return WritePng(path, image.width, image.height, rgb);
}

bool IconReader::Load(const std::wstring& programFile, const std::vector<int>& ids, int size)
{
    m_refs.clear();
    m_size = size;
    HMODULE module = ::LoadLibraryExW(programFile.c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return false;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    bool ok = true;
    for (int id : ids) {
        HICON icon = static_cast<HICON>(
            ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        if (!icon) {
            ok = false;
            continue;
        }
        // Drawn on black and on white: their difference gives coverage, so that the
        // reference can be put on whatever background the control has.
        Reference ref = {id, {}};
        std::vector<std::uint32_t> onBlack, onWhite;
        for (int pass = 0; pass < 2; ++pass) {
            BITMAPINFO bmi = {};
            bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
            bmi.bmiHeader.biWidth = size;
            bmi.bmiHeader.biHeight = -size;
            bmi.bmiHeader.biPlanes = 1;
            bmi.bmiHeader.biBitCount = 32;
            void* bits = nullptr;
            HBITMAP dib = ::CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
            HGDIOBJ old = ::SelectObject(memory, dib);
            RECT all = {0, 0, size, size};
            HBRUSH brush = ::CreateSolidBrush(pass == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255));
            ::FillRect(memory, &all, brush);
            ::DeleteObject(brush);
            ::DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
            ::GdiFlush();
            const auto* p = static_cast<const std::uint32_t*>(bits);
            (pass == 0 ? onBlack : onWhite).assign(p, p + size * size);
            ::SelectObject(memory, old);
            ::DeleteObject(dib);
        }
        // Premultiplied colour (the drawing on black) and alpha (255 - white + black) per pixel.
        for (int i = 0; i < size * size; ++i) {
            std::uint32_t b = onBlack[static_cast<size_t>(i)] & 0xFFFFFF;
            std::uint32_t w = onWhite[static_cast<size_t>(i)] & 0xFFFFFF;
            int alpha = 255 - static_cast<int>(w & 0xFF) + static_cast<int>(b & 0xFF);
            alpha = alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
            ref.bgra.push_back(b | (static_cast<std::uint32_t>(alpha) << 24));
        }
        ::DestroyIcon(icon);
        m_refs.push_back(ref);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    ::FreeLibrary(module);
    return ok;
}

int IconReader::Identify(HWND control) const
{
    RECT rect;
    if (!::GetWindowRect(control, &rect))
        return 0;
    // SS_CENTERIMAGE: the icon sits in the middle of the control.
    int x = rect.left + (rect.right - rect.left - m_size) / 2;
    int y = rect.top + (rect.bottom - rect.top - m_size) / 2;
    RECT area = {x, y, x + m_size, y + m_size};
    Image seen = CaptureScreen(area);
    if (seen.pixels.size() != static_cast<size_t>(m_size * m_size))
        return 0;
    // The background: the icons leave their corners empty.
    std::uint32_t bg = seen.pixels[0];
    int best = 0;
    long bestDistance = -1;
    for (const Reference& ref : m_refs) {
        long distance = 0;
        for (size_t i = 0; i < ref.bgra.size(); ++i) {
            std::uint32_t r = ref.bgra[i];
            int alpha = static_cast<int>(r >> 24);
            for (int shift = 0; shift <= 16; shift += 8) {
                int fore = static_cast<int>((r >> shift) & 0xFF);
                int back = static_cast<int>((bg >> shift) & 0xFF);
                int expected = fore + back * (255 - alpha) / 255;
                int actual = static_cast<int>((seen.pixels[i] >> shift) & 0xFF);
                distance += expected > actual ? expected - actual : actual - expected;
            }
        }
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = ref.id;
        }
    }
    // A good match differs by rounding only: at most a few levels per channel on average.
    const long tolerance = 4L * 3 * m_size * m_size;
    return bestDistance >= 0 && bestDistance <= tolerance ? best : 0;
}

// --- menus -------------------------------------------------------------------------------

MenuProbe::~MenuProbe()
{
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    if (m_pData)
        ::UnmapViewOfFile(m_pData);
    if (m_hMapping)
        ::CloseHandle(m_hMapping);
    if (m_hDll)
        ::FreeLibrary(m_hDll);
}

bool MenuProbe::Attach(HWND hWnd, const std::wstring& probeDll)
{
    m_hWnd = hWnd;
    m_hMapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(MenuProbeData), kMenuProbeMapping);
    if (!m_hMapping)
        return false;
    m_pData = ::MapViewOfFile(m_hMapping, FILE_MAP_WRITE, 0, 0, sizeof(MenuProbeData));
    m_hDll = ::LoadLibraryW(probeDll.c_str());
    if (!m_pData || !m_hDll)
        return false;
    auto proc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(::GetProcAddress(m_hDll, kMenuProbeProc)));
    DWORD thread = ::GetWindowThreadProcessId(hWnd, nullptr);
    if (!proc || !thread)
        return false;
    // A hook on another process's thread: the system loads the DLL into that process.
    m_hHook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, proc, m_hDll, thread);
    return m_hHook != nullptr;
}

std::vector<MenuItem> MenuProbe::OpenPopup(wchar_t mnemonic, DWORD timeoutMs)
{
    std::vector<MenuItem> items;
    auto* data = static_cast<MenuProbeData*>(m_pData);
    if (!data || !BringToFront(m_hWnd))
        return items;
    // Activation also raises the window, some time after it became the foreground one; a
    // pop-up opened before that would end up beneath it.
    ::Sleep(250);
    LONG before = data->sequence;
    WORD key = static_cast<WORD>(::VkKeyScanW(mnemonic) & 0xFF);
    PressKeys({VK_MENU, key});
    if (!WaitUntil([&] { return data->sequence != before; }, timeoutMs))
        return items;
    for (LONG i = 0; i < data->count; ++i) {
        const MenuProbeItem& item = data->items[i];
        items.push_back(
            {item.id, (item.state & (MF_GRAYED | MF_DISABLED)) == 0, std::wstring(item.text)});
    }
    return items;
}

void MenuProbe::CloseMenu()
{
    // Escape closes the pop-up, a second one leaves the menu bar.
    PressKeys({VK_ESCAPE});
    PressKeys({VK_ESCAPE});
}

MenuItem FindMenuItem(const std::vector<MenuItem>& items, UINT id)
{
    for (const MenuItem& item : items) {
        if (item.id == id)
            return item;
    }
    return {0, false, std::wstring()};
}

// --- registry ----------------------------------------------------------------------------

namespace
{
const REGSAM kView64 = KEY_WOW64_64KEY;

HKEY CreateKey64(const std::wstring& path)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                          KEY_READ | KEY_WRITE | kView64, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}
} // namespace

bool RegDeleteTree64(const std::wstring& path)
{
    HKEY key = nullptr;
    LONG rc = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0,
                              KEY_READ | KEY_WRITE | DELETE | kView64, &key);
    if (rc == ERROR_FILE_NOT_FOUND)
        return true;
    if (rc != ERROR_SUCCESS)
        return false;
    rc = ::RegDeleteTreeW(key, nullptr);
    ::RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        return false;
    rc = ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), kView64, 0);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

bool RegSetDword64(const std::wstring& path, const wchar_t* name, DWORD value)
{
    HKEY key = CreateKey64(path);
    if (!key)
        return false;
    LONG rc = ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                               sizeof(value));
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool RegSetString64(const std::wstring& path, const wchar_t* name, const std::wstring& value)
{
    HKEY key = CreateKey64(path);
    if (!key)
        return false;
    LONG rc = ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool RegDeleteValue64(const std::wstring& path, const wchar_t* name)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_WRITE | kView64, &key) !=
        ERROR_SUCCESS)
        return false;
    LONG rc = ::RegDeleteValueW(key, name);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool RegGetDword64(const std::wstring& path, const wchar_t* name, DWORD& value)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | kView64, &key) !=
        ERROR_SUCCESS)
        return false;
    DWORD type = 0, data = 0, size = sizeof(data);
    LONG rc = ::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    ::RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(data))
        return false;
    value = data;
    return true;
}
} // namespace e2e
