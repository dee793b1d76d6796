#include "framework/dialog.h"

#include "framework/framework_ids.h"
#include "framework/winapp.h"

#include <cwchar>

// --- data exchange -------------------------------------------------------------------------

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    m_idLastControl = nIDC;
    return ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
}

void CDataExchange::Fail(UINT nIDPrompt, const std::wstring& arg1, const std::wstring& arg2)
{
    std::wstring text = AfxLoadString(nIDPrompt);
    for (const auto& arg : {std::make_pair(L"%1", arg1), std::make_pair(L"%2", arg2)}) {
        size_t at = text.find(arg.first);
        if (at != std::wstring::npos)
            text.replace(at, 2, arg.second);
    }
    AfxMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
    HWND hCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl);
    if (hCtrl) {
        ::SetFocus(hCtrl);
        ::SendMessageW(hCtrl, EM_SETSEL, 0, -1);
    }
    m_bFailed = true;
}

namespace
{
std::wstring ControlText(HWND hCtrl)
{
    int length = ::GetWindowTextLengthW(hCtrl);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    int got = ::GetWindowTextW(hCtrl, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

// A whole decimal number (blanks around it allowed); false for anything else.
bool ParseNumber(const std::wstring& text, bool allowSign, long long* value)
{
    const wchar_t* p = text.c_str();
    while (*p == L' ' || *p == L'\t')
        ++p;
    bool negative = false;
    if (allowSign && (*p == L'-' || *p == L'+'))
        negative = *p++ == L'-';
    if (*p < L'0' || *p > L'9')
        return false;
    long long v = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        v = v * 10 + (*p - L'0');
        if (v > 0xFFFFFFFFLL)
            return false;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    if (*p)
        return false;
    *value = negative ? -v : v;
    return true;
}
} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, std::wstring& value)
{
    if (pDX->m_bFailed)
        return;
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = ControlText(hCtrl);
    else
        ::SetWindowTextW(hCtrl, value.c_str());
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    if (pDX->m_bFailed)
        return;
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long v = 0;
        if (!ParseNumber(ControlText(hCtrl), false, &v))
            return pDX->Fail(AFX_IDP_PARSE_INT);
        value = static_cast<UINT>(v);
    } else {
        wchar_t text[16];
        std::swprintf(text, 16, L"%u", value);
        ::SetWindowTextW(hCtrl, text);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    if (pDX->m_bFailed)
        return;
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long v = 0;
        if (!ParseNumber(ControlText(hCtrl), true, &v) || v > 0x7FFFFFFF || v < -0x7FFFFFFF - 1)
            return pDX->Fail(AFX_IDP_PARSE_INT);
        value = static_cast<int>(v);
    } else {
        wchar_t text[16];
        std::swprintf(text, 16, L"%d", value);
        ::SetWindowTextW(hCtrl, text);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (pDX->m_bFailed)
        return;
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.m_hWnd && hCtrl)
        rControl.SubclassWindow(hCtrl);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    pDX->Fail(AFX_IDP_PARSE_INT_RANGE, std::to_wstring(minVal), std::to_wstring(maxVal));
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    pDX->Fail(AFX_IDP_PARSE_INT_RANGE, std::to_wstring(minVal), std::to_wstring(maxVal));
}

void DDV_MaxChars(CDataExchange* pDX, const std::wstring& value, int nChars)
{
    if (pDX->m_bFailed || nChars < 0)
        return;
    if (!pDX->m_bSaveAndValidate) {
        // When filling the controls, the edit control itself stops at the limit.
        HWND hCtrl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, pDX->m_idLastControl);
        if (hCtrl)
            ::SendMessageW(hCtrl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        return;
    }
    if (value.size() > static_cast<size_t>(nChars))
        pDX->Fail(AFX_IDP_PARSE_STRING_SIZE, std::to_wstring(nChars));
}

// --- CDialog -------------------------------------------------------------------------------

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM)
{
    // The window is subclassed by the framework: every message has been seen by WindowProc
    // already, and what reaches here needs the dialog manager's default.
    return FALSE;
}

INT_PTR CDialog::DoModal()
{
    HWND hParent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hParent) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain && pMain != this && ::IsWindow(pMain->m_hWnd))
            hParent = pMain->m_hWnd;
    }
    m_bModal = true;
    INT_PTR result = WithCreationHook([&] {
        return ::DialogBoxParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), hParent,
                                 &CDialog::DialogProc, 0);
    });
    m_bModal = false;
    return result;
}

BOOL CDialog::Create(CWnd* pParentWnd)
{
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    m_bModal = false;
    HWND hWnd = WithCreationHook([&] {
        return ::CreateDialogParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate),
                                    m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr,
                                    &CDialog::DialogProc, 0);
    });
    if (!hWnd)
        return FALSE;
    m_bCreated = true;
    return TRUE;
}

void CDialog::EndDialog(int nResult)
{
    if (m_bModal)
        ::EndDialog(m_hWnd, nResult);
    else
        DestroyWindow();
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.m_bFailed ? FALSE : TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    if (HIWORD(wParam) != BN_CLICKED && HIWORD(wParam) != 0)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}
