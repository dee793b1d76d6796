#include "cnfkor/app/my_status_bar.h"

namespace
{
const UINT_PTR kIconTimerId = 1;
const UINT kIconPeriodMs = 200;
} // namespace

void CMyStatusBar::SetIconSequence(const DWORD* pIcons, int nFrames)
{
    m_pIcons = pIcons;
    m_nIconCount = nFrames;
    if (!m_bIconNotCreated)
        m_AnimatedIco.SetIcons(pIcons, nFrames);
}

void CMyStatusBar::StartIconTimer()
{
    if (!m_bIconNotCreated)
        m_AnimatedIco.StartTimer();
}

void CMyStatusBar::StopIconTimer()
{
    if (!m_bIconNotCreated)
        m_AnimatedIco.StopTimer();
}

void CMyStatusBar::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (static_cast<int>(lpDrawItemStruct->itemID) != m_nIconPane || !m_bIconNotCreated)
        return;
    if (!m_AnimatedIco.Create(lpDrawItemStruct->rcItem, this, m_pIcons, m_nIconCount, kIconTimerId,
                              kIconPeriodMs))
        return;
    m_AnimatedIco.StartTimer();
    m_bIconNotCreated = false;
}

void CMyStatusBar::OnDestroy()
{
    if (!m_bIconNotCreated)
        m_AnimatedIco.StopTimer();
    CStatusBar::OnDestroy();
}
