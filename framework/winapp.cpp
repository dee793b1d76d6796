#include "framework/winapp.h"

#include "framework/docview.h"
#include "framework/wnd.h"

#include <commctrl.h>

namespace
{
CWinApp* g_pApp = nullptr;
bool g_bSocketsStarted = false;

// Module name without folder and extension, the application's name when the string table
// has no title.
std::wstring ModuleBaseName(HINSTANCE hInstance)
{
    wchar_t path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameW(hInstance, path, MAX_PATH);
    std::wstring name(path, n < MAX_PATH ? n : 0);
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return name;
}
} // namespace

CWinApp::CWinApp()
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BEGIN_COMMAND_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_COMMAND_MAP()

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    // Start-up left no window to work with: nothing to wait for.
    if (!m_pMainWnd || !::IsWindow(m_pMainWnd->m_hWnd))
        return ExitInstance();

    MSG msg;
    for (;;) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    m_quitCode = msg.message == WM_QUIT ? msg.wParam : 0;
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    m_templates.clear();
    if (g_bSocketsStarted) {
        ::WSACleanup();
        g_bSocketsStarted = false;
    }
    return static_cast<int>(m_quitCode);
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    HWND hWndStop = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    m_strRegistryKey = AfxLoadString(nIDRegistryKey);
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    m_templates.emplace_back(pTemplate);
}

void CWinApp::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleW(nullptr);
}

std::wstring AfxLoadString(UINT nID)
{
    // With a length of 0 LoadStringW hands out the resource's own read-only text.
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(AfxGetInstanceHandle(), nID, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return std::wstring();
    return std::wstring(text, static_cast<size_t>(length));
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType, UINT nIDHelp)
{
    CWnd* pMain = AfxGetMainWnd();
    HWND hOwner = pMain && ::IsWindow(pMain->m_hWnd) ? pMain->m_hWnd : nullptr;
    std::wstring caption = g_pApp ? g_pApp->m_strAppName : std::wstring();
    if ((nType & MB_ICONMASK) == 0) {
        // As users expect: questions get the question mark, the others the exclamation mark.
        UINT buttons = nType & MB_TYPEMASK;
        nType |= (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? MB_ICONQUESTION
                                                                    : MB_ICONEXCLAMATION;
    }
    (void)nIDHelp; // no help file: the context is accepted and not used
    return ::MessageBoxW(hOwner, lpszText, caption.c_str(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    std::wstring text = AfxLoadString(nIDPrompt);
    return AfxMessageBox(text.c_str(), nType,
                         nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

BOOL AfxRegisterClass(WNDCLASSA* lpWndClass)
{
    WNDCLASSA existing;
    if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing))
        return TRUE;
    return ::RegisterClassA(lpWndClass) != 0;
}

BOOL AfxRegisterPlainClass(LPCWSTR lpszClassName)
{
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = lpszClassName;
    WNDCLASSW existing;
    return ::GetClassInfoW(wc.hInstance, lpszClassName, &existing) || ::RegisterClassW(&wc);
}

BOOL AfxSocketInit(WSADATA* lpwsaData)
{
    WSADATA data = {};
    if (::WSAStartup(MAKEWORD(1, 1), &data) != 0)
        return FALSE;
    if (g_bSocketsStarted)
        ::WSACleanup(); // one start for the program: keep the count at one
    g_bSocketsStarted = true;
    if (lpwsaData)
        *lpwsaData = data;
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    pApp->m_strAppName = AfxLoadString(AFX_IDS_APP_TITLE);
    if (pApp->m_strAppName.empty())
        pApp->m_strAppName = ModuleBaseName(hInstance);

    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd && ::IsWindow(pApp->m_pMainWnd->m_hWnd))
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}
