// The other process of the cross-process tests.
//   kor_test_peer wait-stop MS   creates its stop-request event and waits for it:
//                                exit 0 when it was set, 3 when MS passed first, 4 on failure
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "shared/drv_block_win.h"

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "wait-stop") == 0) {
        HANDLE event = CreateStopRequestEvent(GetCurrentProcessId());
        if (!event)
            return 4;
        DWORD w = WaitForSingleObject(event, static_cast<DWORD>(std::atoi(argv[2])));
        CloseHandle(event);
        return w == WAIT_OBJECT_0 ? 0 : 3;
    }
    return 2;
}
