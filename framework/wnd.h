// CWnd: a C++ object attached to one window.
//
// A window made by CreateEx (or a dialog made by the framework) is subclassed from its very
// first message on, so that even WM_NCCREATE and WM_CREATE reach WindowProc. WindowProc
// sends the usual messages to the virtual On... handlers below; a class that needs another
// message overrides WindowProc and calls the base for the rest. What no handler takes goes
// to the window's original procedure (Default, DefWindowProc).
//
// Texts are UTF-16: the resources are, and French texts must survive any code page.
#pragma once

#include "framework/cmdtarget.h"

#include <string>

class CFrameWnd;

class CWnd : public CCmdTarget
{
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    // Destroys the window if it still exists.
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The framework object attached to hWnd, or null (another program's window, a control
    // the framework did not make, a window already destroyed).
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Creates the window and attaches it to this object. PreCreateWindow may change the
    // structure first. nIDorHMenu is the child id of a child window, else a menu handle.
    // Returns FALSE when the window could not be made (or OnCreate returned -1).
    virtual BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName,
                          DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT_PTR nIDorHMenu,
                          LPVOID lpParam = nullptr);
    // Attaches an existing window (a dialog's control, say) and routes its messages here.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    // Gives the window its original procedure back and detaches it; returns the handle.
    HWND UnsubclassWindow();
    virtual BOOL DestroyWindow();

    // Called before the window is made: adjust the structure, return FALSE to stop.
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    // Called by the message loop for a message on its way to this window or its children;
    // TRUE means it was translated and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Every message of the window; the default sends them to the handlers below.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's original procedure.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message being handled, to its original procedure (for the On... defaults).
    LRESULT Default();

    // WM_COMMAND: TRUE when handled. The default runs the command map (menu commands with
    // code 0, control notifications with their code).
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // A child's notification reflected to the child's own object (WM_DRAWITEM for now):
    // TRUE when the child handled it, with the result in *pResult.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // After the last message (WM_NCDESTROY): windows that own themselves delete this.
    virtual void PostNcDestroy();

    // Message handlers; each default does what the original procedure does.
    virtual int OnCreate(LPCREATESTRUCTW lpCreateStruct); // -1 stops the creation
    virtual void OnDestroy();
    virtual void OnClose();
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnSize(UINT nType, int cx, int cy);

    // Plain Win32 on this window.
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    void SetWindowText(LPCWSTR lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
    std::wstring GetWindowText() const;
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void MoveWindow(const RECT& rect, BOOL bRepaint = TRUE);
    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    // The frame window this window sits in (itself for a frame), or null.
    CFrameWnd* GetParentFrame() const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse)
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, nullptr);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

protected:
    // Procedure the messages go to when no handler takes them.
    WNDPROC m_pfnSuper = nullptr;
    // Set once CreateEx has returned with a window: PostNcDestroy of objects that delete
    // themselves does so only then, so a failed creation leaves the object to its caller.
    bool m_bCreated = false;

    // Runs fn with the creation hook set, so that the next window this thread makes is
    // attached to this object from its first message on. Used by CreateEx and dialogs.
    template <class Fn> auto WithCreationHook(Fn fn) -> decltype(fn())
    {
        BeginCreationHook();
        auto result = fn();
        EndCreationHook();
        return result;
    }

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current = {};
    HHOOK m_hCreationHook = nullptr;

    void BeginCreationHook();
    void EndCreationHook();
    void Attach(HWND hWnd);
    void Detach();
    static LRESULT CALLBACK StdWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CreationHookProc(int nCode, WPARAM wParam, LPARAM lParam);
};
