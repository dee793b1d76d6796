#include "cnfkor/app/cnfkor_app.h"

#include "cnfkor/app/main_frame.h"
#include "cnfkor/app/properties.h"
#include "cnfkor/config/kor_document.h"
#include "res/cnfkor/resource.h"

#include <cstring>
#include <string>

CCnfKorApp theApp;

namespace
{
// A string of the string table in the program's code page (the registry names are ANSI).
std::string LoadNarrowString(UINT nID)
{
    std::wstring text = AfxLoadString(nID);
    if (text.empty())
        return std::string();
    int size = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &narrow[0], size,
                          nullptr, nullptr);
    return narrow;
}

// The system's text for an error code, in an OK box.
void ShowSystemError(DWORD error)
{
    wchar_t* text = nullptr;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                        FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    AfxMessageBox(length && text ? text : L"", MB_OK);
    if (text)
        ::LocalFree(text);
}
} // namespace

BOOL CCnfKorApp::ActivateRunningCopy()
{
    m_hInstanceEvent = ::CreateEventA(nullptr, FALSE, FALSE, kInstanceEventName);
    if (::GetLastError() != ERROR_ALREADY_EXISTS)
        return FALSE;
    HWND hWnd = ::FindWindowA(kMainWindowClass, nullptr);
    if (hWnd) {
        ::ShowWindow(hWnd, SW_RESTORE);
        ::SetForegroundWindow(::GetLastActivePopup(hWnd));
    }
    return TRUE;
}

BOOL CCnfKorApp::RegisterMainWindowClass()
{
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = m_hInstance;
    wc.hIcon = ::LoadIconA(m_hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kMainWindowClass;
    return AfxRegisterClass(&wc);
}

BOOL CCnfKorApp::InitInstance()
{
    // 1. One copy only: a second start shows the first one and ends quietly.
    if (ActivateRunningCopy())
        return FALSE;

    // 2. The class other programs find the main window by.
    if (!RegisterMainWindowClass()) {
        ::MessageBoxA(nullptr, "FATAL Error: AfxRegisterClass failed", "CnfKor",
                      MB_OK | MB_ICONERROR);
        return FALSE;
    }

    // 3. Not on the old 16/32-bit systems (not NT, below version 4).
    DWORD version = ::GetVersion();
    if ((version & 0x80000000u) && LOBYTE(LOWORD(version)) < 4) {
        AfxMessageBox(IDS_WIN32_ONLY);
        return FALSE;
    }

    // 4. Windows Sockets.
    if (!AfxSocketInit(&m_wsaData)) {
        ShowSystemError(::GetLastError());
        return FALSE;
    }

    // 5. Settings below HKLM\Software\<string 2005>\<string 57344>.
    SetRegistryKey(IDS_REGISTRY_COMPANY);
    SetRegistryNames(LoadNarrowString(IDS_REGISTRY_COMPANY).c_str(),
                     LoadNarrowString(AFX_IDS_APP_TITLE).c_str());

    // 6. and 7. The document with its frame and view; the view's first update asks for a
    // profile when there is none.
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CKorDocument),
                                          RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CProperties)));
    OnFileNew();
    if (!m_pMainWnd)
        return FALSE;

    // 8. After an installation.
    if (m_lpCmdLine && std::strcmp(m_lpCmdLine, "INSTALL") == 0)
        AfxMessageBox(IDS_INSTALL_NOTICE, MB_OK | MB_ICONINFORMATION);
    return TRUE;
}

int CCnfKorApp::ExitInstance()
{
    if (m_hInstanceEvent) {
        ::CloseHandle(m_hInstanceEvent);
        m_hInstanceEvent = nullptr;
    }
    return CWinApp::ExitInstance();
}
