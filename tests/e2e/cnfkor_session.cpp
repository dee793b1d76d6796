#include "tests/e2e/cnfkor_session.h"

#include "tests/e2e/e2e_options.h"

#include <cstdio>

namespace cnfkor_e2e
{
const wchar_t kAppKey[] = L"Software\\Orvanta\\CNFKOR";
const wchar_t kMainClass[] = L"OVCnfKorClass";

namespace
{
std::wstring Key(const wchar_t* format, int n)
{
    wchar_t name[64];
    std::swprintf(name, 64, format, n);
    return std::wstring(kAppKey) + L"\\" + name;
}

std::wstring Value(const wchar_t* prefix, int i)
{
    wchar_t name[32];
    std::swprintf(name, 32, L"%ls%02i", prefix, i);
    return name;
}
} // namespace

bool ClearConfiguration()
{
    return e2e::RegDeleteTree64(kAppKey);
}

bool SeedProfile(int n, int hosts)
{
    std::wstring local = Key(L"Localhost%i", n);
    std::wstring conn = Key(L"Connections%i", n);
    bool ok =
        e2e::RegSetDword64(local, L"Velt", static_cast<DWORD>((n << 8) | 1)) &&
        e2e::RegSetDword64(local, L"Adapter", 0) && e2e::RegSetDword64(local, L"IpFixed", 0) &&
        e2e::RegSetString64(local, L"AdapterName", L"{4D36E972-E325-11CE-BFC1-08002BE10318}") &&
        e2e::RegSetDword64(conn, L"Number", static_cast<DWORD>(hosts));
    for (int i = 0; ok && i < hosts; ++i) {
        wchar_t text[32];
        std::swprintf(text, 32, L"HOST%02i", i);
        std::wstring id = text;
        std::swprintf(text, 32, L"10.0.%i.%i", n, i + 1);
        ok = e2e::RegSetString64(conn, Value(L"Id", i).c_str(), id) &&
             e2e::RegSetDword64(conn, Value(L"NoDyn", i).c_str(), 0) &&
             e2e::RegSetDword64(conn, Value(L"UseDNS", i).c_str(), 0) &&
             e2e::RegSetDword64(conn, Value(L"Velt", i).c_str(),
                                static_cast<DWORD>(((i + 1) << 8) | 1)) &&
             e2e::RegSetString64(conn, Value(L"Ip", i).c_str(), text);
    }
    return ok;
}

bool SeedTestOptions(DWORD mirrorCount, DWORD mirrorSize, DWORD mirrorTimeout, DWORD pingCount,
                     DWORD pingSize, DWORD pingTimeout)
{
    const struct {
        const wchar_t* key;
        const wchar_t* name;
        DWORD value;
    } values[] = {{L"Mirror", L"Count", mirrorCount},     {L"Mirror", L"Size", mirrorSize},
                  {L"Mirror", L"Timeout", mirrorTimeout}, {L"Ping", L"Count", pingCount},
                  {L"Ping", L"Size", pingSize},           {L"Ping", L"Timeout", pingTimeout}};
    for (const auto& v : values) {
        if (v.value && !e2e::RegSetDword64(std::wstring(kAppKey) + L"\\" + v.key, v.name, v.value))
            return false;
    }
    return true;
}

bool Session::Start(const std::wstring& args, const char* unixLocale)
{
    return program.Start(e2e::GetOptions().cnfkor, args, unixLocale);
}

bool Session::WaitForMainWindow(DWORD timeoutMs)
{
    frame = program.WaitForWindow(kMainClass, timeoutMs);
    if (!frame)
        return false;
    // The animation is made the first time the status bar draws its icon pane.
    e2e::WaitUntil(
        [&] {
            statusBar = e2e::FindChild(frame, L"msctls_statusbar32");
            stateIcon = statusBar ? e2e::FindChild(statusBar, L"Static") : nullptr;
            return stateIcon != nullptr;
        },
        timeoutMs);
    return statusBar && stateIcon;
}

bool Session::Close(DWORD timeoutMs)
{
    if (frame)
        ::PostMessageW(frame, WM_CLOSE, 0, 0);
    return program.WaitForExit(timeoutMs);
}

std::wstring ScreenshotPath(const wchar_t* name)
{
    std::wstring folder = e2e::GetOptions().screenshots;
    return folder.empty() ? name : folder + L"\\" + name;
}
} // namespace cnfkor_e2e
