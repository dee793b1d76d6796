// The entry point of a program built on the framework (kept alone in its file, so that only
// programs that need WinMain take it from the library).
#include "framework/winapp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, lpCmdLine, nCmdShow);
}
