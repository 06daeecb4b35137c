#include "applet/TokenArray.h"

CTokenArray::CTokenArray(const char* text, char delimiter, int limit)
{
    if (!text || !*text) return;
    const CString copy(text);
    size_t pos = 0;
    int taken = 0;
    for (;;) {
        size_t end = copy.find(delimiter, pos);
        push_back(copy.substr(pos, end == CString::npos ? CString::npos : end - pos));
        ++taken;
        if (end == CString::npos) return;
        pos = end + 1;
        if (limit > 0 && taken >= limit) {
            push_back(copy.substr(pos));
            return;
        }
    }
}

CString CTokenArray::GetToken(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= size()) return CString();
    return (*this)[static_cast<size_t>(index)];
}
