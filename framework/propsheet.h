// CPropertySheet and CPropertyPage: a modal property sheet of the common controls over
// PropertySheetW, its pages made from dialog templates of the program's resources.
//
// The sheet window is attached to its object from its first message on, each page from its
// WM_INITDIALOG on (the control makes a page when it is first shown). The sheet's own dialog
// procedure does the rest: tabs, buttons, page changes, and handing the commands it does not
// know to the active page.
#pragma once

#include "framework/dialog.h"

#include <commctrl.h>

#include <vector>

class CPropertyPage : public CDialog
{
public:
    explicit CPropertyPage(UINT nIDTemplate);

    // What PropertySheetW is given for this page.
    PROPSHEETPAGEW m_psp;

protected:
    // PSN_SETACTIVE: the page becomes the active one; FALSE refuses. The default accepts.
    virtual BOOL OnSetActive();
    // PSN_KILLACTIVE: another page is to become active; the default saves and validates
    // (UpdateData(TRUE)) and refuses the change when that fails.
    virtual BOOL OnKillActive();
    // PSN_APPLY: TRUE accepts the changes. The default accepts.
    virtual BOOL OnApply();
    // PSN_QUERYCANCEL: FALSE keeps the sheet open. The default allows the cancel.
    virtual BOOL OnQueryCancel();

    // Pages do not end anything themselves: the sheet's buttons reach them as notifications.
    void OnOK() override {}
    void OnCancel() override {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK PageDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

class CPropertySheet : public CWnd
{
public:
    // lpszCaption: the sheet's title, as it stands. iSelectPage: the page shown first.
    explicit CPropertySheet(LPCWSTR lpszCaption = L"", CWnd* pParentWnd = nullptr,
                            UINT iSelectPage = 0);

    // Pages in tab order; the sheet does not own them.
    void AddPage(CPropertyPage* pPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    // Index of the page shown now, -1 before the sheet exists.
    int GetActiveIndex() const;
    // Shows page nPage (makes it when it has not been shown yet); FALSE when it cannot.
    BOOL SetActivePage(int nPage);

    // Runs the sheet modally until EndDialog (or the sheet's own OK or Cancel) ends it;
    // PropertySheetW's result, -1 when the sheet could not be made.
    virtual INT_PTR DoModal();
    // Ends the sheet as its Cancel button does, whatever OnCommand does with IDCANCEL.
    void EndDialog(int nResult);

    // Header given to PropertySheetW: add flags (PSH_USEHICON...) before DoModal.
    PROPSHEETHEADERW m_psh;

protected:
    // WM_INITDIALOG: the default lets the control build the sheet and its first page.
    virtual BOOL OnInitDialog();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::wstring m_strCaption;
    CWnd* m_pParentWnd;
    std::vector<CPropertyPage*> m_pages;
    bool m_bEnding = false;
};
