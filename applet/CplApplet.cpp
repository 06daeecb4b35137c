#include "applet/CplApplet.h"
#include "framework/WinApp.h"

static CCplApplet* s_applet = nullptr;

CCplApplet::CCplApplet() { s_applet = this; }

CCplApplet::~CCplApplet()
{
    if (s_applet == this) s_applet = nullptr;
}

CCplApplet* CCplApplet::Instance() { return s_applet; }

LONG CCplApplet::OnDblClk(HWND, UINT, LONG_PTR) { return 0; }
LONG CCplApplet::OnExit() { return 0; }
LONG CCplApplet::OnGetCount() { return 1; }
LONG CCplApplet::OnInit() { return 1; }
LONG CCplApplet::OnSelect(UINT, LONG_PTR) { return 1; }
LONG CCplApplet::OnStop(UINT, LONG_PTR) { return 1; }

LONG CCplApplet::OnNewInquire(UINT, NEWCPLINFOA* info)
{
    FillNewCplInfo(info, 1, "Applet", "Raw Cpl Applet", "");
    return 0;
}

void CCplApplet::FillNewCplInfo(NEWCPLINFOA* info, UINT iconId, const char* name, const char* infoText,
                                const char* helpFile)
{
    info->dwSize = sizeof(NEWCPLINFOA);
    info->dwFlags = 0;
    info->dwHelpContext = 0;
    info->lData = 0;
    info->hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(iconId));
    lstrcpynA(info->szName, name, sizeof info->szName);
    lstrcpynA(info->szInfo, infoText, sizeof info->szInfo);
    lstrcpynA(info->szHelpFile, helpFile, sizeof info->szHelpFile);
}

LONG DispatchCplMessage(CCplApplet* applet, HWND cplWindow, UINT msg, LPARAM lParam1, LPARAM lParam2)
{
    if (!applet) return 1;
    switch (msg) {
    case CPL_INIT: return applet->OnInit();
    case CPL_GETCOUNT: return applet->OnGetCount();
    case CPL_INQUIRE: return 1;  // the older inquiry is not answered; hosts use CPL_NEWINQUIRE
    case CPL_SELECT: return applet->OnSelect(static_cast<UINT>(lParam1), lParam2);
    case CPL_DBLCLK: return applet->OnDblClk(cplWindow, static_cast<UINT>(lParam1), lParam2);
    case CPL_STOP: return applet->OnStop(static_cast<UINT>(lParam1), lParam2);
    case CPL_EXIT: return applet->OnExit();
    case CPL_NEWINQUIRE:
        return applet->OnNewInquire(static_cast<UINT>(lParam1), reinterpret_cast<NEWCPLINFOA*>(lParam2));
    // Start-with-parameters is not supported: answering "handled" here would make hosts that send
    // it before every opening skip the double-click, so the applet would never open.
    case CPL_STARTWPARMSA:
    case CPL_STARTWPARMSW: return 0;
    default: return 1;
    }
}
