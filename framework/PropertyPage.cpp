#include "PropertyPage.h"
#include "WinApp.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT templateId) : CDialog(templateId)
{
    m_psp.dwSize = sizeof m_psp;
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.hInstance = AfxGetResourceHandle();
    m_psp.pszTemplate = MAKEINTRESOURCEA(templateId);
    m_psp.pfnDlgProc = &CPropertyPage::PageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

void CPropertyPage::SetHelp(bool hasHelp, UINT helpId)
{
    if (hasHelp)
        m_psp.dwFlags |= PSP_HASHELP;
    else
        m_psp.dwFlags &= ~static_cast<DWORD>(PSP_HASHELP);
    m_nIDHelp = helpId;
}

void CPropertyPage::SetModified(BOOL changed)
{
    m_modified = changed != FALSE;
    HWND sheet = ::GetParent(m_hWnd);
    if (!sheet) return;
    ::SendMessageA(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CPropertyPage::OnApply()
{
    m_modified = false;
    return TRUE;
}

void CPropertyPage::OnHelp()
{
    CWinApp* app = AfxGetApp();
    if (!app || app->m_helpFilePath.IsEmpty()) return;
    HWND sheet = ::GetParent(m_hWnd);
    ::WinHelpA(sheet ? sheet : m_hWnd, app->m_helpFilePath.c_str(), HELP_CONTEXT, 0x20000 + m_nIDHelp);
}

bool CPropertyPage::HandleSheetNotify(NMHDR* hdr, LRESULT& result)
{
    switch (hdr->code) {
    case PSN_SETACTIVE:
        result = OnSetActive() ? 0 : -1;
        return true;
    case PSN_KILLACTIVE:
        result = OnKillActive() ? FALSE : TRUE;
        return true;
    case PSN_APPLY:
        result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return true;
    case PSN_RESET:
        OnReset();
        result = 0;
        return true;
    case PSN_HELP:
        OnHelp();
        result = 0;
        return true;
    default:
        return false;
    }
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l)
{
    if (msg == WM_INITDIALOG) {
        auto* psp = reinterpret_cast<PROPSHEETPAGEA*>(l);
        auto* page = reinterpret_cast<CPropertyPage*>(psp->lParam);
        page->Register(hwnd);
    }
    auto* page = static_cast<CPropertyPage*>(FromHandlePermanent(hwnd));
    if (!page) return FALSE;
    if (msg == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(l);
        LRESULT result = 0;
        if (hdr->hwndFrom == ::GetParent(hwnd) && page->HandleSheetNotify(hdr, result)) {
            ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }
    // Pages have no OK or Cancel buttons of their own: those commands belong to the sheet.
    if (msg == WM_COMMAND && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) && l == 0) return FALSE;
    return page->HandleDialogMessage(msg, w, l);
}
