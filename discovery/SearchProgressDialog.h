// The modeless window that a network search shows while it asks the engine and checks the
// entries found. The user cannot close it; the search destroys it, and it deletes itself then.
#pragma once
#include "framework/Framework.h"

class CSearchProgressDialog : public CDialog {
public:
    // Always allocated on the heap: destroying the window deletes the object.
    CSearchProgressDialog();

    // Creates the window (visible) with the given parent; null makes the application's main
    // window its owner. False when it could not be created; the object is then still the caller's.
    BOOL Create(HWND parent);

    void SetLowerText(const char* text) const { m_lowerText.SetWindowText(text); }
    void SetUpperText(const char* text) const { m_upperText.SetWindowText(text); }
    void SetRange(int lower, int upper) const { m_progress.SetRange32(lower, upper); }
    void SetPos(int pos) const { m_progress.SetPos(pos); }

    CStatic m_lowerText;       // 1036
    CProgressCtrl m_progress;  // 1064
    CStatic m_upperText;       // 1035

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override {}  // Escape does not close it
    void PostNcDestroy() override { delete this; }

private:
    void CenterOnParent();

    CWnd m_parentWnd;          // wraps the parent handle for the framework's Create
};
