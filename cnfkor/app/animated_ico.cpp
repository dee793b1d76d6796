#include "cnfkor/app/animated_ico.h"

BOOL CAnimatedIco::Create(const RECT& rect, CWnd* pParentWnd, const DWORD* pIcons, int nFrames,
                          UINT_PTR nTimerId, UINT nPeriod)
{
    if (!CStatic::Create(L"", WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, rect, pParentWnd,
                         0xFFFF))
        return FALSE;
    m_pIcons = pIcons;
    m_nFrames = nFrames;
    m_nTimerId = nTimerId;
    m_nPeriod = nPeriod;
    m_nFrame = 0;
    ShowFrame();
    return TRUE;
}

void CAnimatedIco::SetIcons(const DWORD* pIcons, int nFrames)
{
    m_pIcons = pIcons;
    m_nFrames = nFrames;
    m_nFrame = 0;
}

void CAnimatedIco::StartTimer()
{
    if (m_hWnd)
        SetTimer(m_nTimerId, m_nPeriod);
}

void CAnimatedIco::StopTimer()
{
    if (m_hWnd)
        KillTimer(m_nTimerId);
}

void CAnimatedIco::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != m_nTimerId) {
        CStatic::OnTimer(nIDEvent);
        return;
    }
    if (m_nFrames > 0)
        m_nFrame = (m_nFrame + 1) % m_nFrames;
    ShowFrame();
}

void CAnimatedIco::ShowFrame()
{
    HICON hIcon = nullptr;
    if (m_pIcons && m_nFrame < m_nFrames) {
        hIcon = static_cast<HICON>(::LoadImageW(AfxGetInstanceHandle(),
                                                MAKEINTRESOURCEW(LOWORD(m_pIcons[m_nFrame])),
                                                IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    }
    HICON hOld = SetIcon(hIcon);
    if (hOld)
        ::DestroyIcon(hOld);
    Invalidate(TRUE);
    UpdateWindow();
}

void CAnimatedIco::OnDestroy()
{
    HICON hOld = SetIcon(nullptr);
    if (hOld)
        ::DestroyIcon(hOld);
    CStatic::OnDestroy();
}
