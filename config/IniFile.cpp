#include "config/IniFile.h"
#include <windows.h>

CString ZantuDirectory()
{
    char buffer[MAX_PATH];
    DWORD n = ::GetEnvironmentVariableA("ZANTU", buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return CString();
    return CString(buffer, n);
}

CString ZantuIniPath()
{
    CString dir = ZantuDirectory();
    if (dir.IsEmpty()) return dir;
    if (dir.back() != '\\') dir += '\\';
    return dir + "ZANTU.INI";
}

CString CIniFile::GetString(const char* section, const char* key, const char* def) const
{
    if (m_path.IsEmpty()) return CString();
    char buffer[256] = "";
    ::GetPrivateProfileStringA(section, key, def, buffer, 255, m_path.c_str());
    return CString(buffer);
}

bool CIniFile::WriteString(const char* section, const char* key, const char* text) const
{
    if (m_path.IsEmpty()) return false;
    return ::WritePrivateProfileStringA(section, key, text, m_path.c_str()) != FALSE;
}
