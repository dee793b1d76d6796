#include "cnfkor/app/properties.h"

#include "cnfkor/config/kor_document.h"
#include "cnfkor/config/kor_globals.h"
#include "res/cnfkor/resource.h"

#include <cstdio>

IMPLEMENT_DYNCREATE(CProperties)

CProperties::CProperties() : CFormView(IDD_PROPERTIES) {}

BEGIN_COMMAND_MAP(CProperties, CFormView)
ON_COMMAND(ID_RELOAD_PROFILES, OnReloadProfiles)
END_COMMAND_MAP()

CKorDocument* CProperties::GetDocument() const
{
    return static_cast<CKorDocument*>(m_pDocument);
}

void CProperties::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    g_pDocument = GetDocument();

    // A frame too small for the form first gets the whole screen, then exactly the form.
    if (CFrameWnd* pFrame = GetParentFrame()) {
        RECT client;
        pFrame->GetClientRect(&client);
        SIZE form = GetTemplateSize();
        if (client.right - client.left < form.cx || client.bottom - client.top < form.cy) {
            RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
            pFrame->MoveWindow(screen);
        }
        pFrame->RecalcLayout();
        ResizeParentToFit(FALSE);
    }
    LoadProfileList();
}

void CProperties::LoadProfileList()
{
    if (g_nCurrentProfile == -1) {
        AfxMessageBox(IDS_NO_PROFILE, MB_OKCANCEL);
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->PostMessage(WM_CLOSE);
        return;
    }

    HWND hList = GetDlgItem(IDC_PROFILE_LIST);
    ::SendMessageW(hList, CB_RESETCONTENT, 0, 0);
    CKorDocument* pDoc = GetDocument();
    for (int slot = 0; pDoc && slot < kProfileSlots; ++slot) {
        if (!pDoc->m_bPresent[slot])
            continue;
        wchar_t name[16];
        std::swprintf(name, 16, L"KOR%02i", slot + 1);
        LRESULT item = ::SendMessageW(hList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        if (slot == g_nCurrentProfile)
            ::SendMessageW(hList, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    }
}

void CProperties::OnReloadProfiles()
{
    LoadProfileList();
}
