#include "config/TypeTables.h"
#include "applet/TokenArray.h"
#include "config/IniFile.h"
#include <windows.h>
#include <cstdlib>
#include <vector>

UINT TableNumber(const char* text)
{
    if (text[0] == '0') ++text;
    return static_cast<UINT>(std::atoi(text));
}

// Reads a whole section through a 32767-character buffer; empty when the call returns 0.
static std::vector<char> ReadSection(const char* section, const CString& path)
{
    std::vector<char> buffer(32767 + 2, 0);
    DWORD n = ::GetPrivateProfileSectionA(section, buffer.data(), 32767, path.c_str());
    if (n == 0) buffer.assign(2, 0);
    return buffer;
}

void CTypeTables::Load()
{
    CString path = ZantuIniPath();
    if (path.IsEmpty()) return;
    AddHardwareTypeLines(ReadSection("Farline:HardwareTypes", path).data());
    AddLookupLines(ReadSection("Farline:Lookups", path).data());
}

void CTypeTables::AddHardwareTypeLines(const char* lines)
{
    for (const char* line = lines; *line; line += strlen(line) + 1) {
        CTokenArray tokens(line, '=', 1);
        if (tokens.size() != 2 || tokens[0].IsEmpty() || tokens[1].IsEmpty()) continue;
        m_hardwareTypeNames.push_back(tokens[0]);
        m_hardwareTypeNumbers.push_back(TableNumber(tokens[1].c_str()));
    }
}

void CTypeTables::AddLookupLines(const char* lines)
{
    for (const char* line = lines; *line; line += strlen(line) + 1) {
        CTokenArray tokens(line, '=', 1);
        if (tokens.size() != 2 || tokens[1].empty() || tokens[1][0] != '/') continue;
        CTokenArray fields(tokens[1].c_str() + 1, '/');
        if (fields.size() != 5) continue;
        CTokenArray parts(fields[3].c_str(), '=');
        if (parts.size() != 2) continue;
        m_lookupCodes.push_back(parts[1]);
        m_lookupNames.push_back(tokens[0]);
    }
}

CString CTypeTables::CodeToName(const char* code) const
{
    if (strncmp(code, "ORD", 3) == 0) {
        UINT n = TableNumber(code + 3);
        for (size_t i = 0; i < m_hardwareTypeNumbers.size(); ++i)
            if (m_hardwareTypeNumbers[i] == n) return m_hardwareTypeNames[i];
        return CString();
    }
    for (size_t i = 0; i < m_lookupCodes.size(); ++i)
        if (m_lookupCodes[i].CompareNoCase(code) == 0) return m_lookupNames[i];
    return CString();
}

CString CTypeTables::NameToCode(const char* name) const
{
    for (size_t i = 0; i < m_hardwareTypeNames.size(); ++i)
        if (m_hardwareTypeNames[i].CompareNoCase(name) == 0)
            return FormatText("ORD%02d", static_cast<int>(m_hardwareTypeNumbers[i])).Left(8);
    for (size_t i = 0; i < m_lookupNames.size(); ++i)
        if (m_lookupNames[i].CompareNoCase(name) == 0) return m_lookupCodes[i].Left(8);
    return CString();
}
