#include "WinApp.h"
#include <winsock.h>
#include "Wnd.h"

static CWinApp* s_app = nullptr;
static HINSTANCE s_resourceModule = nullptr;
static bool s_socketsStarted = false;

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName) { s_app = this; }

CWinApp::~CWinApp()
{
    if (s_app == this) s_app = nullptr;
}

CWinApp* AfxGetApp() { return s_app; }

HINSTANCE AfxGetResourceHandle()
{
    return s_resourceModule ? s_resourceModule : ::GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE module) { s_resourceModule = module; }

bool AfxSocketInit()
{
    if (s_socketsStarted) return true;
    WSADATA data;
    if (::WSAStartup(MAKEWORD(1, 1), &data) != 0) return false;
    s_socketsStarted = true;
    return true;
}

void AfxSocketTerm()
{
    if (s_socketsStarted) ::WSACleanup();
    s_socketsStarted = false;
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    return ::MessageBoxA(owner, text, caption, type);
}

int AfxMessageBox(UINT textId, UINT type)
{
    CWinApp* app = AfxGetApp();
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    return AfxMessageBox(owner, CString::Load(textId).c_str(), type);
}

int AfxMessageBox(HWND owner, const char* text, UINT type)
{
    CWinApp* app = AfxGetApp();
    CString caption;
    if (app && app->m_pszAppName) {
        caption = app->m_pszAppName;
    } else {
        // Without an application name the module's file name, less path and extension, is the caption.
        char path[MAX_PATH] = "";
        ::GetModuleFileNameA(AfxGetResourceHandle(), path, MAX_PATH);
        caption = path;
        size_t slash = caption.find_last_of("\\/");
        if (slash != CString::npos) caption = caption.Mid(static_cast<int>(slash + 1));
        size_t dot = caption.find_last_of('.');
        if (dot != CString::npos) caption = caption.Left(static_cast<int>(dot));
    }
    return ShowMessageBox(owner, text, caption.c_str(), type);
}
