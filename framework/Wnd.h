// Window wrapper with message dispatch keyed by message number, and by control id for commands
// and notifications. Handlers are registered in the constructor of each window class.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <map>
#include <utility>
#include "Object.h"
#include "String.h"

class CWnd : public CObject {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    // Looks up the wrapper object of a window made by this framework, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Binds an existing window to this object without changing its window procedure.
    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    HWND Detach();
    // Binds a dialog control to this object: a control object that only wraps calls.
    bool BindDlgItem(UINT id, CWnd* parent);

    BOOL DestroyWindow();
    CString GetWindowText() const;
    void SetWindowText(const char* text) const { ::SetWindowTextA(m_hWnd, text); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void EnableWindow(bool enable) const { ::EnableWindow(m_hWnd, enable); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != 0; }
    void ShowWindow(int cmd) const { ::ShowWindow(m_hWnd, cmd); }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != 0; }
    void Invalidate(bool erase = true) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, msg, w, l); }
    BOOL PostMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageA(m_hWnd, msg, w, l); }
    int MessageBox(const char* text, const char* caption, UINT type) const;

protected:
    using Handler = std::function<LRESULT(WPARAM, LPARAM)>;
    using NotifyHandler = std::function<LRESULT(NMHDR*)>;

    // Message map entries. A command handler is keyed by control id and notification code
    // (BN_CLICKED for buttons and menu commands); a notify handler by control id and code.
    void OnMessage(UINT msg, Handler handler) { m_messages[msg] = std::move(handler); }
    void OnCommand(UINT id, std::function<void()> handler, UINT code = BN_CLICKED)
    {
        m_commands[{id, code}] = std::move(handler);
    }
    void OnNotify(UINT id, UINT code, NotifyHandler handler) { m_notifies[{id, code}] = std::move(handler); }

    // Runs the handler for the message; false when the map has none.
    virtual bool Dispatch(UINT msg, WPARAM w, LPARAM l, LRESULT& result);

    // Records this object as the wrapper of hwnd so FromHandlePermanent finds it.
    void Register(HWND hwnd);
    void Unregister();
    // Called after the window has received its last message; the window handle is already gone.
    virtual void PostNcDestroy() {}

    // A handler calls this with false to pass its message on to the default handling.
    static void SetMsgHandled(bool handled);

    WNDPROC m_oldWndProc = nullptr;

public:
    // The window procedure of windows subclassed to this framework.
    static LRESULT CALLBACK FrameworkWndProc(HWND, UINT, WPARAM, LPARAM);
    // Gives hwnd the framework's window procedure, dispatching to this object first.
    bool SubclassWindow(HWND hwnd);

private:
    std::map<UINT, Handler> m_messages;
    std::map<std::pair<UINT, UINT>, std::function<void()>> m_commands;
    std::map<std::pair<UINT, UINT>, NotifyHandler> m_notifies;
};

// The framework's common window procedure (controls bound with SubclassWindow use it).
WNDPROC AfxGetFrameworkWndProc();
