// CCnfKorApp: the configuration tool's application object. Start-up (one copy only, window
// class, system check, sockets, registry names, the document template), and the registry
// store of the configuration, which it carries as its profile settings.
#pragma once

#include "cnfkor/config/kor_registry.h"
#include "framework/framework.h"

// Class of the main window, by which other programs find the tool.
constexpr char kMainWindowClass[] = "OVCnfKorClass";
// Named event whose existence marks a running copy of the tool.
constexpr char kInstanceEventName[] = "OVCnfKorInstEvent";

class CCnfKorApp : public CWinApp, public CKorRegistry
{
public:
    BOOL InitInstance() override;
    // Closes the single-copy event, then the framework's clean-up.
    int ExitInstance() override;

    // Windows Sockets start-up data: version in use and highest version (the about box).
    WSADATA m_wsaData = {};

private:
    // Another copy runs: brings its window to the front. Returns TRUE when one runs.
    BOOL ActivateRunningCopy();
    BOOL RegisterMainWindowClass();

    HANDLE m_hInstanceEvent = nullptr;
};

extern CCnfKorApp theApp;
