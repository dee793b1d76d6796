#include "framework/framewnd.h"

#include "framework/controls.h"
#include "framework/winapp.h"

namespace
{
// Class of the frames that do not name their own.
const wchar_t kFrameClass[] = L"KorFrameworkFrame";

// The prompt of a command: its string up to the first line break.
std::wstring PromptOf(UINT nID)
{
    std::wstring text = AfxLoadString(nID);
    size_t end = text.find(L'\n');
    if (end != std::wstring::npos)
        text.erase(end);
    return text;
}
} // namespace

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!cs.lpszClass) {
        if (!AfxRegisterPlainClass(kFrameClass))
            return FALSE;
        cs.lpszClass = kFrameClass;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext)
{
    m_nIDResource = nIDResource;
    HINSTANCE hInst = AfxGetInstanceHandle();
    std::wstring title = PromptOf(nIDResource);
    HMENU hMenu = ::LoadMenuW(hInst, MAKEINTRESOURCEW(nIDResource));
    m_hAccelTable = ::LoadAcceleratorsW(hInst, MAKEINTRESOURCEW(nIDResource));

    RECT rect = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
    rect.right = rect.left; // CW_USEDEFAULT for the size as well
    rect.bottom = rect.top;
    if (!CreateEx(0, nullptr, title.c_str(), dwDefaultStyle, rect, pParentWnd,
                  reinterpret_cast<UINT_PTR>(hMenu), pContext)) {
        if (hMenu)
            ::DestroyMenu(hMenu);
        return FALSE;
    }

    // Both icon sizes from the same resource, when there is one.
    HICON hBig = static_cast<HICON>(::LoadImageW(hInst, MAKEINTRESOURCEW(nIDResource), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXICON),
                                                 ::GetSystemMetrics(SM_CYICON), LR_SHARED));
    HICON hSmall = static_cast<HICON>(::LoadImageW(hInst, MAKEINTRESOURCEW(nIDResource), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (hBig)
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hBig));
    if (hSmall)
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hSmall));
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTW lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (pContext && !OnCreateClient(lpcs, pContext))
        return -1;
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTW, CCreateContext* pContext)
{
    if (!pContext->m_pNewViewClass)
        return TRUE;
    auto* pView = static_cast<CView*>(pContext->m_pNewViewClass->CreateObject());
    if (!pView->Create(this, AFX_IDW_PANE_FIRST, pContext)) {
        delete pView; // a view deletes itself only once it has been made
        return FALSE;
    }
    if (!m_pViewActive)
        m_pViewActive = pView;
    return TRUE;
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

CStatusBar* CFrameWnd::GetMessageBar() const
{
    return dynamic_cast<CStatusBar*>(FromHandlePermanent(GetDlgItem(AFX_IDW_STATUS_BAR)));
}

void CFrameWnd::SetMessageText(UINT nID)
{
    SetMessageText(PromptOf(nID).c_str());
}

void CFrameWnd::SetMessageText(LPCWSTR lpszText)
{
    if (CStatusBar* pBar = GetMessageBar())
        pBar->SetPaneText(0, lpszText);
}

void CFrameWnd::RecalcLayout()
{
    if (!m_hWnd)
        return;
    RECT client;
    GetClientRect(&client);
    if (CStatusBar* pBar = GetMessageBar()) {
        // The bar places itself along the bottom edge when its parent's size changes.
        pBar->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
        if (pBar->IsWindowVisible()) {
            RECT bar;
            pBar->GetWindowRect(&bar);
            client.bottom -= bar.bottom - bar.top;
        }
    }
    if (m_pViewActive && m_pViewActive->m_hWnd)
        m_pViewActive->MoveWindow(client);
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (nCmdShow == -1) {
        nCmdShow = SW_SHOW;
        if (pApp && pApp->m_pMainWnd == this) {
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = SW_SHOW; // the program's show state applies once
        }
    }
    ShowWindow(nCmdShow);
    ::SetForegroundWindow(m_hWnd);
    UpdateWindow();
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    if (!m_pViewActive && pDoc)
        m_pViewActive = pDoc->GetFirstView();
    RecalcLayout();
    if (m_pViewActive)
        m_pViewActive->OnInitialUpdate();
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    if (bMakeVisible && m_hWnd)
        ActivateFrame();
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI)
{
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pCmdUI))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pCmdUI))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pCmdUI);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_hAccelTable && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
        return ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, pMsg);
    return FALSE;
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam != 0)
        return CWnd::OnCommand(wParam, lParam); // a child control's notification
    // A menu item or an accelerator: carried out only when its rule (evaluated now, not
    // when the menu was last opened) enables it.
    UINT nID = LOWORD(wParam);
    CCmdUI state(nID);
    if (!OnCmdMsg(nID, 0, &state) || !state.m_bEnabled)
        return TRUE;
    OnCmdMsg(nID, 0, nullptr);
    return TRUE;
}

void CFrameWnd::OnInitMenuPopup(HMENU hPopupMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu)
        return;
    int count = ::GetMenuItemCount(hPopupMenu);
    for (int i = 0; i < count; ++i) {
        UINT nID = ::GetMenuItemID(hPopupMenu, i);
        if (nID == 0 || nID == static_cast<UINT>(-1))
            continue; // separator or nested pop-up
        CCmdUI state(nID, hPopupMenu, static_cast<UINT>(i));
        if (!OnCmdMsg(nID, 0, &state))
            state.Enable(FALSE); // nothing would carry it out
    }
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu)
{
    if (nFlags == 0xFFFF && !hMenu)
        SetMessageText(AFX_IDS_IDLEMESSAGE); // the menu closed
    else if (nFlags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU))
        SetMessageText(L"");
    else
        SetMessageText(nItemID);
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    case WM_EXITMENULOOP:
        SetMessageText(AFX_IDS_IDLEMESSAGE);
        return 0;
    case WM_SETFOCUS:
        if (m_pViewActive && m_pViewActive->m_hWnd) {
            ::SetFocus(m_pViewActive->m_hWnd);
            return 0;
        }
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CFrameWnd::OnClose()
{
    CDocument* pDoc = GetActiveDocument();
    if (pDoc && !pDoc->CanCloseFrame(this))
        return;
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this)
        ::PostQuitMessage(0);
    CWnd::OnDestroy();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::PostNcDestroy()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = nullptr;
    if (m_bCreated)
        delete this;
}
