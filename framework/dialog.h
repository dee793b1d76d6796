// CDialog: a dialog box made from a dialog template of the program's resources, modal
// (DoModal) or modeless (Create), with data exchange between its controls and its members.
//
// The dialog window is attached to the object from its first message on (as CWnd::CreateEx
// does), so WM_INITDIALOG, WM_COMMAND and the rest reach WindowProc and the virtuals below.
//
// Data exchange: DoDataExchange lists the controls with DDX_ calls (and DDV_ checks right
// after the DDX_ they check). UpdateData(FALSE) copies the members into the controls,
// UpdateData(TRUE) reads the controls back and validates them; a failed check shows its prompt
// (strings 61712, 61714, 61716), puts the focus on the control and makes UpdateData return
// FALSE, with the members read so far changed and the rest left alone.
#pragma once

#include "framework/wnd.h"

#include <string>

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate)
    {
    }

    // The control id the next DDV_ call checks (set by each DDX_ call); its window.
    HWND PrepareCtrl(int nIDC);
    // Shows the prompt text (with %1 and %2 replaced), focuses the last control, fails.
    void Fail(UINT nIDPrompt, const std::wstring& arg1 = std::wstring(),
              const std::wstring& arg2 = std::wstring());

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate; // TRUE: controls to members, with checks
    bool m_bFailed = false;  // a check failed: later DDX_/DDV_ calls do nothing
    int m_idLastControl = 0;
};

// Text of control nIDC <-> value. The number forms read and write decimal; a text that is not
// a number fails with prompt 61712.
void DDX_Text(CDataExchange* pDX, int nIDC, std::wstring& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
// Attaches rControl to control nIDC the first time (it then gets its messages too).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Checks made when saving: a number outside [minVal, maxVal] fails with prompt 61714, a text
// longer than nChars with prompt 61716.
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MaxChars(CDataExchange* pDX, const std::wstring& value, int nChars);

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog modally; the EndDialog result, or -1 when it could not be made.
    virtual INT_PTR DoModal();
    // Makes the dialog modeless (visible when its template says so); FALSE on failure.
    BOOL Create(CWnd* pParentWnd = nullptr);
    // Ends a modal dialog with nResult; destroys a modeless one.
    void EndDialog(int nResult);

    // Members to controls (FALSE) or controls to members with checks (TRUE); FALSE when a
    // check failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    UINT m_nIDTemplate;

protected:
    // WM_INITDIALOG: the default exchanges the members into the controls. TRUE lets the
    // system put the focus on the first control.
    virtual BOOL OnInitDialog();
    // Lists the controls and their members; the default lists none.
    virtual void DoDataExchange(CDataExchange* pDX);
    // IDOK: saves and validates, then ends with IDOK. IDCANCEL: ends with IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The command map first; then IDOK and IDCANCEL go to OnOK and OnCancel.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // The dialog procedure of every framework dialog: the work is done in WindowProc.
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    CWnd* m_pParentWnd;
    bool m_bModal = false;
};
