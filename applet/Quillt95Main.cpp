// The entry points of QUILLT95.CPL: the library's start-up and the Control Panel export.
#include "applet/QuilletApp.h"

static CQuilletApp theApp;

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        AfxSetResourceHandle(module);
        theApp.m_hInstance = module;
        ::DisableThreadLibraryCalls(module);
        return theApp.InitInstance();
    }
    if (reason == DLL_PROCESS_DETACH) theApp.ExitInstance();
    return TRUE;
}

extern "C" __declspec(dllexport) LONG APIENTRY CPlApplet(HWND cplWindow, UINT msg, LPARAM lParam1, LPARAM lParam2)
{
    return DispatchCplMessage(CCplApplet::Instance(), cplWindow, msg, lParam1, lParam2);
}
