// Modal and modeless dialogs built from dialog templates in the resource module,
// with a small data exchange between member values and controls.
#pragma once
#include "Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Runs the dialog modally; the result passed to EndDialog, or -1 when it could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modelessly; with no parent its owner is the application's main window.
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result) { ::EndDialog(m_hWnd, result); }

    // Moves values between members and controls: save = true reads the controls.
    BOOL UpdateData(BOOL save = TRUE);

    UINT m_templateId;
    CWnd* m_pParentWnd;

protected:
    virtual BOOL OnInitDialog();  // fills the controls from the members; TRUE lets the dialog set the focus
    virtual void OnOK();          // validates and stores the members, then ends with IDOK
    virtual void OnCancel();      // ends with IDCANCEL
    virtual void DoDataExchange(CDataExchange*) {}

    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    // Handles one message of a dialog window; shared with property pages.
    INT_PTR HandleDialogMessage(UINT msg, WPARAM w, LPARAM l);
    HWND OwnerWindow() const;
};

// The top-level window that owns windows created without a parent: the application's main window.
HWND AfxGetOwnerWindow(CWnd* parent);
