// ZANTU.INI in the installation directory named by the ZANTU environment variable.
#pragma once
#include "framework/String.h"

// The path of ZANTU.INI, or empty when ZANTU is unset or empty.
CString ZantuIniPath();
// The installation directory from ZANTU, or empty.
CString ZantuDirectory();

class CIniFile {
public:
    CIniFile() : m_path(ZantuIniPath()) {}
    // At most 254 characters; "" without reading when there is no path.
    CString GetString(const char* section, const char* key, const char* def) const;
    // Does nothing when there is no path.
    bool WriteString(const char* section, const char* key, const char* text) const;
    const CString& Path() const { return m_path; }

private:
    CString m_path;
};
