// The search progress window on its own: its layout, its first texts and Escape.
#include <gtest/gtest.h>
#include <cstdlib>
#include "DiscoveryTestApp.h"
#include "WindowDriver.h"
#include "discovery/SearchProgressDialog.h"
#include "discovery/SearchProgressDialogIds.h"

namespace {

// Runs the thread's messages through the dialog manager for a while, as a host's loop does.
void Pump(HWND dialog, DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (IsWindow(dialog) && IsDialogMessageA(dialog, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

TEST(SearchProgressDialog, UpperTextNamesTheConfiguredNetwork)
{
    struct Case {
        const char* transport;  // null: no configuration loaded
        const char* text;
    };
    const Case cases[] = {
        {"IPX", "Searching for IPX Zantu devices..."},
        {"TCP/IP", "Searching for TCP/IP Zantu devices..."},
        {"ipx", "Searching for TCP/IP Zantu devices..."},
        {"", "Searching for TCP/IP Zantu devices..."},
        {nullptr, "Searching for TCP/IP Zantu devices..."},
    };
    for (const Case& c : cases) {
        std::unique_ptr<ConfigScope> config(c.transport ? new ConfigScope(c.transport) : nullptr);
        auto* dialog = new CSearchProgressDialog;
        ASSERT_TRUE(dialog->Create(nullptr));
        HWND h = dialog->m_hWnd;
        EXPECT_EQ(ui::Text(GetDlgItem(h, IDC_SEARCH_UPPER_TEXT)), c.text) << (c.transport ? c.transport : "none");
        EXPECT_EQ(ui::Text(GetDlgItem(h, IDC_SEARCH_LOWER_TEXT)), "Please wait...");
        DestroyWindow(h);
        EXPECT_FALSE(IsWindow(h));
    }
}

TEST(SearchProgressDialog, SmallDisabledWindowWithoutCaptionCentredOnItsParent)
{
    ConfigScope config("TCP/IP");
    HWND parent = CreateWindowExA(0, "STATIC", "Parent", WS_POPUP | WS_VISIBLE, 40, 30, 700, 500, nullptr, nullptr,
                                  nullptr, nullptr);
    CWnd parentWnd;
    parentWnd.Attach(parent);
    for (HWND p : {parent, static_cast<HWND>(nullptr)}) {
        auto* dialog = new CSearchProgressDialog;
        ASSERT_TRUE(dialog->Create(p));
        HWND h = dialog->m_hWnd;
        LONG style = GetWindowLongA(h, GWL_STYLE);
        EXPECT_TRUE(IsWindowVisible(h));
        EXPECT_FALSE(IsWindowEnabled(h));
        EXPECT_NE(style & WS_POPUP, 0);
        EXPECT_NE((style & WS_CAPTION), WS_CAPTION);
        EXPECT_NE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
        EXPECT_EQ(GetWindow(h, GW_OWNER), p);

        RECT client, units = {0, 0, 171, 36};
        GetClientRect(h, &client);
        MapDialogRect(h, &units);
        EXPECT_EQ(client.right, units.right);
        EXPECT_EQ(client.bottom, units.bottom);

        HWND bar = GetDlgItem(h, IDC_SEARCH_PROGRESS);
        EXPECT_EQ(ui::ClassName(bar), PROGRESS_CLASSA);
        EXPECT_FALSE(IsWindowEnabled(bar));
        HWND icon = GetDlgItem(h, -1);
        ASSERT_NE(icon, nullptr);
        EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0);

        RECT self, area;
        GetWindowRect(h, &self);
        if (p)
            GetWindowRect(p, &area);
        else
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        POINT a = Centre(self), b = Centre(area);
        EXPECT_LE(std::abs(a.x - b.x), 1) << (p ? "parent" : "screen");
        EXPECT_LE(std::abs(a.y - b.y), 1) << (p ? "parent" : "screen");
        DestroyWindow(h);
    }
    parentWnd.Detach();
    DestroyWindow(parent);
}

TEST(SearchProgressDialog, EscapeAndCloseLeaveItOpen)
{
    ConfigScope config("IPX");
    auto* dialog = new CSearchProgressDialog;
    ASSERT_TRUE(dialog->Create(nullptr));
    HWND h = dialog->m_hWnd;
    // The keys a user presses, as they arrive in the thread's queue, and the commands they become.
    PostMessageA(h, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(h, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(h, WM_CLOSE, 0, 0);
    Pump(h, 200);
    EXPECT_TRUE(IsWindow(h));
    EXPECT_TRUE(IsWindowVisible(h));
    DestroyWindow(h);
}

}  // namespace
