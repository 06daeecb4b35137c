#include "DataExchange.h"
#include "WinApp.h"
#include <cerrno>
#include <cstdlib>

CString AfxFormatString2(UINT id, const char* s1, const char* s2)
{
    CString pattern = CString::Load(id), out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
            const char* arg = pattern[i + 1] == '1' ? s1 : s2;
            out += arg ? arg : "";
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

void CDataExchange::Fail(UINT controlId, const CString& text)
{
    AfxMessageBox(m_pDlgWnd->m_hWnd, text.c_str(), MB_ICONEXCLAMATION);
    HWND control = m_pDlgWnd->GetDlgItem(static_cast<int>(controlId));
    if (control) {
        ::SetFocus(control);
        ::SendMessageA(control, EM_SETSEL, 0, -1);
    }
    m_failed = true;
}

void DDX_Control(CDataExchange* dx, UINT id, CWnd& control)
{
    if (!control.m_hWnd) control.BindDlgItem(id, dx->m_pDlgWnd);
}

void DDX_Text(CDataExchange* dx, UINT id, UINT& value)
{
    if (dx->m_failed) return;
    dx->m_lastControl = id;
    HWND control = dx->m_pDlgWnd->GetDlgItem(static_cast<int>(id));
    if (!dx->m_bSaveAndValidate) {
        ::SetWindowTextA(control, FormatText("%u", value).c_str());
        return;
    }
    char text[64] = "";
    ::GetWindowTextA(control, text, sizeof text);
    CString s(text);
    s.Trim();
    // An unsigned decimal number and nothing else.
    bool ok = !s.IsEmpty() && s.find_first_not_of("0123456789") == CString::npos;
    unsigned long long n = 0;
    if (ok) {
        errno = 0;
        n = std::strtoull(s.c_str(), nullptr, 10);
        ok = errno == 0 && n <= 0xFFFFFFFFull;
    }
    if (!ok) {
        dx->Fail(id, CString::Load(AFX_IDP_PARSE_UINT));
        return;
    }
    value = static_cast<UINT>(n);
}

void DDX_Text(CDataExchange* dx, UINT id, CString& value)
{
    if (dx->m_failed) return;
    dx->m_lastControl = id;
    CWnd control;
    control.Attach(dx->m_pDlgWnd->GetDlgItem(static_cast<int>(id)));
    if (dx->m_bSaveAndValidate)
        value = control.GetWindowText();
    else
        control.SetWindowText(value.c_str());
    control.Detach();
}

void DDX_Check(CDataExchange* dx, UINT id, int& value)
{
    if (dx->m_failed) return;
    dx->m_lastControl = id;
    HWND control = dx->m_pDlgWnd->GetDlgItem(static_cast<int>(id));
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue)
{
    if (dx->m_failed || !dx->m_bSaveAndValidate) return;
    if (value < minValue || value > maxValue)
        dx->Fail(dx->m_lastControl, AfxFormatString2(AFX_IDP_PARSE_INT_RANGE, FormatText("%u", minValue).c_str(),
                                                     FormatText("%u", maxValue).c_str()));
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars)
{
    if (dx->m_failed) return;
    HWND control = dx->m_pDlgWnd->GetDlgItem(static_cast<int>(dx->m_lastControl));
    if (!dx->m_bSaveAndValidate) {
        ::SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        return;
    }
    if (value.GetLength() > maxChars)
        dx->Fail(dx->m_lastControl, AfxFormatString2(AFX_IDP_PARSE_STRING_SIZE, FormatText("%d", maxChars).c_str()));
}
