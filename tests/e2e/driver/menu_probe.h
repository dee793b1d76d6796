// The menu probe: a hook DLL that the driver loads into the program under test, because
// under Wine another process's menus cannot be read. Each time a pop-up menu of the program
// has been initialised (WM_INITMENUPOPUP handled, so its enabling rules have run), the probe
// copies the pop-up's items into shared memory for the driver.
#pragma once

#include <windows.h>

namespace e2e
{
// Name of the shared memory the driver creates and the probe fills.
constexpr wchar_t kMenuProbeMapping[] = L"Local\\KorE2eMenuProbe";
// Name of the hook procedure the probe exports.
constexpr char kMenuProbeProc[] = "KorMenuProbeHook";

struct MenuProbeItem {
    UINT id;          // command id; 0 for a separator, 0xFFFFFFFF for a nested pop-up
    UINT state;       // GetMenuState: MF_GRAYED, MF_DISABLED, MF_CHECKED, ...
    wchar_t text[96]; // item text with its "&"
};

struct MenuProbeData {
    volatile LONG sequence; // incremented after each pop-up is recorded
    LONG count;
    MenuProbeItem items[40];
};
} // namespace e2e
