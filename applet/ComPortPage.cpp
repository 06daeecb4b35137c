#include "applet/ComPortPage.h"
#include "applet/QuilletPropertySheet.h"

IMPLEMENT_DYNAMIC(CComPortPage, CPropertyPage)

CComPortPage::CComPortPage(int port, CQuilletPropertySheet* sheet)
    : CPropertyPage(IDD_COM_PORT_PAGE), m_pSheet(sheet), m_port(port)
{
    SetHelp(true, IDD_COM_PORT_PAGE);
}

BOOL CComPortPage::OnInitDialog()
{
    return CPropertyPage::OnInitDialog();
}
