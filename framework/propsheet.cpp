#include "framework/propsheet.h"

#include "framework/winapp.h"

// --- CPropertyPage ---------------------------------------------------------------------------

CPropertyPage::CPropertyPage(UINT nIDTemplate) : CDialog(nIDTemplate), m_psp()
{
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.pszTemplate = MAKEINTRESOURCEW(nIDTemplate);
    m_psp.pfnDlgProc = &CPropertyPage::PageDialogProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

INT_PTR CALLBACK CPropertyPage::PageDialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    // The control hands over its copy of the page's header; its lParam is the object.
    auto* psp = reinterpret_cast<PROPSHEETPAGEW*>(lParam);
    auto* pPage = psp ? reinterpret_cast<CPropertyPage*>(psp->lParam) : nullptr;
    if (!pPage || !pPage->SubclassWindow(hWnd))
        return TRUE;
    return pPage->OnInitDialog();
}

BOOL CPropertyPage::OnSetActive()
{
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    return TRUE;
}

BOOL CPropertyPage::OnQueryCancel()
{
    return TRUE;
}

LRESULT CPropertyPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr && hdr->hwndFrom == ::GetParent(m_hWnd)) {
            switch (hdr->code) {
            case PSN_SETACTIVE:
                return OnSetActive() ? 0 : -1;
            case PSN_KILLACTIVE:
                return OnKillActive() ? FALSE : TRUE;
            case PSN_APPLY:
                return OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
            case PSN_QUERYCANCEL:
                return OnQueryCancel() ? FALSE : TRUE;
            default:
                break;
            }
        }
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

// --- CPropertySheet --------------------------------------------------------------------------

CPropertySheet::CPropertySheet(LPCWSTR lpszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_psh(), m_strCaption(lpszCaption ? lpszCaption : L""), m_pParentWnd(pParentWnd)
{
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.nStartPage = iSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (pPage)
        m_pages.push_back(pPage);
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd)
        return -1;
    HWND hPage = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    for (int i = 0; i < GetPageCount(); ++i) {
        if (hPage && m_pages[static_cast<size_t>(i)]->m_hWnd == hPage)
            return i;
    }
    return -1;
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (!m_hWnd || !GetPage(nPage))
        return FALSE;
    return ::SendMessageW(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0) ? TRUE : FALSE;
}

INT_PTR CPropertySheet::DoModal()
{
    std::vector<PROPSHEETPAGEW> pages;
    for (CPropertyPage* pPage : m_pages) {
        pPage->m_psp.hInstance = AfxGetInstanceHandle();
        pages.push_back(pPage->m_psp);
    }
    m_psh.hInstance = AfxGetInstanceHandle();
    m_psh.hwndParent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    m_psh.pszCaption = m_strCaption.c_str();
    m_psh.nPages = static_cast<UINT>(pages.size());
    m_psh.ppsp = pages.data();
    m_psh.dwFlags |= PSH_PROPSHEETPAGE;
    m_psh.dwFlags &= ~static_cast<DWORD>(PSH_MODELESS);
    m_bEnding = false;
    // The first window PropertySheetW makes on this thread is the sheet itself.
    INT_PTR result = WithCreationHook([&] { return ::PropertySheetW(&m_psh); });
    m_bCreated = false;
    return result;
}

void CPropertySheet::EndDialog(int)
{
    if (!m_hWnd)
        return;
    m_bEnding = true;
    ::SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

BOOL CPropertySheet::OnInitDialog()
{
    return static_cast<BOOL>(Default());
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    // While ending, the control's own Cancel handling runs, not the program's commands.
    if (message == WM_COMMAND && m_bEnding)
        return DefWindowProc(message, wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}
