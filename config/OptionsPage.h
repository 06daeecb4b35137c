// The Options page: user name, narration, modem display, the network type and Advanced options.
#pragma once
#include "config/OptionsPageIds.h"
#include "framework/Framework.h"

class CQuilletPropertySheet;

class COptionsPage : public CPropertyPage {
    DECLARE_DYNAMIC(COptionsPage)
public:
    explicit COptionsPage(CQuilletPropertySheet* sheet);

private:
    CQuilletPropertySheet* m_pSheet;
};
