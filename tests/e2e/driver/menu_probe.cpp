// The menu probe DLL (see menu_probe.h). It runs inside the program under test.
#include "tests/e2e/driver/menu_probe.h"

using e2e::MenuProbeData;

extern "C" __declspec(dllexport) LRESULT CALLBACK
    KorMenuProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    auto* ret = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && ret && ret->message == WM_INITMENUPOPUP && !HIWORD(ret->lParam)) {
        HANDLE hMapping = ::OpenFileMappingW(FILE_MAP_WRITE, FALSE, e2e::kMenuProbeMapping);
        if (hMapping) {
            auto* data = static_cast<MenuProbeData*>(
                ::MapViewOfFile(hMapping, FILE_MAP_WRITE, 0, 0, sizeof(MenuProbeData)));
            if (data) {
                HMENU hMenu = reinterpret_cast<HMENU>(ret->wParam);
                int count = ::GetMenuItemCount(hMenu);
                const int capacity = static_cast<int>(sizeof(data->items) / sizeof(data->items[0]));
                if (count > capacity)
                    count = capacity;
                for (int i = 0; i < count; ++i) {
                    e2e::MenuProbeItem& item = data->items[i];
                    item.id = ::GetMenuItemID(hMenu, i);
                    item.state = ::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
                    item.text[0] = 0;
                    ::GetMenuStringW(hMenu, static_cast<UINT>(i), item.text,
                                     static_cast<int>(sizeof(item.text) / sizeof(wchar_t)),
                                     MF_BYPOSITION);
                }
                data->count = count < 0 ? 0 : count;
                ::InterlockedIncrement(&data->sequence);
                ::UnmapViewOfFile(data);
            }
            ::CloseHandle(hMapping);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
