// CProperties: the main window's form view (dialog 104), the remote-host editor of the
// current profile. For now it publishes the document, fits the frame to the form, lists the
// profiles and asks for one when there is none.
#pragma once

#include "framework/framework.h"

class CKorDocument;

class CProperties : public CFormView
{
    DECLARE_DYNCREATE(CProperties)

public:
    CProperties();

    CKorDocument* GetDocument() const;

    // First update: g_pDocument, the frame's size, the profile list.
    void OnInitialUpdate() override;

protected:
    // Fills the profile list (1036) with the present profiles, the current one selected.
    // Without any profile: message 57678 with OK and Cancel; the tool then closes (profile
    // creation, which OK leads to, is not part of the tool yet).
    void LoadProfileList();
    // Command 111: the profiles changed.
    void OnReloadProfiles();

    DECLARE_COMMAND_MAP()
};
