#include "framework/controls.h"

#include "framework/winapp.h"

// --- CStatic -----------------------------------------------------------------------------

BOOL CStatic::Create(LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, L"STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

HICON CStatic::SetIcon(HICON hIcon)
{
    return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(hIcon)));
}

HICON CStatic::GetIcon() const
{
    return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, STM_GETICON, 0, 0));
}

// --- CStatusBar --------------------------------------------------------------------------

namespace
{
// Space around a pane's text inside its part, in pixels.
const int kPaneMargin = 4;
} // namespace

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    // The CBRS_ bits are the bar's own; the control always sits at the bottom (CCS_BOTTOM).
    DWORD style = (dwStyle & 0xFFFF0000) | CCS_BOTTOM;
    RECT rect = {0, 0, 0, 0};
    return CreateEx(0, STATUSCLASSNAMEW, L"", style, rect, pParentWnd, nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    m_panes.clear();
    HDC hdc = ::GetDC(m_hWnd);
    HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    HGDIOBJ hOld = hFont ? ::SelectObject(hdc, hFont) : nullptr;
    BOOL ok = TRUE;
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane = {lpIDArray[i], SBPS_NORMAL, 0, std::wstring()};
        if (pane.nID == ID_SEPARATOR) {
            pane.nStyle = SBPS_STRETCH | SBPS_NOBORDERS;
        } else {
            pane.text = AfxLoadString(pane.nID);
            if (pane.text.empty())
                ok = FALSE;
            SIZE size = {0, 0};
            ::GetTextExtentPoint32W(hdc, pane.text.c_str(), static_cast<int>(pane.text.size()),
                                    &size);
            pane.cxWidth = size.cx;
        }
        m_panes.push_back(pane);
    }
    if (hOld)
        ::SelectObject(hdc, hOld);
    ::ReleaseDC(m_hWnd, hdc);
    UpdateParts();
    return ok;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size()))
        return;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxWidth = cxWidth;
    UpdateParts();
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size()))
        return;
    const Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxWidth;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].nID == nIDFind)
            return static_cast<int>(i);
    }
    return -1;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCWSTR lpszNewText)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size()))
        return FALSE;
    m_panes[static_cast<size_t>(nIndex)].text = lpszNewText ? lpszNewText : L"";
    ApplyPaneText(nIndex);
    return TRUE;
}

std::wstring CStatusBar::GetPaneText(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size()))
        return std::wstring();
    return m_panes[static_cast<size_t>(nIndex)].text;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    ::SendMessageW(m_hWnd, SB_GETRECT, static_cast<WPARAM>(nIndex),
                   reinterpret_cast<LPARAM>(lpRect));
}

void CStatusBar::SetMinHeight(int nMin)
{
    SendMessage(SB_SETMINHEIGHT, static_cast<WPARAM>(nMin));
    // The control takes the new height at its next size change.
    HWND hParent = GetParent();
    RECT client;
    ::GetClientRect(hParent, &client);
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

void CStatusBar::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatusBar::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return FALSE;
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    *pResult = TRUE;
    return TRUE;
}

void CStatusBar::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    UpdateParts();
}

void CStatusBar::UpdateParts()
{
    if (!m_hWnd || m_panes.empty())
        return;
    RECT client;
    GetClientRect(&client);
    int fixed = 0;
    for (const Pane& pane : m_panes) {
        if (!(pane.nStyle & SBPS_STRETCH))
            fixed += pane.cxWidth + kPaneMargin;
    }
    // Right edges, left to right; the stretching pane gets what the others leave.
    std::vector<int> edges;
    int right = 0;
    for (const Pane& pane : m_panes) {
        int width =
            (pane.nStyle & SBPS_STRETCH) ? client.right - fixed : pane.cxWidth + kPaneMargin;
        right += width > 0 ? width : 0;
        edges.push_back(right);
    }
    edges.back() = -1; // the last part runs to the bar's right edge
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < m_panes.size(); ++i)
        ApplyPaneText(static_cast<int>(i));
}

void CStatusBar::ApplyPaneText(int nIndex)
{
    const Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    UINT drawStyle = pane.nStyle & (SBT_NOBORDERS | SBT_POPOUT | SBT_OWNERDRAW);
    // An owner-drawn part carries data instead of text; its text is what DrawItem shows.
    LPARAM data = (drawStyle & SBT_OWNERDRAW) ? 0 : reinterpret_cast<LPARAM>(pane.text.c_str());
    SendMessage(SB_SETTEXTW, static_cast<WPARAM>(nIndex) | drawStyle, data);
}
