#include "applet/QuilletApp.h"
#include "applet/NetworkProbe.h"
#include "applet/QuilletPropertySheet.h"
#include "config/RegistryInfo.h"
#include "discovery/DeviceList.h"
#include "upgrade/UpgradeCheck.h"
#include "resources/ResourceIds.h"
#include <memory>

enum : UINT {
    IDS_SOCKETS_INIT_FAILED = 101,
    IDS_SHEET_CAPTION = 57344,
    IDS_ENVIRONMENT_CAPTION = 57376,
    IDS_ENVIRONMENT_INVALID = 57377,
    IDS_ZANTU_VARIABLE = 57422,
    IDS_NO_NETWORK = 57427,
};

CQuilletApp* GetQuilletApp() { return static_cast<CQuilletApp*>(AfxGetApp()); }

CQuilletApplet& GetApplet() { return GetQuilletApp()->m_applet; }

BOOL CQuilletApp::InitInstance()
{
    if (!AfxSocketInit()) {
        AfxMessageBox(IDS_SOCKETS_INIT_FAILED);
        return FALSE;
    }
    UINT n = ::GetWindowsDirectoryA(m_helpPath, sizeof m_helpPath);
    static const char helpFile[] = "\\HELP\\FARL_95.HLP";
    if (n == 0 || n + sizeof helpFile > sizeof m_helpPath) {
        ::MessageBoxA(nullptr, "Unable to determine Windows directory", "Fatal Quillet95 Initialization Error!",
                      MB_ICONERROR);
        return FALSE;
    }
    lstrcatA(m_helpPath, helpFile);
    m_helpFilePath = m_helpPath;
    return TRUE;
}

int CQuilletApp::ExitInstance()
{
    AfxSocketTerm();
    return 0;
}

CQuilletApplet::~CQuilletApplet()
{
    if (m_pBrowseDialog) m_pBrowseDialog->DestroyWindow();
    m_pBrowseDialog = nullptr;
}

LONG CQuilletApplet::OnNewInquire(UINT, NEWCPLINFOA* info)
{
    FillNewCplInfo(info, IDI_QUILLET, "Zantu Farline Quillet95", "Configures Zantu Farline for Windows 95",
                   GetQuilletApp()->m_helpPath);
    return 0;
}

LONG CQuilletApplet::OnDblClk(HWND cplWindow, UINT, LONG_PTR)
{
    // 1. The installation directory must be named by ZANTU.
    CString variable = CString::Load(IDS_ZANTU_VARIABLE);
    char probe[2];
    if (::GetEnvironmentVariableA(variable.c_str(), probe, sizeof probe) == 0) {
        ::MessageBoxA(cplWindow, CString::Load(IDS_ENVIRONMENT_INVALID).c_str(),
                      CString::Load(IDS_ENVIRONMENT_CAPTION).c_str(), MB_ICONERROR);
        return 0;
    }
    // 2. TCP/IP or IPX must be there; IPX is only probed when TCP/IP is missing.
    CNetworkProbe network;
    if (!network.IsProtocolAvailable(AF_INET) && !network.IsProtocolAvailable(AF_IPX)) {
        ::MessageBoxA(cplWindow, CString::Load(IDS_NO_NETWORK).c_str(), CString::Load(IDS_ENVIRONMENT_CAPTION).c_str(),
                      MB_ICONERROR);
        return 0;
    }
    // 3. The sheet and its five pages.
    CWnd controlPanel;
    controlPanel.Attach(cplWindow);
    CQuilletPropertySheet sheet(IDS_SHEET_CAPTION, &controlPanel, 0);
    sheet.m_psh.dwFlags |= PSH_HASHELP;
    // 4. The configuration, loaded afresh for this opening.
    std::unique_ptr<CRegistryInfo> config(new CRegistryInfo);
    m_pRegistryInfo = config.get();
    m_pRegistryInfo->LoadAll();
    // 5 and 6. The carry-over of the earlier configuration, or the sheet.
    if (!RunUpgradeCheck(*m_pRegistryInfo)) {
        CWinApp* app = GetQuilletApp();
        app->m_pMainWnd = &sheet;
        sheet.DoModal();
        app->m_pMainWnd = nullptr;
    }
    // 7. Nothing survives the opening: the servers found and their table go first.
    GetDeviceList().RemoveAll();
    m_pRegistryInfo = nullptr;
    config.reset();
    controlPanel.Detach();
    return 0;
}
