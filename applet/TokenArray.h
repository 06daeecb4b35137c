// A text split at one delimiter character, optionally into a limited number of tokens.
#pragma once
#include "framework/String.h"

class CTokenArray : public CStringArray {
public:
    // With limit > 0, after that many tokens the rest of the text (delimiters included) is one
    // last token; with limit <= 0 the whole text is split.
    CTokenArray(const char* text, char delimiter, int limit = 0);
    // A copy of token i, or empty when there is none.
    CString GetToken(int index) const;
};
