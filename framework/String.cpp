#include "String.h"
#include "WinApp.h"
#include <mbstring.h>
#include <cstdio>

void CString::FormatV(const char* fmt, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n < 0) {
        clear();
        return;
    }
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(&out[0], out.size(), fmt, args);
    out.resize(static_cast<size_t>(n));
    assign(std::move(out));
}

void CString::Format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
}

void CString::Format(UINT formatId, ...)
{
    CString pattern = Load(formatId);
    va_list args;
    va_start(args, formatId);
    FormatV(pattern.c_str(), args);
    va_end(args);
}

bool CString::LoadString(UINT id)
{
    // String resources are at most 4096 characters here; LoadStringA cuts longer ones.
    char buffer[4096];
    int n = ::LoadStringA(AfxGetResourceHandle(), id, buffer, sizeof buffer);
    assign(buffer, n > 0 ? static_cast<size_t>(n) : 0);
    return n > 0;
}

CString CString::Load(UINT id)
{
    CString s;
    s.LoadString(id);
    return s;
}

CString& CString::Trim()
{
    const char* ws = " \t\r\n\v\f";
    size_t b = find_first_not_of(ws);
    if (b == npos) {
        clear();
        return *this;
    }
    size_t e = find_last_not_of(ws);
    assign(substr(b, e - b + 1));
    return *this;
}

CString CString::Mid(int first) const
{
    if (first < 0) first = 0;
    if (static_cast<size_t>(first) >= size()) return CString();
    return substr(static_cast<size_t>(first));
}

CString CString::Mid(int first, int count) const
{
    if (first < 0) first = 0;
    if (count < 0 || static_cast<size_t>(first) >= size()) return CString();
    return substr(static_cast<size_t>(first), static_cast<size_t>(count));
}

int CString::Compare(const char* s) const
{
    return _mbscmp(reinterpret_cast<const unsigned char*>(c_str()),
                   reinterpret_cast<const unsigned char*>(s ? s : ""));
}

int CString::CompareNoCase(const char* s) const
{
    return _mbsicmp(reinterpret_cast<const unsigned char*>(c_str()),
                    reinterpret_cast<const unsigned char*>(s ? s : ""));
}

CString FormatText(const char* fmt, ...)
{
    CString s;
    va_list args;
    va_start(args, fmt);
    s.FormatV(fmt, args);
    va_end(args);
    return s;
}
