#include "PropertySheet.h"
#include "WinApp.h"

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

// The sheet being created on this thread; PropertySheetA's callback carries no user data.
static thread_local CPropertySheet* t_sheetInCreation = nullptr;

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parent, UINT selectPage) : m_pParentWnd(parent)
{
    m_strCaption.LoadString(captionId);
    m_psh.dwSize = sizeof m_psh;
    m_psh.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    m_psh.nStartPage = selectPage;
    m_psh.pfnCallback = &CPropertySheet::SheetCallback;

    // The sheet forwards the framework's command-help message to the active page.
    OnMessage(WM_COMMANDHELP, [this](WPARAM, LPARAM) -> LRESULT {
        if (CPropertyPage* page = GetActivePage()) page->OnHelp();
        return TRUE;
    });
    OnCommand(ID_HELP_COMMAND, [this] { SendMessage(WM_COMMANDHELP); });
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd) return static_cast<int>(m_psh.nStartPage);
    HWND tab = GetTabControl();
    return tab ? static_cast<int>(::SendMessageA(tab, TCM_GETCURSEL, 0, 0)) : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    int index = GetActiveIndex();
    return index >= 0 && index < GetPageCount() ? GetPage(index) : nullptr;
}

BOOL CPropertySheet::SetActivePage(int index)
{
    if (!m_hWnd) {
        m_psh.nStartPage = static_cast<UINT>(index);
        return TRUE;
    }
    return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(index), 0));
}

HWND CPropertySheet::GetTabControl() const
{
    return reinterpret_cast<HWND>(::SendMessageA(m_hWnd, PSM_GETTABCONTROL, 0, 0));
}

int CALLBACK CPropertySheet::SheetCallback(HWND hwnd, UINT msg, LPARAM)
{
    if (msg == PSCB_INITIALIZED && t_sheetInCreation) {
        CPropertySheet* sheet = t_sheetInCreation;
        t_sheetInCreation = nullptr;
        sheet->SubclassWindow(hwnd);
        sheet->OnInitDialog();
    }
    return 0;
}

INT_PTR CPropertySheet::DoModal()
{
    m_pageHeaders.clear();
    for (CPropertyPage* page : m_pages) m_pageHeaders.push_back(page->m_psp);
    m_psh.hwndParent = AfxGetOwnerWindow(m_pParentWnd);
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.pszCaption = m_strCaption.c_str();
    m_psh.nPages = static_cast<UINT>(m_pageHeaders.size());
    m_psh.ppsp = m_pageHeaders.data();
    t_sheetInCreation = this;
    INT_PTR result = ::PropertySheetA(&m_psh);
    t_sheetInCreation = nullptr;
    return result;
}
