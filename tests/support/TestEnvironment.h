// What a test sets up around the applet: the registry tree, the ZANTU directory and ZANTU.INI.
#pragma once
#include <windows.h>
#include <string>

namespace testenv {

inline const char* AppletKey() { return "Control Panel\\Zantu Quillet95"; }

// Removes the applet's whole registry tree (HKEY_CURRENT_USER).
inline void ResetAppletKey() { RegDeleteTreeA(HKEY_CURRENT_USER, AppletKey()); }

inline bool KeyExists(const std::string& subkey)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

inline void SetRaw(const std::string& subkey, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

inline void SetDword(const std::string& subkey, const char* name, DWORD value)
{
    SetRaw(subkey, name, REG_DWORD, &value, sizeof value);
}

inline void SetString(const std::string& subkey, const char* name, const std::string& value)
{
    SetRaw(subkey, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

// Reads a value; false when absent. type and data receive what is stored.
inline bool GetRaw(const std::string& subkey, const char* name, DWORD& type, std::string& data)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char buffer[4096];
    DWORD size = sizeof buffer;
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return false;
    data.assign(buffer, size);
    return true;
}

inline DWORD GetDword(const std::string& subkey, const char* name, DWORD fallback = 0xDEADBEEF)
{
    DWORD type = 0;
    std::string data;
    if (!GetRaw(subkey, name, type, data) || type != REG_DWORD || data.size() != 4) return fallback;
    DWORD v;
    memcpy(&v, data.data(), 4);
    return v;
}

inline std::string GetString(const std::string& subkey, const char* name, const std::string& fallback = "<absent>")
{
    DWORD type = 0;
    std::string data;
    if (!GetRaw(subkey, name, type, data) || type != REG_SZ) return fallback;
    return std::string(data.c_str());
}

inline std::string Comm() { return std::string(AppletKey()) + "\\COMM"; }
inline std::string Zfarline() { return std::string(AppletKey()) + "\\ZFARLINE"; }
inline std::string Servers() { return std::string(AppletKey()) + "\\SERVERS"; }

// A fresh installation directory under the build tree, named by ZANTU; returns its Windows path.
inline std::string MakeZantuDirectory(const std::string& name, const std::string& iniText = "")
{
    std::string dir = std::string("Z:") + BUILD_DIR + "/test-zantu/" + name;
    for (char& c : dir)
        if (c == '/') c = '\\';
    // Create each level.
    for (size_t i = 3; i <= dir.size(); ++i)
        if (i == dir.size() || dir[i] == '\\') CreateDirectoryA(dir.substr(0, i).c_str(), nullptr);
    std::string ini = dir + "\\ZANTU.INI";
    DeleteFileA(ini.c_str());
    if (!iniText.empty()) {
        HANDLE f = CreateFileA(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written;
        WriteFile(f, iniText.data(), static_cast<DWORD>(iniText.size()), &written, nullptr);
        CloseHandle(f);
    }
    SetEnvironmentVariableA("ZANTU", dir.c_str());
    return dir;
}

}  // namespace testenv
