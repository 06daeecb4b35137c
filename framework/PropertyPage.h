// A property page on a dialog template, driven by the property sheet's notifications.
#pragma once
#include "Dialog.h"
#include <prsht.h>

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT templateId);

    // Enables or disables the sheet's Apply button for this page.
    void SetModified(BOOL changed = TRUE);
    bool IsModified() const { return m_modified; }

    // The page's help: the has-help flag shows the sheet's Help button; the id picks the topic.
    void SetHelp(bool hasHelp, UINT helpId);
    UINT m_nIDHelp = 0;
    PROPSHEETPAGEA m_psp{};

    virtual BOOL OnSetActive() { return TRUE; }
    virtual BOOL OnKillActive() { return UpdateData(TRUE); }
    virtual BOOL OnApply();
    virtual void OnReset() {}
    // Opens the page's help topic: 0x20000 plus its help id.
    virtual void OnHelp();

protected:
    static INT_PTR CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM);
    // Answers the sheet's PSN_ notifications; false for other messages.
    bool HandleSheetNotify(NMHDR* hdr, LRESULT& result);

private:
    bool m_modified = false;
};
