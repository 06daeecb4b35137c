// Hardware type codes and their display names, from two sections of ZANTU.INI.
#pragma once
#include "framework/String.h"

class CTypeTables {
public:
    // Appends the lines of "Farline:HardwareTypes" and "Farline:Lookups"; a missing file,
    // section or ZANTU variable leaves the arrays as they are.
    void Load();
    // The display name of a code ("ORDnn" codes by number, others by lookup), or empty.
    CString CodeToName(const char* code) const;
    // The code of a display name, at most 8 characters, or empty.
    CString NameToCode(const char* name) const;

    // Adds the lines of one section, each ended by a null, the section ended by an empty line.
    void AddHardwareTypeLines(const char* lines);
    void AddLookupLines(const char* lines);

    CStringArray m_lookupCodes;
    CStringArray m_lookupNames;
    CStringArray m_hardwareTypeNames;
    CUIntArray m_hardwareTypeNumbers;
};

// A number as stored in the tables: one leading "0" is skipped, then a C decimal conversion.
UINT TableNumber(const char* text);
