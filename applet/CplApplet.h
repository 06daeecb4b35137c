// The Control Panel applet protocol: the generic applet with its default answers, and the
// process-wide applet instance that the exported CPlApplet dispatches to.
#pragma once
#include <windows.h>
#include <cpl.h>
#include "framework/Object.h"

class CCplApplet : public CObject {
public:
    // Records this applet as the process-wide instance.
    CCplApplet();
    ~CCplApplet() override;

    virtual LONG OnDblClk(HWND cplWindow, UINT appletIndex, LONG_PTR appletData);
    virtual LONG OnExit();
    virtual LONG OnGetCount();
    virtual LONG OnInit();
    virtual LONG OnNewInquire(UINT appletIndex, NEWCPLINFOA* info);
    virtual LONG OnSelect(UINT appletIndex, LONG_PTR appletData);
    virtual LONG OnStop(UINT appletIndex, LONG_PTR appletData);

    static CCplApplet* Instance();

protected:
    // Fills the host's record with the given icon, name, information text and help file.
    static void FillNewCplInfo(NEWCPLINFOA* info, UINT iconId, const char* name, const char* infoText,
                               const char* helpFile);
};

// The dispatch of one host message to the applet instance (the body of the CPlApplet export).
LONG DispatchCplMessage(CCplApplet* applet, HWND cplWindow, UINT msg, LPARAM lParam1, LPARAM lParam2);
