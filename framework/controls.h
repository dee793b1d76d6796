// Wrappers of the controls the programs make themselves: CStatic and CStatusBar.
#pragma once

#include "framework/framework_ids.h"
#include "framework/wnd.h"

#include <commctrl.h>

#include <string>
#include <vector>

// Control-bar alignment given to CStatusBar::Create (the bar always sits at the bottom).
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Pane styles of CStatusBar::SetPaneInfo.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_STRETCH 0x0800 // takes the width the other panes leave

class CStatic : public CWnd
{
public:
    BOOL Create(LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID = 0xFFFF);
    // Sets the icon shown (SS_ICON); returns the icon the control held before.
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};

class CStatusBar : public CWnd
{
public:
    // Makes the bar as child nID of pParentWnd; the CBRS_ bits of dwStyle are the bar's
    // alignment, the others window styles.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id: ID_SEPARATOR makes the stretching message pane, any other id a pane
    // showing that string, as wide as the string. FALSE when a string is missing.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    // Index of the pane with this id, or -1.
    int CommandToIndex(UINT nIDFind) const;
    BOOL SetPaneText(int nIndex, LPCWSTR lpszNewText);
    std::wstring GetPaneText(int nIndex) const;
    // Rectangle of a pane in the bar's client coordinates.
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    // Smallest height of the bar's drawing area, in pixels.
    void SetMinHeight(int nMin);

    // Draws an owner-drawn pane (SBPS_OWNERDRAW); the default draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnSize(UINT nType, int cx, int cy) override;

private:
    struct Pane {
        UINT nID;
        UINT nStyle;
        int cxWidth;
        std::wstring text;
    };
    std::vector<Pane> m_panes;

    // Gives the control its parts and their texts.
    void UpdateParts();
    void ApplyPaneText(int nIndex);
};
