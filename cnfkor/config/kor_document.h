// CKorDocument: the tool's single document, the configuration it edits (nine profile slots
// and the six test options, see CKorConfigData), loaded from and saved to the registry store
// that the application object carries.
#pragma once

#include "cnfkor/config/kor_config_data.h"
#include "framework/framework.h"

class CKorRegistry;

class CKorDocument : public CDocument, public CKorConfigData
{
    DECLARE_DYNCREATE(CKorDocument)

public:
    // Loads the test options (all six take their defaults when they cannot be read), the
    // base port and the profiles. Called once at start-up.
    BOOL OnNewDocument() override;
    // Writes the test options, then, when the current profile is modified, asks whether to
    // save it (Yes: saved and the outcome shown; Cancel: FALSE, the window stays).
    BOOL SaveModified() override;
    // Reloads the base port and the nine slots and picks the current profile.
    void LoadAllProfiles();

private:
    // The store: the application object (null when the program's application is not one).
    static CKorRegistry* Registry();
};
