// Data exchange between a dialog's member values and its controls, with the validation
// messages 61714, 61716 and 61719 of the framework's string table.
#pragma once
#include "Dialog.h"

enum : UINT {
    AFX_IDP_PARSE_INT_RANGE = 61714,   // "Please enter an integer between %1 and %2."
    AFX_IDP_PARSE_STRING_SIZE = 61716, // "Please enter no more than %1 characters."
    AFX_IDP_PARSE_UINT = 61719,        // "Please enter a positive integer."
};

class CDataExchange {
public:
    CDataExchange(CDialog* dlg, bool save) : m_pDlgWnd(dlg), m_bSaveAndValidate(save) {}
    // Shows a validation message owned by the dialog, gives the control the focus and stops the exchange.
    void Fail(UINT controlId, const CString& text);

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;
    bool m_failed = false;
    UINT m_lastControl = 0;
};

// Replaces %1 and %2 in a string-table entry.
CString AfxFormatString2(UINT id, const char* s1, const char* s2 = nullptr);

void DDX_Control(CDataExchange* dx, UINT id, CWnd& control);
void DDX_Text(CDataExchange* dx, UINT id, UINT& value);
void DDX_Text(CDataExchange* dx, UINT id, CString& value);
void DDX_Check(CDataExchange* dx, UINT id, int& value);
void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue);
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);
