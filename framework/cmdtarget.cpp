#include "framework/cmdtarget.h"

void CCmdUI::Enable(BOOL bOn)
{
    m_bEnabled = bOn;
    if (m_hMenu)
        EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : MF_GRAYED));
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_hMenu)
        CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
}

const CCmdTarget::CommandMap* CCmdTarget::GetThisCommandMap()
{
    static const CommandEntry entries[] = {{0, 0, nullptr, nullptr}};
    static const CommandMap map = {nullptr, entries};
    return &map;
}

const CCmdTarget::CommandMap* CCmdTarget::GetCommandMap() const
{
    return GetThisCommandMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI)
{
    return DispatchCmdMsg(nID, nCode, pCmdUI);
}

BOOL CCmdTarget::DispatchCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI)
{
    // A rule wins over a bare handler; the most derived class wins over its bases.
    bool hasHandler = false;
    for (const CommandMap* map = GetCommandMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const CommandEntry* e = map->pEntries; e->pfnCommand || e->pfnUpdate; ++e) {
            if (e->nID != nID || (e->pfnCommand && e->nCode != nCode))
                continue;
            if (pCmdUI && e->pfnUpdate) {
                (this->*e->pfnUpdate)(pCmdUI);
                return TRUE;
            }
            if (!pCmdUI && e->pfnCommand) {
                (this->*e->pfnCommand)();
                return TRUE;
            }
            if (e->pfnCommand)
                hasHandler = true;
        }
    }
    if (pCmdUI && hasHandler) {
        pCmdUI->Enable(TRUE);
        return TRUE;
    }
    return FALSE;
}
