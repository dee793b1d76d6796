// CObject, run-time class records, CCmdUI and CCmdTarget with its command maps.
//
// A command map binds command ids to members of a class:
//   ON_COMMAND(id, OnX)               void OnX()              carries the command out
//   ON_UPDATE_COMMAND_UI(id, OnUpdX)  void OnUpdX(CCmdUI*)    says whether it is enabled
//   ON_CONTROL(code, id, OnX)         void OnX()              a control's notification
//   ON_BN_CLICKED(id, OnX)            void OnX()              a button was clicked
// Maps chain to the base class's map, so a derived class only lists what it adds.
//
//   class CMainFrame : public CFrameWnd {
//       ...
//       DECLARE_COMMAND_MAP()
//   };
//   BEGIN_COMMAND_MAP(CMainFrame, CFrameWnd)
//       ON_COMMAND(ID_KOR_START, OnStart)
//       ON_UPDATE_COMMAND_UI(ID_KOR_START, OnUpdateStart)
//   END_COMMAND_MAP()
#pragma once

// <winsock2.h> first: after <windows.h> it would clash with the older sockets header that
// <windows.h> pulls in, and programs on this framework use sockets.
#include <winsock2.h>
#include <windows.h>

class CObject
{
public:
    virtual ~CObject() = default;
};

// What DECLARE_DYNCREATE records of a class: its name and how to make one. The document
// template uses it to create the document, the frame and the view.
struct CRuntimeClass {
    const char* m_lpszClassName;
    CObject* (*m_pfnCreateObject)();

    CObject* CreateObject() const { return m_pfnCreateObject(); }
};

#define DECLARE_DYNCREATE(theClass)                                                                \
public:                                                                                            \
    static const CRuntimeClass class##theClass;                                                    \
    static CObject* CreateObject();

#define IMPLEMENT_DYNCREATE(theClass)                                                              \
    const CRuntimeClass theClass::class##theClass = {#theClass, &theClass::CreateObject};          \
    CObject* theClass::CreateObject()                                                              \
    {                                                                                              \
        return new theClass;                                                                       \
    }

#define RUNTIME_CLASS(theClass) (&theClass::class##theClass)

// The state of one command as its enabling rule sets it. The framework makes one for each
// item of a pop-up menu that is about to open, and one before it carries out a command.
class CCmdUI
{
public:
    explicit CCmdUI(UINT nID, HMENU hMenu = nullptr, UINT nIndex = 0)
        : m_nID(nID), m_hMenu(hMenu), m_nIndex(nIndex)
    {
    }
    virtual ~CCmdUI() = default;

    // Enables or disables the command (and its menu item, when there is one).
    virtual void Enable(BOOL bOn = TRUE);
    // Checks (1) or unchecks (0) the command's menu item.
    virtual void SetCheck(int nCheck = 1);

    UINT m_nID;
    HMENU m_hMenu;          // pop-up menu holding the item, or null
    UINT m_nIndex;          // position of the item in m_hMenu
    BOOL m_bEnabled = TRUE; // the last state given to Enable
};

class CCmdTarget : public CObject
{
public:
    // Looks nID up in this object's command map (and the maps it routes to). With pCmdUI
    // null it runs the handler of notification nCode (0 for a command); otherwise it runs the
    // enabling rule, or enables the command when there is a handler but no rule. Returns
    // TRUE when an entry was found.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI);

protected:
    using CommandHandler = void (CCmdTarget::*)();
    using UpdateHandler = void (CCmdTarget::*)(CCmdUI*);
    struct CommandEntry {
        UINT nID;
        int nCode;                 // notification code; 0 for commands and clicks
        CommandHandler pfnCommand; // one of the two is set
        UpdateHandler pfnUpdate;
    };
    struct CommandMap {
        const CommandMap* (*pfnGetBaseMap)(); // null for the root
        const CommandEntry* pEntries;         // ends with an entry of id 0 and no handler
    };

    // The map of the object's most derived class.
    virtual const CommandMap* GetCommandMap() const;
    static const CommandMap* GetThisCommandMap();

    // Only this object's own maps, without routing elsewhere.
    BOOL DispatchCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI);
};

// clang-format off
#define DECLARE_COMMAND_MAP()                                                                  \
protected:                                                                                     \
    static const CommandMap* GetThisCommandMap();                                              \
    const CommandMap* GetCommandMap() const override;

#define BEGIN_COMMAND_MAP(theClass, baseClass)                                                 \
    const CCmdTarget::CommandMap* theClass::GetCommandMap() const                             \
    {                                                                                          \
        return GetThisCommandMap();                                                            \
    }                                                                                          \
    const CCmdTarget::CommandMap* theClass::GetThisCommandMap()                               \
    {                                                                                          \
        typedef theClass ThisClass;                                                            \
        typedef baseClass TheBaseClass;                                                        \
        static const CommandEntry entries[] = {

#define ON_CONTROL(code, id, memberFxn)                                                        \
            {(id), (code), static_cast<CommandHandler>(&ThisClass::memberFxn), nullptr},

#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                    \
            {(id), 0, nullptr, static_cast<UpdateHandler>(&ThisClass::memberFxn)},

#define END_COMMAND_MAP()                                                                      \
            {0, 0, nullptr, nullptr}};                                                         \
        static const CommandMap map = {&TheBaseClass::GetThisCommandMap, entries};            \
        return &map;                                                                           \
    }
// clang-format on
