#include "framework/docview.h"

#include "framework/controls.h"
#include "framework/framewnd.h"
#include "framework/winapp.h"

#include <algorithm>

// --- CDocument ---------------------------------------------------------------------------

CDocument::~CDocument()
{
    for (CView* pView : m_viewList)
        pView->m_pDocument = nullptr;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::DeleteContents() {}

BOOL CDocument::SaveModified()
{
    return TRUE;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame)
{
    return SaveModified();
}

void CDocument::AddView(CView* pView)
{
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView)
{
    m_viewList.erase(std::remove(m_viewList.begin(), m_viewList.end(), pView), m_viewList.end());
    pView->m_pDocument = nullptr;
    if (m_viewList.empty())
        delete this;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    for (CView* pView : m_viewList) {
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

// --- CView -------------------------------------------------------------------------------

BOOL CView::Create(CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    static const wchar_t kViewClass[] = L"KorFrameworkView";
    if (!AfxRegisterPlainClass(kViewClass))
        return FALSE;
    if (pContext && pContext->m_pCurrentDoc)
        pContext->m_pCurrentDoc->AddView(this);
    RECT rect = {0, 0, 0, 0};
    return CreateEx(0, kViewClass, L"", WS_CHILD | WS_VISIBLE, rect, pParentWnd, nID);
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    Invalidate(TRUE);
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI)
{
    if (CWnd::OnCmdMsg(nID, nCode, pCmdUI))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pCmdUI);
}

void CView::OnDestroy()
{
    if (CFrameWnd* pFrame = GetParentFrame()) {
        if (pFrame->GetActiveView() == this)
            pFrame->SetActiveView(nullptr);
    }
    if (m_pDocument)
        m_pDocument->RemoveView(this);
    CWnd::OnDestroy();
}

void CView::PostNcDestroy()
{
    if (m_bCreated)
        delete this;
}

// --- CFormView ---------------------------------------------------------------------------

namespace
{
// The form's dialog procedure: everything is handled by the view's object (which gets the
// messages first) or by the dialog manager's defaults.
INT_PTR CALLBACK FormDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
} // namespace

BOOL CFormView::Create(CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    if (pContext && pContext->m_pCurrentDoc)
        pContext->m_pCurrentDoc->AddView(this);
    HWND hWnd = WithCreationHook([&] {
        return ::CreateDialogParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate),
                                    pParentWnd ? pParentWnd->m_hWnd : nullptr, &FormDialogProc, 0);
    });
    if (!hWnd) {
        if (m_pDocument)
            m_pDocument->RemoveView(this);
        return FALSE;
    }
    m_bCreated = true;
    ::SetWindowLongPtrW(hWnd, GWLP_ID, static_cast<LONG_PTR>(nID));
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    m_sizeTemplate = {rect.right - rect.left, rect.bottom - rect.top};
    ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CFormView::PreTranslateMessage(MSG* pMsg)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame && pFrame->PreTranslateMessage(pMsg))
        return TRUE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

void CFormView::ResizeParentToFit(BOOL bShrinkOnly)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (!pFrame)
        return;
    pFrame->RecalcLayout();
    // The frame's size from the client size it needs (form and status bar) and its style:
    // computed, not measured, since a hidden frame may not have laid out its menu bar yet.
    RECT want = {0, 0, m_sizeTemplate.cx, m_sizeTemplate.cy};
    if (CStatusBar* pBar = pFrame->GetMessageBar()) {
        RECT bar;
        pBar->GetWindowRect(&bar);
        want.bottom += bar.bottom - bar.top;
    }
    HWND hFrame = pFrame->m_hWnd;
    ::AdjustWindowRectEx(&want, static_cast<DWORD>(::GetWindowLongW(hFrame, GWL_STYLE)),
                         ::GetMenu(hFrame) != nullptr,
                         static_cast<DWORD>(::GetWindowLongW(hFrame, GWL_EXSTYLE)));
    RECT frame;
    pFrame->GetWindowRect(&frame);
    int cx = want.right - want.left;
    int cy = want.bottom - want.top;
    if (bShrinkOnly) {
        cx = cx < frame.right - frame.left ? cx : frame.right - frame.left;
        cy = cy < frame.bottom - frame.top ? cy : frame.bottom - frame.top;
    }
    ::SetWindowPos(hFrame, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    pFrame->RecalcLayout();
}

// --- templates ---------------------------------------------------------------------------

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                           const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    // A document still alive here outlived its frame (start-up failed half way).
    if (m_pOnlyDoc) {
        m_pOnlyDoc->m_pDocTemplate = nullptr;
        delete m_pOnlyDoc;
    }
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible)
{
    if (lpszPathName || m_pOnlyDoc)
        return nullptr; // no files, and one document at a time

    auto* pDoc = static_cast<CDocument*>(m_pDocClass->CreateObject());
    pDoc->m_pDocTemplate = this;
    m_pOnlyDoc = pDoc;

    auto* pFrame = static_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = pDoc;
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW, nullptr, &context)) {
        // The frame is not made: its object is ours to delete, and so is the document
        // unless a view took it along when it went.
        delete pFrame;
        delete m_pOnlyDoc;
        return nullptr;
    }

    if (!pDoc->OnNewDocument()) {
        pFrame->DestroyWindow(); // takes the view, the document and the frame object along
        return nullptr;
    }

    CWinApp* pApp = AfxGetApp();
    if (pApp && !pApp->m_pMainWnd)
        pApp->m_pMainWnd = pFrame;
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
    return pDoc;
}
