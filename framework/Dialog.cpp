#include "Dialog.h"
#include "DataExchange.h"
#include "WinApp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

HWND AfxGetOwnerWindow(CWnd* parent)
{
    HWND owner = parent ? parent->m_hWnd : nullptr;
    if (!owner) {
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd) owner = app->m_pMainWnd->m_hWnd;
    }
    // Dialogs are owned by top-level windows only.
    while (owner && (::GetWindowLongA(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    return owner;
}

HWND CDialog::OwnerWindow() const { return AfxGetOwnerWindow(m_pParentWnd); }

INT_PTR CDialog::DoModal()
{
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_templateId), OwnerWindow(),
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_templateId = templateId;
    m_pParentWnd = parent;
    HWND hwnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(templateId), OwnerWindow(),
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

BOOL CDialog::UpdateData(BOOL save)
{
    CDataExchange dx(this, save != FALSE);
    DoDataExchange(&dx);
    return !dx.m_failed;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l)
{
    if (msg == WM_INITDIALOG) {
        auto* dlg = reinterpret_cast<CDialog*>(l);
        dlg->Register(hwnd);
    }
    CDialog* dlg = static_cast<CDialog*>(FromHandlePermanent(hwnd));
    if (!dlg) return FALSE;
    return dlg->HandleDialogMessage(msg, w, l);
}

// Messages whose dialog-procedure answer is the result itself rather than DWLP_MSGRESULT.
static bool ReturnsResultDirectly(UINT msg)
{
    return (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) || msg == WM_INITDIALOG ||
           msg == WM_COMPAREITEM || msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM ||
           msg == WM_QUERYDRAGICON;
}

INT_PTR CDialog::HandleDialogMessage(UINT msg, WPARAM w, LPARAM l)
{
    HWND hwnd = m_hWnd;
    LRESULT result = 0;
    if (msg == WM_INITDIALOG) {
        if (Dispatch(msg, w, l, result)) return result;
        return OnInitDialog();
    }
    if (msg == WM_NCDESTROY) {
        Dispatch(msg, w, l, result);
        Unregister();
        m_hWnd = nullptr;
        PostNcDestroy();
        return FALSE;
    }
    if (Dispatch(msg, w, l, result)) {
        if (ReturnsResultDirectly(msg)) return static_cast<INT_PTR>(result);
        ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (msg == WM_COMMAND && HIWORD(w) == BN_CLICKED) {
        if (LOWORD(w) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(w) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
    }
    return FALSE;
}
