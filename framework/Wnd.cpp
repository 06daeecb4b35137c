#include "Wnd.h"

IMPLEMENT_DYNAMIC(CWnd, CObject)

static std::map<HWND, CWnd*>& HandleMap()
{
    static std::map<HWND, CWnd*> map;
    return map;
}

CWnd::~CWnd()
{
    Unregister();
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    auto it = HandleMap().find(hwnd);
    return it == HandleMap().end() ? nullptr : it->second;
}

void CWnd::Register(HWND hwnd)
{
    m_hWnd = hwnd;
    HandleMap()[hwnd] = this;
}

void CWnd::Unregister()
{
    if (!m_hWnd) return;
    auto it = HandleMap().find(m_hWnd);
    if (it != HandleMap().end() && it->second == this) HandleMap().erase(it);
}

HWND CWnd::Detach()
{
    Unregister();
    HWND h = m_hWnd;
    m_hWnd = nullptr;
    return h;
}

bool CWnd::BindDlgItem(UINT id, CWnd* parent)
{
    m_hWnd = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
    return m_hWnd != nullptr;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

CString CWnd::GetWindowText() const
{
    int n = ::GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    int got = ::GetWindowTextA(m_hWnd, &text[0], n + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return CString(std::move(text));
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) const
{
    return ::MessageBoxA(m_hWnd, text, caption, type);
}

// The handled flag of the message being dispatched on this thread; handlers may clear it.
static thread_local bool* t_handled = nullptr;

void CWnd::SetMsgHandled(bool handled)
{
    if (t_handled) *t_handled = handled;
}

// Runs one handler with its own handled flag, so nested dispatches (a message box, a sent
// message) do not disturb it and nothing of the object is touched after the handler returns.
template <typename F>
static bool RunHandler(F&& f)
{
    bool handled = true;
    bool* outer = t_handled;
    t_handled = &handled;
    f();
    t_handled = outer;
    return handled;
}

bool CWnd::Dispatch(UINT msg, WPARAM w, LPARAM l, LRESULT& result)
{
    if (msg == WM_COMMAND) {
        auto it = m_commands.find({LOWORD(w), HIWORD(w)});
        if (it != m_commands.end()) {
            auto& handler = it->second;
            result = 0;
            if (RunHandler([&] { handler(); })) return true;
        }
    } else if (msg == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(l);
        auto it = m_notifies.find({static_cast<UINT>(hdr->idFrom), hdr->code});
        if (it != m_notifies.end()) {
            auto& handler = it->second;
            if (RunHandler([&] { result = handler(hdr); })) return true;
        }
    }
    auto it = m_messages.find(msg);
    if (it == m_messages.end()) return false;
    auto& handler = it->second;
    return RunHandler([&] { result = handler(w, l); });
}

LRESULT CALLBACK CWnd::FrameworkWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l)
{
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (!wnd) return ::DefWindowProcA(hwnd, msg, w, l);
    LRESULT result = 0;
    if (msg != WM_NCDESTROY && wnd->Dispatch(msg, w, l, result)) return result;
    WNDPROC old = wnd->m_oldWndProc;
    result = old ? ::CallWindowProcA(old, hwnd, msg, w, l) : ::DefWindowProcA(hwnd, msg, w, l);
    if (msg == WM_NCDESTROY) {
        wnd->Unregister();
        wnd->m_hWnd = nullptr;
        wnd->m_oldWndProc = nullptr;
        wnd->PostNcDestroy();
    }
    return result;
}

bool CWnd::SubclassWindow(HWND hwnd)
{
    if (!hwnd) return false;
    Register(hwnd);
    m_oldWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::FrameworkWndProc)));
    return true;
}

WNDPROC AfxGetFrameworkWndProc() { return &CWnd::FrameworkWndProc; }
