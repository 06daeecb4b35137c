// A window's screen rectangle stored as text under the applet key, and moved back to it.
#pragma once
#include <windows.h>

class CWindowPos : public RECT {
public:
    CWindowPos() : RECT{0, 0, 0, 0} {}

    // Stores the rectangle as "top:left:bottom:right"; a minimised or maximised window stores nothing.
    // False only when the key could not be opened or the value not written.
    static bool SaveWindowPos(HWND window, const char* valueName);
    // Moves the window to the stored rectangle, keeping its present size unless restoreSize is set.
    // False (the window stays where it is) when nothing usable is stored.
    static bool RestoreWindowPos(HWND window, const char* valueName, bool restoreSize);

    // Parses the stored text; false unless four numbers were read.
    bool Parse(const char* text);
};
