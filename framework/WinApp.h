// The application object: one per module, with a start-up step, a help file and a main window.
#pragma once
#include <windows.h>
#include "Object.h"
#include "String.h"

class CWnd;

class CWinApp : public CObject {
public:
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    // Start-up, run when the module is loaded; false makes the load fail.
    virtual BOOL InitInstance() { return TRUE; }
    // Shut-down, run when the module is unloaded.
    virtual int ExitInstance() { return 0; }

    const char* m_pszAppName = nullptr;
    CString m_helpFilePath;       // the help file every help call of the module opens
    CWnd* m_pMainWnd = nullptr;   // the window the module currently runs, or null
    HINSTANCE m_hInstance = nullptr;
};

CWinApp* AfxGetApp();
// The module whose resources (dialogs, strings, bitmaps) the framework loads.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);

// Starts Windows Sockets 1.1 for the module; false when it cannot.
bool AfxSocketInit();
void AfxSocketTerm();

// A message box with the system's own call; owner may be null.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);
// Message boxes captioned with the application's name (the module's name when it has none).
int AfxMessageBox(HWND owner, const char* text, UINT type = MB_OK);
int AfxMessageBox(UINT textId, UINT type = MB_OK);
