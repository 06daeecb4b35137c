// Text with printf-style formatting and string-table loading, over std::string (ANSI code page).
#pragma once
#include <windows.h>
#include <cstdarg>
#include <string>
#include <vector>

class CString : public std::string {
public:
    CString() = default;
    CString(const char* s) : std::string(s ? s : "") {}
    CString(const std::string& s) : std::string(s) {}
    CString(std::string&& s) : std::string(std::move(s)) {}
    CString(const char* s, size_t n) : std::string(s, n) {}

    int GetLength() const { return static_cast<int>(size()); }
    bool IsEmpty() const { return empty(); }
    void Empty() { clear(); }

    // printf-style formatting; replaces the contents.
    void Format(const char* fmt, ...);
    void FormatV(const char* fmt, va_list args);
    // Formats with a string-table entry as the pattern.
    void Format(UINT formatId, ...);

    // Loads a string-table entry from the resource module; false (and empty) when it is missing.
    bool LoadString(UINT id);
    static CString Load(UINT id);

    CString& Trim();  // white space at both ends
    CString Left(int n) const { return substr(0, n < 0 ? 0 : static_cast<size_t>(n)); }
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    // Comparisons of the system's own: exact (multibyte-aware) and ignoring case.
    int Compare(const char* s) const;
    int CompareNoCase(const char* s) const;
};

// Makes a formatted text in one call.
CString FormatText(const char* fmt, ...);

using CStringArray = std::vector<CString>;
using CUIntArray = std::vector<UINT>;
