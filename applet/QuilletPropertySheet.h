// The applet's one window: a page for each of COM1 to COM4 and the Options page.
#pragma once
#include <memory>
#include "framework/Framework.h"

class CComPortPage;
class COptionsPage;

class CQuilletPropertySheet : public CPropertySheet {
    DECLARE_DYNCREATE(CQuilletPropertySheet)
public:
    CQuilletPropertySheet(UINT captionId, CWnd* parent, UINT selectPage);
    ~CQuilletPropertySheet() override;

    // Image 1 on tab port-1 when state is exactly 1, else image 0.
    void SetPortTabImage(int port, int state);

    CComPortPage* m_pComPages[4] = {};
    COptionsPage* m_pOptionsPage = nullptr;

protected:
    BOOL OnInitDialog() override;

private:
    CQuilletPropertySheet();  // for dynamic creation only
    void Construct();

    HICON m_hIcon = nullptr;
    CImageList m_tabImages;
};
