// The tool's application-wide selection state.
//
// Invariants kept by every operation that adds or removes a profile: g_nProfileCount equals
// the number of present slots; g_nCurrentProfile is -1 exactly when g_nProfileCount is 0 and
// otherwise names a present slot. Written on the user-interface thread only.
#pragma once

#include <cstdint>

class CKorDocument;

// Slot index (0..8) of the current profile; -1 when no profile exists. Starts at 0.
extern int g_nCurrentProfile;
// Number of present slots.
extern std::uint16_t g_nProfileCount;
// Base TCP port of the driver instances (ReadBasePort).
extern int g_nBasePort;
// The single document; set by the editor view when it is first shown.
extern CKorDocument* g_pDocument;
