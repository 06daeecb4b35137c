// The page that configures one COM port: its redirect switch and its ordered list of servers.
#pragma once
#include "applet/ComPortPageIds.h"
#include "framework/Framework.h"

class CQuilletPropertySheet;

class CComPortPage : public CPropertyPage {
    DECLARE_DYNAMIC(CComPortPage)
public:
    CComPortPage(int port, CQuilletPropertySheet* sheet);

    int Port() const { return m_port; }

protected:
    BOOL OnInitDialog() override;

private:
    CQuilletPropertySheet* m_pSheet;
    int m_port;
};
