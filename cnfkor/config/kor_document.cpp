#include "cnfkor/config/kor_document.h"

#include "cnfkor/config/kor_globals.h"
#include "cnfkor/config/kor_model.h"
#include "cnfkor/config/kor_registry.h"
#include "res/cnfkor/resource.h"

IMPLEMENT_DYNCREATE(CKorDocument)

CKorRegistry* CKorDocument::Registry()
{
    return dynamic_cast<CKorRegistry*>(AfxGetApp());
}

BOOL CKorDocument::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    CKorRegistry* pRegistry = Registry();
    if (!pRegistry)
        return FALSE;
    LoadTestOptionsOrDefaults(*this, *pRegistry);
    LoadAllProfiles();
    return TRUE;
}

void CKorDocument::LoadAllProfiles()
{
    if (CKorRegistry* pRegistry = Registry())
        ::LoadAllProfiles(*this, *pRegistry);
}

BOOL CKorDocument::SaveModified()
{
    CKorRegistry* pRegistry = Registry();
    if (pRegistry)
        pRegistry->SaveTestOptions(*this); // on every close; a failure is not reported
    if (!IsModified())
        return TRUE;
    switch (AfxMessageBox(AFX_IDP_ASK_TO_SAVE, MB_YESNOCANCEL, AFX_IDP_SAVE_HELP_ID)) {
    case IDCANCEL:
        return FALSE;
    case IDYES: {
        bool saved =
            pRegistry && g_nCurrentProfile >= 0 && pRegistry->SaveProfile(*this, g_nCurrentProfile);
        AfxMessageBox(saved ? IDS_SAVE_DONE : IDS_SAVE_FAILED);
        return TRUE;
    }
    default:
        return TRUE;
    }
}
