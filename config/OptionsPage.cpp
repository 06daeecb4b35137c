#include "config/OptionsPage.h"

IMPLEMENT_DYNAMIC(COptionsPage, CPropertyPage)

COptionsPage::COptionsPage(CQuilletPropertySheet* sheet) : CPropertyPage(IDD_OPTIONS_PAGE), m_pSheet(sheet)
{
    SetHelp(true, IDD_OPTIONS_PAGE);
}
