#include "discovery/SearchProgressDialog.h"
#include "discovery/DiscoveryStrings.h"
#include "discovery/SearchProgressDialogIds.h"
#include "discovery/TransportOption.h"

CSearchProgressDialog::CSearchProgressDialog() : CDialog(IDD_SEARCH_PROGRESS) {}

BOOL CSearchProgressDialog::Create(HWND parent)
{
    m_parentWnd.Attach(parent);
    BOOL created = CDialog::Create(IDD_SEARCH_PROGRESS, parent ? &m_parentWnd : nullptr);
    m_parentWnd.Detach();
    return created;
}

BOOL CSearchProgressDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_lowerText.BindDlgItem(IDC_SEARCH_LOWER_TEXT, this);
    m_progress.BindDlgItem(IDC_SEARCH_PROGRESS, this);
    m_upperText.BindDlgItem(IDC_SEARCH_UPPER_TEXT, this);
    CenterOnParent();
    CString text;
    text.Format(IDS_SEARCHING_FOR, IsIpxTransportOption() ? "IPX" : "TCP/IP");
    SetUpperText(text.c_str());
    return TRUE;
}

void CSearchProgressDialog::CenterOnParent()
{
    RECT self, area;
    ::GetWindowRect(m_hWnd, &self);
    HWND parent = ::GetWindow(m_hWnd, GW_OWNER);
    if (parent && ::IsWindowVisible(parent) && !::IsIconic(parent)) {
        ::GetWindowRect(parent, &area);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    int width = self.right - self.left, height = self.bottom - self.top;
    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
