// CWinApp, the application object, and the framework's global helpers.
//
// A program defines exactly one object of a class derived from CWinApp at namespace scope.
// The framework's WinMain then runs it: InitInstance, and when that succeeds the message loop
// (Run) until WM_QUIT; ExitInstance in both cases gives the exit code.
#pragma once

#include "framework/cmdtarget.h"
#include "framework/framework_ids.h"

#include <memory>
#include <string>
#include <vector>

class CWnd;
class CDocTemplate;

class CWinApp : public CCmdTarget
{
public:
    CWinApp();
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr; // the command line after the program name
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
    std::wstring m_strAppName;     // string AFX_IDS_APP_TITLE, else the module's base name
    std::wstring m_strRegistryKey; // set by SetRegistryKey

    // Start-up; FALSE ends the program (after ExitInstance).
    virtual BOOL InitInstance();
    // The message loop; returns the exit code (from ExitInstance).
    virtual int Run();
    // Clean-up; returns the exit code (the WM_QUIT code when the loop ran).
    virtual int ExitInstance();
    // Gives the windows on the way from the message's window up to the main window their
    // PreTranslateMessage; TRUE when one of them translated the message.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Keeps the company name (a string id) under which the program's settings are stored.
    void SetRegistryKey(UINT nIDRegistryKey);
    // Adds a document template; the application owns it from now on.
    void AddDocTemplate(CDocTemplate* pTemplate);
    // Creates a new document with the first template (its frame, view, first update).
    virtual void OnFileNew();
    // ID_APP_EXIT: closes the main window as the user would.
    void OnAppExit();

    DECLARE_COMMAND_MAP()

private:
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    WPARAM m_quitCode = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();

// The string of the program's string table with this id in the user's language; empty when
// there is none.
std::wstring AfxLoadString(UINT nID);

// Message box with the application's name as caption, owned by the main window when there
// is one. Returns the button pressed (IDOK, IDCANCEL, ...), 0 on failure.
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The same with the text of string nIDPrompt.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// Registers a window class of the program; TRUE also when this module has it already.
BOOL AfxRegisterClass(WNDCLASSA* lpWndClass);
// Registers (once) a plain class of the framework's own windows: redrawn when resized,
// double-clicks, arrow cursor, window background. TRUE when the class exists.
BOOL AfxRegisterPlainClass(LPCWSTR lpszClassName);

// Starts Windows Sockets 1.1 once for the program (ended at exit) and copies the start-up
// data when asked. FALSE when the sockets cannot be started.
BOOL AfxSocketInit(WSADATA* lpwsaData = nullptr);

// The framework's WinMain body: runs the application object.
int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);
