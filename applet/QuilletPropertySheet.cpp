#include "applet/QuilletPropertySheet.h"
#include "applet/ComPortPage.h"
#include "applet/QuilletApp.h"
#include "config/OptionsPage.h"
#include "config/RegistryInfo.h"
#include "config/WindowPos.h"
#include "resources/ResourceIds.h"

IMPLEMENT_DYNCREATE(CQuilletPropertySheet, CPropertySheet)

CQuilletPropertySheet::CQuilletPropertySheet() : CPropertySheet(0) { Construct(); }

CQuilletPropertySheet::CQuilletPropertySheet(UINT captionId, CWnd* parent, UINT selectPage)
    : CPropertySheet(captionId, parent, selectPage)
{
    Construct();
}

void CQuilletPropertySheet::Construct()
{
    for (int port = 1; port <= 4; ++port) {
        m_pComPages[port - 1] = new CComPortPage(port, this);
        AddPage(m_pComPages[port - 1]);
    }
    m_pOptionsPage = new COptionsPage(this);
    AddPage(m_pOptionsPage);

    // OK and Apply first save the configuration and reconfigure the driver; when that fails the
    // command is dropped, so the sheet stays open with Apply enabled (the user was told why).
    auto apply = [this] {
        CRegistryInfo* config = GetApplet().m_pRegistryInfo;
        if (!config || config->ApplyConfiguration(this)) SetMsgHandled(false);
    };
    OnCommand(IDOK, apply);
    OnCommand(ID_APPLY_NOW, apply);

    // Minimised, the sheet shows its icon centred in the client area.
    OnMessage(WM_PAINT, [this](WPARAM, LPARAM) -> LRESULT {
        if (!::IsIconic(m_hWnd)) {
            SetMsgHandled(false);
            return 0;
        }
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        int cx = ::GetSystemMetrics(SM_CXICON), cy = ::GetSystemMetrics(SM_CYICON);
        ::DrawIcon(dc, (rc.right - cx + 1) / 2, (rc.bottom - cy + 1) / 2, m_hIcon);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    });
    OnMessage(WM_QUERYDRAGICON, [this](WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon); });
    // Closing the sheet remembers where it was and closes the help viewer.
    OnMessage(WM_DESTROY, [this](WPARAM, LPARAM) -> LRESULT {
        CWindowPos::SaveWindowPos(m_hWnd, "Quillet95Position");
        CWinApp* app = AfxGetApp();
        if (app && !app->m_helpFilePath.IsEmpty()) ::WinHelpA(m_hWnd, app->m_helpFilePath.c_str(), HELP_QUIT, 0);
        SetMsgHandled(false);
        return 0;
    });
}

CQuilletPropertySheet::~CQuilletPropertySheet()
{
    for (CComPortPage* page : m_pComPages) delete page;
    delete m_pOptionsPage;
}

void CQuilletPropertySheet::SetPortTabImage(int port, int state)
{
    HWND tab = GetTabControl();
    if (!tab || port < 1 || port > 4) return;
    TCITEMA item{};
    item.mask = TCIF_IMAGE;
    item.iImage = state == 1 ? 1 : 0;
    ::SendMessageA(tab, TCM_SETITEMA, static_cast<WPARAM>(port - 1), reinterpret_cast<LPARAM>(&item));
}

BOOL CQuilletPropertySheet::OnInitDialog()
{
    BOOL result = CPropertySheet::OnInitDialog();
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongA(m_hWnd, GWL_EXSTYLE) | WS_EX_CONTEXTHELP);

    m_hIcon = AfxLoadIcon(IDI_QUILLET);
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    HWND tab = GetTabControl();
    m_tabImages.Create(IDB_TABS, 16, 8, RGB(255, 0, 0));
    ::SendMessageA(tab, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_tabImages.GetSafeHandle()));

    COptions& options = GetApplet().m_pRegistryInfo->options;
    for (int i = 0; i < 4; ++i) {
        DWORD* redirect;
        CString* list;
        options.GetPortConfig(i + 1, redirect, list);
        CString text = FormatText("COM%d", i + 1);
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = &text[0];
        item.iImage = *redirect ? 1 : 0;
        ::SendMessageA(tab, TCM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    TCITEMA options_item{};
    char optionsText[] = "Options";
    options_item.mask = TCIF_TEXT;
    options_item.pszText = optionsText;
    ::SendMessageA(tab, TCM_SETITEMA, 4, reinterpret_cast<LPARAM>(&options_item));

    // The sheet reopens where the user left it; it keeps the size it was created with.
    CWindowPos::RestoreWindowPos(m_hWnd, "Quillet95Position", false);

    // Every page window exists from here on; then the first redirected port (else Options) shows.
    for (int i = 0; i < GetPageCount(); ++i) SetActivePage(i);
    int first = 4;
    for (int port = 1; port <= 4 && first == 4; ++port) {
        DWORD* redirect;
        CString* list;
        options.GetPortConfig(port, redirect, list);
        if (*redirect) first = port - 1;
    }
    SetActivePage(first);
    return result;
}
