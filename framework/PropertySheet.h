// A modal property sheet over PropertySheetA. The sheet window is subclassed as soon as it
// exists, so the sheet's own message map sees its commands (OK, Apply) before the default handling.
#pragma once
#include <vector>
#include "PropertyPage.h"

enum : UINT {
    ID_APPLY_NOW = 0x3021,     // the sheet's Apply button
    ID_HELP_COMMAND = 0xE146,  // the Help command (57670)
    WM_COMMANDHELP = 0x0365,   // asks the active page to open its help topic
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0);

    void AddPage(CPropertyPage* page) { m_pages.push_back(page); }
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const { return m_pages.at(static_cast<size_t>(index)); }
    int GetActiveIndex() const;
    CPropertyPage* GetActivePage() const;
    BOOL SetActivePage(int index);
    HWND GetTabControl() const;

    // Runs the sheet modally; the result is PropertySheetA's (-1 when it could not be shown).
    virtual INT_PTR DoModal();

    PROPSHEETHEADERA m_psh{};
    CString m_strCaption;
    CWnd* m_pParentWnd;

protected:
    // Runs once the sheet window and its first page exist.
    virtual BOOL OnInitDialog() { return TRUE; }

private:
    static int CALLBACK SheetCallback(HWND hwnd, UINT msg, LPARAM l);
    std::vector<CPropertyPage*> m_pages;
    std::vector<PROPSHEETPAGEA> m_pageHeaders;
};
