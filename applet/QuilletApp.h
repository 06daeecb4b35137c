// The application object of QUILLT95 and the applet it answers the Control Panel with.
#pragma once
#include "applet/CplApplet.h"
#include "framework/Framework.h"

class CRegistryInfo;
class CDialog;

class CQuilletApplet : public CCplApplet {
public:
    ~CQuilletApplet() override;
    LONG OnDblClk(HWND cplWindow, UINT appletIndex, LONG_PTR appletData) override;
    LONG OnNewInquire(UINT appletIndex, NEWCPLINFOA* info) override;

    CRegistryInfo* m_pRegistryInfo = nullptr;  // the configuration of the running opening
    CDialog* m_pBrowseDialog = nullptr;        // the open Browse dialog, or null
};

class CQuilletApp : public CWinApp {
public:
    CQuilletApp() : CWinApp(nullptr) {}
    // Starts Windows Sockets 1.1 and fixes the help file path; false makes the load fail.
    BOOL InitInstance() override;
    int ExitInstance() override;

    CQuilletApplet m_applet;
    char m_helpPath[MAX_PATH] = "";
};

// The running application object and its applet.
CQuilletApp* GetQuilletApp();
CQuilletApplet& GetApplet();
