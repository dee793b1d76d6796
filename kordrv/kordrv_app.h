// The driver monitor's application object: start-up, the sheet, and the end of the program.
#pragma once

#include "framework/framework.h"

class CKorDrvApp : public CWinApp
{
public:
    // Parses the command line, attaches to the instance's block, does the start-up
    // bookkeeping, runs the sheet until a stop request, then ends: always FALSE.
    BOOL InitInstance() override;
};
