#include "config/WindowPos.h"
#include <cstdio>
#include "config/RegistryExchange.h"
#include "framework/String.h"

bool CWindowPos::SaveWindowPos(HWND window, const char* valueName)
{
    if (::IsIconic(window) || ::IsZoomed(window)) return true;
    CWindowPos pos;
    ::GetWindowRect(window, &pos);
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, APPLET_KEY) != ERROR_SUCCESS) return false;
    CString text = FormatText("%d:%d:%d:%d", static_cast<int>(pos.top), static_cast<int>(pos.left),
                              static_cast<int>(pos.bottom), static_cast<int>(pos.right));
    return WriteString(key, valueName, text);
}

bool CWindowPos::Parse(const char* text)
{
    int t, l, b, r;
    if (std::sscanf(text, "%d:%d:%d:%d", &t, &l, &b, &r) != 4) return false;
    top = t;
    left = l;
    bottom = b;
    right = r;
    return true;
}

bool CWindowPos::RestoreWindowPos(HWND window, const char* valueName, bool restoreSize)
{
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, APPLET_KEY) != ERROR_SUCCESS) return false;
    // 63 bytes hold any four 32-bit numbers with their colons; a longer text is not ours.
    char text[64] = "";
    DWORD type = 0, size = 63;
    if (::RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    text[size < 63 ? size : 63] = 0;
    CWindowPos pos;
    if (!pos.Parse(text)) return false;
    if (!restoreSize) {
        RECT now;
        ::GetWindowRect(window, &now);
        pos.right = pos.left + (now.right - now.left);
        pos.bottom = pos.top + (now.bottom - now.top);
    }
    ::MoveWindow(window, pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top, TRUE);
    return true;
}
