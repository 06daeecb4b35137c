#include "WindowDriver.h"
#include <algorithm>
#include <atomic>
#include <thread>

namespace ui {

std::vector<HWND> TopLevelWindows()
{
    struct Ctx {
        std::vector<HWND> found;
    } ctx;
    EnumWindows(
        [](HWND hwnd, LPARAM l) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd)) reinterpret_cast<Ctx*>(l)->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

std::string Text(HWND hwnd)
{
    char buffer[4096] = "";
    // WM_GETTEXT through SendMessageTimeout so a busy window cannot hang the driver forever.
    DWORD_PTR n = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, 5000, &n);
    return buffer;
}

std::string ClassName(HWND hwnd)
{
    char buffer[256] = "";
    GetClassNameA(hwnd, buffer, sizeof buffer);
    return buffer;
}

// A window's caption without sending it a message: a window whose thread is busy (a modal call
// into the engine) cannot stall the search.
static std::string Caption(HWND hwnd)
{
    WCHAR text[512] = L"";
    int n = InternalGetWindowText(hwnd, text, 512);
    char ansi[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, text, n, ansi, sizeof ansi - 1, nullptr, nullptr);
    return ansi;
}

static HWND FindTopLevel(const std::string& caption, const char* className)
{
    for (HWND h : TopLevelWindows())
        if (Caption(h) == caption && (!className || ClassName(h) == className)) return h;
    return nullptr;
}

HWND WaitForWindow(const std::string& caption, DWORD timeoutMs, const char* className)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND h = FindTopLevel(caption, className)) return h;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(20);
    }
}

bool WaitForWindowGone(const std::string& caption, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (FindTopLevel(caption, nullptr)) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

HWND Control(HWND parent, int id) { return GetDlgItem(parent, id); }

HWND FindDescendant(HWND parent, int id)
{
    struct Ctx {
        int id;
        HWND found;
    } ctx{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM l) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(l);
            if (GetDlgCtrlID(hwnd) == c->id) {
                c->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

bool IsChecked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool IsEnabled(HWND hwnd) { return IsWindowEnabled(hwnd) != FALSE; }

void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void ClickAndWait(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

void TypeText(HWND edit, const std::string& text)
{
    SendMessageA(edit, WM_SETFOCUS, 0, 0);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string MessageBoxText(HWND box)
{
    // The message text is the static control with id 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? Text(text) : std::string();
}

void PressButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

static HWND TabOf(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0)); }

int SheetPageCount(HWND sheet) { return static_cast<int>(SendMessageA(TabOf(sheet), TCM_GETITEMCOUNT, 0, 0)); }

int SheetActiveIndex(HWND sheet) { return static_cast<int>(SendMessageA(TabOf(sheet), TCM_GETCURSEL, 0, 0)); }

std::string SheetTabText(HWND sheet, int index)
{
    char buffer[128] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(TabOf(sheet), TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

int SheetTabImage(HWND sheet, int index)
{
    TCITEMA item{};
    item.mask = TCIF_IMAGE;
    item.iImage = -2;
    SendMessageA(TabOf(sheet), TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

HWND SheetPage(HWND sheet, int index)
{
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_INDEXTOHWND, static_cast<WPARAM>(index), 0));
}

void SelectSheetPage(HWND sheet, int index) { SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0); }

int ListCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

std::string ListText(HWND list, int item, int sub)
{
    char buffer[512] = "";
    LVITEMA it{};
    it.iSubItem = sub;
    it.pszText = buffer;
    it.cchTextMax = sizeof buffer;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
    return buffer;
}

int ListImage(HWND list, int item)
{
    LVITEMA it{};
    it.mask = LVIF_IMAGE;
    it.iItem = item;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    return it.iImage;
}

void RunWithDriver(const std::function<void()>& uiCall, const std::function<void()>& script)
{
    DWORD uiThread = GetCurrentThreadId();
    std::vector<HWND> before = TopLevelWindows();
    std::atomic<bool> finished{false};
    std::thread driver([&] {
        script();
        // Windows the script left open are closed until the UI call returns; windows that were
        // there before the call are the test's own and are left alone.
        while (!finished) {
            for (HWND h : TopLevelWindows()) {
                if (GetWindowThreadProcessId(h, nullptr) != uiThread) continue;
                if (std::find(before.begin(), before.end(), h) != before.end()) continue;
                PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
                PostMessageA(h, WM_CLOSE, 0, 0);
            }
            for (int i = 0; i < 10 && !finished; ++i) Sleep(10);
        }
    });
    uiCall();
    finished = true;
    driver.join();
}

std::string WindowsPath(const std::string& unixPath)
{
    std::string p = "Z:" + unixPath;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

}  // namespace ui
