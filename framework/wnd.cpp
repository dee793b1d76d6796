#include "framework/wnd.h"

#include "framework/framewnd.h"

#include <vector>

namespace
{
// The window property that links a window to its object.
const wchar_t kObjectProperty[] = L"KorFrameworkWnd";

// The object waiting for the next window this thread makes (see WithCreationHook).
thread_local CWnd* t_pWndInit = nullptr;
} // namespace

CWnd::~CWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    return static_cast<CWnd*>(::GetPropW(hWnd, kObjectProperty));
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    ::SetPropW(hWnd, kObjectProperty, this);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StdWndProc)));
}

void CWnd::Detach()
{
    if (!m_hWnd)
        return;
    if (m_pfnSuper)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    ::RemovePropW(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
}

void CWnd::BeginCreationHook()
{
    t_pWndInit = this;
    m_hCreationHook =
        ::SetWindowsHookExW(WH_CBT, &CWnd::CreationHookProc, nullptr, ::GetCurrentThreadId());
}

void CWnd::EndCreationHook()
{
    if (m_hCreationHook)
        ::UnhookWindowsHookEx(m_hCreationHook);
    m_hCreationHook = nullptr;
    if (t_pWndInit == this)
        t_pWndInit = nullptr;
}

LRESULT CALLBACK CWnd::CreationHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    // The first window made after BeginCreationHook is the object's; the windows its
    // creation makes in turn (children, controls) are not.
    if (nCode == HCBT_CREATEWND && t_pWndInit) {
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->Attach(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT_PTR nIDorHMenu, LPVOID lpParam)
{
    CREATESTRUCTW cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    cs.hMenu = reinterpret_cast<HMENU>(nIDorHMenu);
    cs.hInstance = ::GetModuleHandleW(nullptr);
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;

    HWND hWnd = WithCreationHook([&] {
        return ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName,
                                 static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                                 cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    });
    if (!hWnd)
        return FALSE;
    m_bCreated = true;
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    Attach(hWnd);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    return pParent ? SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID))) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    HWND hWnd = m_hWnd;
    Detach();
    m_pfnSuper = nullptr;
    return hWnd;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    return FALSE;
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);

    CurrentMessage saved = pWnd->m_current;
    pWnd->m_current = {message, wParam, lParam};
    LRESULT result = pWnd->WindowProc(message, wParam, lParam);
    pWnd->m_current = saved;

    if (message == WM_NCDESTROY) {
        pWnd->Detach();
        pWnd->PostNcDestroy(); // may delete the object
    }
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<LPCREATESTRUCTW>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
            return 0;
        break;
    case WM_DRAWITEM: {
        // Owner-drawn controls draw themselves: the item goes back to the control's object.
        auto* pDis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        CWnd* pChild = pDis ? FromHandlePermanent(pDis->hwndItem) : nullptr;
        LRESULT result = 0;
        if (pChild && pChild != this && pChild->OnChildNotify(message, wParam, lParam, &result))
            return result;
        break;
    }
    default:
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return FALSE;
}

void CWnd::PostNcDestroy() {}

int CWnd::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    return static_cast<int>(Default());
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnClose()
{
    Default();
}

void CWnd::OnTimer(UINT_PTR nIDEvent)
{
    Default();
}

void CWnd::OnSize(UINT nType, int cx, int cy)
{
    Default();
}

std::wstring CWnd::GetWindowText() const
{
    int length = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    int got = ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
    return std::wstring(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

void CWnd::MoveWindow(const RECT& rect, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 bRepaint);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (HWND hWnd = m_hWnd; hWnd; hWnd = ::GetParent(hWnd)) {
        if (auto* pFrame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(hWnd)))
            return pFrame;
    }
    return nullptr;
}
