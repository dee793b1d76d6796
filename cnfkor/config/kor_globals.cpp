// The tool's application-wide selection state.
#include "cnfkor/config/kor_globals.h"

int g_nCurrentProfile = 0;
std::uint16_t g_nProfileCount = 0;
int g_nBasePort = 0;
CKorDocument* g_pDocument = nullptr;
