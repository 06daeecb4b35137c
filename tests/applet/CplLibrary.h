// Loads the built QUILLT95.CPL as the Control Panel host does and calls its CPlApplet export.
#pragma once
#include <windows.h>
#include <cpl.h>
#include <string>
#include "WindowDriver.h"

class CplLibrary {
public:
    CplLibrary()
    {
        module = LoadLibraryA(ui::WindowsPath(std::string(DIST_DIR) + "/QUILLT95.CPL").c_str());
        if (module) proc = reinterpret_cast<APPLET_PROC>(GetProcAddress(module, "CPlApplet"));
    }
    ~CplLibrary()
    {
        if (module) FreeLibrary(module);
    }
    LONG operator()(HWND hwnd, UINT msg, LPARAM a = 0, LPARAM b = 0) const { return proc(hwnd, msg, a, b); }

    HMODULE module = nullptr;
    APPLET_PROC proc = nullptr;
};
