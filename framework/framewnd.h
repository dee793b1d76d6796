// CFrameWnd: a top-level window with a menu, accelerators, a status bar and one view.
//
// The frame evaluates the enabling rules of a pop-up menu's items when the pop-up opens,
// and again before it carries out a command: a command that is disabled (or has no handler)
// is ignored even when it arrives as WM_COMMAND. While a menu item is highlighted the status
// bar shows the item's prompt (its string of the same id, up to the first "\n"); otherwise
// the idle text AFX_IDS_IDLEMESSAGE.
#pragma once

#include "framework/docview.h"

class CStatusBar;

class CFrameWnd : public CWnd
{
public:
    // Makes the frame from resource nIDResource: its title string, menu, icon and
    // accelerator table (each used when it exists). pContext says which view to make.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

    // Places the status bar at the bottom and the view in the rest of the client area.
    virtual void RecalcLayout();
    // Shows the frame (the application's show state for the main window) and brings it up.
    virtual void ActivateFrame(int nCmdShow = -1);
    // The views' first update, the idle text, then (bMakeVisible) ActivateFrame.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pView) { m_pViewActive = pView; }
    CDocument* GetActiveDocument() const;
    // The status bar with id AFX_IDW_STATUS_BAR, or null.
    CStatusBar* GetMessageBar() const;
    // Text of the status bar's message pane: a string id's prompt, or a text.
    void SetMessageText(UINT nID);
    void SetMessageText(LPCWSTR lpszText);

    // The active view (and its document), this frame, then the application.
    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;
    // Accelerators.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTW lpCreateStruct) override;
    // Makes the view of the creation context.
    virtual BOOL OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext);
    // Menu and accelerator commands, checked against their enabling rules first.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Asks the document (SaveModified) before the frame goes.
    void OnClose() override;
    void OnDestroy() override;
    void OnSize(UINT nType, int cx, int cy) override;
    // Runs the enabling rule of each item of the pop-up; items nobody handles are greyed.
    virtual void OnInitMenuPopup(HMENU hPopupMenu, UINT nIndex, BOOL bSysMenu);
    // Shows the prompt of the highlighted item, or the idle text when the menu closes.
    virtual void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu);
    void PostNcDestroy() override; // frames belong to their window: delete this

    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDResource = 0;
    CView* m_pViewActive = nullptr;
};
