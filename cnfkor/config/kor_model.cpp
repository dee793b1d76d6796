// The document's loading steps that need only the store.
#include "cnfkor/config/kor_model.h"

#include "cnfkor/config/kor_globals.h"
#include "cnfkor/config/kor_profile_io.h"

bool LoadTestOptionsOrDefaults(CKorConfigData& doc, CKorRegistry& registry)
{
    if (registry.LoadTestOptions(doc))
        return true;
    doc.SetDefaultTestOptions();
    return false;
}

void LoadAllProfiles(CKorConfigData& doc, CKorRegistry& registry)
{
    g_nBasePort = registry.ReadBasePort();
    for (int slot = 0; slot < kProfileSlots; ++slot)
        doc.m_bPresent[slot] = registry.LoadProfile(doc, slot) ? 1 : 0;
    PickCurrentProfile(doc, g_nProfileCount, g_nCurrentProfile);
}
