// The document's loading steps that need only the store: CKorDocument::OnNewDocument and
// CKorDocument::LoadAllProfiles call these (inside those members, call them as
// ::LoadAllProfiles so the member does not hide the free function).
#pragma once

#include "cnfkor/config/kor_config_data.h"
#include "cnfkor/config/kor_registry.h"

// Reads the six test options; when that fails, all six take their defaults (the options
// take effect all or nothing). Returns whether they were read.
bool LoadTestOptionsOrDefaults(CKorConfigData& doc, CKorRegistry& registry);

// Reloads the base port (g_nBasePort) and the nine slots: a slot is present when its
// profile loads (what a failed load left in the slot stays). Then g_nProfileCount is the
// number of present slots and g_nCurrentProfile the lowest present slot, -1 when none.
void LoadAllProfiles(CKorConfigData& doc, CKorRegistry& registry);
