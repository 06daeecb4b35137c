// The full search: the device list it leaves, the messages it shows, the progress window it
// drives, and the list's clean-up at the end of an opening.
#include <gtest/gtest.h>
#include <atomic>
#include <thread>
#include "DiscoveryTestApp.h"
#include "Standin.h"
#include "TestEnvironment.h"
#include "discovery/DeviceList.h"
#include "discovery/DiscoveryLibrary.h"
#include "discovery/SearchProgressDialogIds.h"

namespace {

using standin::EntryLine;
using standin::InfoLine;
using standin::IpEntry;
using standin::IpxEntry;
using standin::Standin;
using Lines = std::vector<std::string>;

const char kPrefix[] = "Unable to load QXLNK32.DLL.\n\n";
const char kCorrupt[] = "HLPFindDevices() returned a corrupt device table.";
const char kFindCall[] = "HLPFindVersionDevices %d 1 * * ptr 65313 count=0 null 3 null version=0400000000";

struct Box {
    std::string text;
    HWND owner;
    UINT icon;
};

struct Outcome {
    BOOL result = -1;
    std::vector<Box> boxes;
};

// The kind of icon a message box shows: MB_ICONERROR, MB_ICONWARNING..., 0 for none.
UINT IconKind(HWND box)
{
    HICON shown = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ui::ClassName(child) == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            shown = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    if (!shown) return 0;
    const struct {
        LPCSTR id;
        UINT kind;
    } kinds[] = {{IDI_HAND, MB_ICONERROR}, {IDI_EXCLAMATION, MB_ICONWARNING}, {IDI_ASTERISK, MB_ICONINFORMATION},
                 {IDI_QUESTION, MB_ICONQUESTION}};
    for (const auto& k : kinds)
        if (shown == LoadIconA(nullptr, k.id)) return k.kind;
    return ~0u;
}

// The search's message box, found without sending any message: the thread that owns the other
// windows is busy searching.
HWND FindBox()
{
    for (HWND h : ui::TopLevelWindows()) {
        WCHAR text[64] = L"";
        InternalGetWindowText(h, text, 64);
        // Every message of the search has this caption.
        if (ui::ClassName(h) == "#32770" && wcscmp(text, L"Device Discovery Failed") == 0) return h;
    }
    return nullptr;
}

// Runs a search on this thread while a second thread answers its messages with OK.
// during, when given, runs on the second thread first (for held engine calls).
Outcome Search(CWnd* owner, BOOL withProgress, const std::function<void()>& during = nullptr)
{
    Outcome o;
    std::atomic<bool> done{false};
    // A driver of its own rather than ui::RunWithDriver: that one closes every window of this
    // thread when it ends, the test's owner windows included.
    std::thread driver([&] {
        if (during) during();
        while (!done) {
            HWND box = FindBox();
            if (!box) {
                Sleep(10);
                continue;
            }
            UINT icon = IconKind(box);
            o.boxes.push_back({ui::MessageBoxText(box), GetWindow(box, GW_OWNER), icon});
            ui::PressButton(box, IDOK);
            while (IsWindow(box)) Sleep(10);
        }
    });
    o.result = GetDeviceList().Discover(owner, withProgress);
    done = true;
    driver.join();
    return o;
}

Lines Names(const CDeviceList& list)
{
    Lines names;
    for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.GetAt(i)->GetName());
    return names;
}

std::string FindCall(int transport)
{
    char line[200];
    snprintf(line, sizeof line, kFindCall, transport);
    return line;
}

class Discover : public ::testing::Test {
protected:
    void TearDown() override { GetDeviceList().RemoveAll(); }
};

TEST_F(Discover, LibraryThatCannotBeOpenedIsReportedWithTheLoadPrefix)
{
    struct Case {
        const char* variant;
        const char* script;
        const char* transport;
        std::string text;
    };
    const Case cases[] = {
        {"none", "", "TCP/IP", "Unknown Error (126)"},
        {"none", "", "IPX", "Unknown Error (126)"},
        {"full", "refuse_load\n", "TCP/IP", "Unknown Error (1114)"},
        {"no-HLPFindDevices", "", "IPX", "Unknown Error (127)"},
        {"full", "init -5\n", "TCP/IP",
         "A required networking file (NWIPXSPX.DLL or WINSOCK.DLL)\ncould not be found. Verify that IPX/SPX or "
         "TCP/IP networking\nis working properly, then try again. If this problem continues,\ncontact your network "
         "administrator"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.variant) + " " + c.script + c.transport);
        Standin s(c.variant);
        s.Script(c.script);
        ConfigScope config(c.transport);
        Outcome o = Search(nullptr, TRUE);
        EXPECT_FALSE(o.result);
        ASSERT_EQ(o.boxes.size(), 1u);
        EXPECT_EQ(o.boxes[0].text, kPrefix + c.text);
        EXPECT_EQ(o.boxes[0].owner, nullptr);
        EXPECT_EQ(o.boxes[0].icon, static_cast<UINT>(MB_ICONERROR));
        EXPECT_TRUE(GetDeviceList().IsEmpty());
        EXPECT_FALSE(Standin::Loaded());
        EXPECT_TRUE(s.Calls("HLPCloseStack").empty());
    }
}

TEST_F(Discover, EngineFailuresShowTheirTextAloneAndKeepNothing)
{
    Standin s;
    ConfigScope config("TCP/IP");
    for (int code : {-2, -3, -5, -7, -8, -10, -50, -51, -52, -53, -54, -55, -56, -57, -58, -80, -81, -131, -4, -1, 1}) {
        SCOPED_TRACE(code);
        // Entries written beside a failure are not used.
        s.Script("find " + std::to_string(code) + "\n" + EntryLine(IpEntry("A", 10, 0, 0, 1)));
        s.ClearLog();
        Outcome o = Search(nullptr, FALSE);
        EXPECT_FALSE(o.result);
        ASSERT_EQ(o.boxes.size(), 1u);
        EXPECT_EQ(o.boxes[0].text, DiscoveryErrorText(code));
        EXPECT_EQ(o.boxes[0].text.find(kPrefix), std::string::npos);
        EXPECT_TRUE(GetDeviceList().IsEmpty());
        EXPECT_EQ(GetDeviceList().m_pTable, nullptr);
        EXPECT_EQ(GetDeviceList().m_nCapacity, 0);
        EXPECT_EQ(s.Log(), (Lines{"load", "HLPInitStack 2", FindCall(2), "HLPCloseStack 2", "unload"}));
    }
}

TEST_F(Discover, ListsEachServerOnceInTableOrderAndOnTheDiscoveryPort)
{
    Standin s;
    ConfigScope config("TCP/IP", 1);
    HLP_DEVICE_ENTRY a = IpEntry("Alpha", 10, 0, 0, 1, 0x0BAD);
    HLP_DEVICE_ENTRY b = IpEntry("Bravo", 10, 0, 0, 2, 0);
    HLP_DEVICE_ENTRY aOtherPort = IpEntry("Alpha", 10, 0, 0, 1, 77);
    HLP_DEVICE_ENTRY aOtherCase = IpEntry("ALPHA", 10, 0, 0, 1, 1549, "FARLINE 8000", "fl8k");
    HLP_DEVICE_ENTRY c = IpEntry("Alpha", 10, 0, 0, 3);
    for (int code : {0, -9}) {
        SCOPED_TRACE(code);
        s.Script("find " + std::to_string(code) + "\n" + EntryLine(a) + EntryLine(b) + EntryLine(aOtherPort) +
                 EntryLine(aOtherCase) + EntryLine(c));
        s.ClearLog();
        Outcome o = Search(nullptr, FALSE);
        EXPECT_TRUE(o.result);
        EXPECT_TRUE(o.boxes.empty());
        CDeviceList& list = GetDeviceList();
        EXPECT_EQ(Names(list), (Lines{"Alpha", "Bravo", "Alpha"}));
        ASSERT_NE(list.m_pTable, nullptr);
        EXPECT_EQ(list.m_nCapacity, 531);
        EXPECT_EQ(list.m_nTableCount, 5);
        EXPECT_EQ(list.GetAt(0)->m_pEntry, &list.m_pTable[0]);
        EXPECT_EQ(list.GetAt(1)->m_pEntry, &list.m_pTable[1]);
        EXPECT_EQ(list.GetAt(2)->m_pEntry, &list.m_pTable[4]);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(EntryWord(list.m_pTable[i], HLP_OFS_IP_PORT), 1549) << i;
        // Over TCP/IP, usable-only asks no server anything.
        EXPECT_EQ(s.Log(), (Lines{"load", "HLPInitStack 2", FindCall(2), "HLPCloseStack 2", "unload"}));
    }
}

TEST_F(Discover, SecondSearchStartsFromAnEmptyList)
{
    Standin s;
    ConfigScope config("TCP/IP");
    s.Script(EntryLine(IpEntry("Alpha", 10, 0, 0, 1)) + EntryLine(IpEntry("Bravo", 10, 0, 0, 2)) + "name Group\n");
    ASSERT_TRUE(Search(nullptr, FALSE).result);
    ASSERT_EQ(GetDeviceList().GetAt(0)->RefreshPortGroups(), 0);
    ASSERT_EQ(GetDeviceList().GetAt(0)->m_pPorts->GetCount(), 1);

    s.Script(EntryLine(IpEntry("Charlie", 10, 0, 0, 3)));
    ASSERT_TRUE(Search(nullptr, FALSE).result);
    EXPECT_EQ(Names(GetDeviceList()), (Lines{"Charlie"}));
    EXPECT_EQ(GetDeviceList().GetAt(0)->m_pPorts->GetCount(), 0);

    // A failing search leaves nothing of the last one.
    s.Script("find -52\n");
    EXPECT_FALSE(Search(nullptr, FALSE).result);
    EXPECT_TRUE(GetDeviceList().IsEmpty());
    EXPECT_EQ(GetDeviceList().m_pTable, nullptr);

    // So does a search without a usable Transport setting, silently and without the library.
    for (const char* transport : {"", "ipx", "TCP/IP ", "SPX"}) {
        s.Script(EntryLine(IpEntry("Delta", 10, 0, 0, 4)));
        ASSERT_TRUE(Search(nullptr, FALSE).result);
        ConfigScope other(transport);
        s.ClearLog();
        Outcome o = Search(nullptr, TRUE);
        EXPECT_FALSE(o.result) << transport;
        EXPECT_TRUE(o.boxes.empty()) << transport;
        EXPECT_TRUE(GetDeviceList().IsEmpty()) << transport;
        EXPECT_TRUE(s.Log().empty()) << transport;
    }
}

TEST_F(Discover, UsableOnlyOverIpxAsksEachNewServerAndKeepsVersion402AndLater)
{
    Standin s;
    HLP_DEVICE_ENTRY v401 = IpxEntry("V401", 1), v402 = IpxEntry("V402", 2), v410 = IpxEntry("V410", 3);
    HLP_DEVICE_ENTRY silent = IpxEntry("Silent", 4), barred = IpxEntry("Barred", 5);
    std::string script = EntryLine(v401) + EntryLine(v402) + EntryLine(v410) + EntryLine(silent) + EntryLine(barred) +
                         EntryLine(v402) + InfoLine(v401, 0, 4, 0, 1) + InfoLine(v402, 0, 4, 0, 2) +
                         InfoLine(v410, 0, 4, 1, 0) + InfoLine(barred, 0, 5, 0, 0, 0);
    s.Script(script);
    {
        ConfigScope config("IPX", 1);
        Outcome o = Search(nullptr, FALSE);
        EXPECT_TRUE(o.result);
        EXPECT_TRUE(o.boxes.empty());
        EXPECT_EQ(Names(GetDeviceList()), (Lines{"V402", "V410"}));
        // The duplicate of V402 is not asked again.
        Lines asked;
        for (const HLP_DEVICE_ENTRY* e : {&v401, &v402, &v410, &silent, &barred})
            asked.push_back("HLPGetServerInfo addr=" + standin::IpxAddressHex(*e) + " 5 null");
        EXPECT_EQ(s.Calls("HLPGetServerInfo"), asked);
        EXPECT_EQ(s.Calls("HLPFindVersionDevices"), (Lines{FindCall(200)}));
        // IPX entries keep the socket the engine gave them.
        EXPECT_EQ(EntryWord(GetDeviceList().m_pTable[0], HLP_OFS_IPX_SOCKET), 0x4545);
    }
    s.ClearLog();
    {
        ConfigScope config("IPX", 0);
        EXPECT_TRUE(Search(nullptr, FALSE).result);
        EXPECT_EQ(Names(GetDeviceList()), (Lines{"V401", "V402", "V410", "Silent", "Barred"}));
        EXPECT_TRUE(s.Calls("HLPGetServerInfo").empty());
    }
}

TEST_F(Discover, EntryOfTheOtherTransportStopsTheSearchKeepingWhatCameBefore)
{
    Standin s;
    struct Case {
        const char* transport;
        HLP_DEVICE_ENTRY first, second, wrong, after;
    };
    const Case cases[] = {
        {"TCP/IP", IpEntry("A", 10, 0, 0, 1), IpEntry("B", 10, 0, 0, 2), IpxEntry("X", 1), IpEntry("C", 10, 0, 0, 3)},
        {"IPX", IpxEntry("A", 1), IpxEntry("B", 2), IpEntry("X", 10, 0, 0, 1), IpxEntry("C", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.transport);
        ConfigScope config(c.transport);
        s.Script(EntryLine(c.first) + EntryLine(c.second) + EntryLine(c.wrong) + EntryLine(c.after));
        s.ClearLog();
        Outcome o = Search(nullptr, TRUE);
        EXPECT_FALSE(o.result);
        ASSERT_EQ(o.boxes.size(), 1u);
        EXPECT_EQ(o.boxes[0].text, kCorrupt);
        EXPECT_EQ(Names(GetDeviceList()), (Lines{"A", "B"}));
        EXPECT_NE(GetDeviceList().m_pTable, nullptr);
        EXPECT_EQ(GetDeviceList().m_nCapacity, 531);
        EXPECT_EQ(GetDeviceList().m_nTableCount, 4);
        EXPECT_EQ(s.Calls("HLPCloseStack").size(), 1u);
        EXPECT_FALSE(Standin::Loaded());
    }
}

TEST_F(Discover, CountBeyondTheTableIsBelievedOnlyUpToItsEnd)
{
    Standin s;
    ConfigScope config("TCP/IP");
    s.Script("find 0 600\ngenerate 531\n");
    EXPECT_TRUE(Search(nullptr, FALSE).result);
    CDeviceList& list = GetDeviceList();
    EXPECT_EQ(list.GetCount(), 531);
    EXPECT_EQ(list.m_nTableCount, 531);
    EXPECT_EQ(list.GetAt(530)->GetName(), "GEN530");
    EXPECT_EQ(list.TakeFreeSlot(), nullptr);
}

TEST_F(Discover, FreeSlotsFollowTheEntriesOfTheLastSearch)
{
    Standin s;
    ConfigScope config("TCP/IP");
    CDeviceList& list = GetDeviceList();
    EXPECT_EQ(list.TakeFreeSlot(), nullptr);
    s.Script("generate 529\n");
    ASSERT_TRUE(Search(nullptr, FALSE).result);
    EXPECT_EQ(list.TakeFreeSlot(), &list.m_pTable[529]);
    EXPECT_EQ(list.TakeFreeSlot(), &list.m_pTable[530]);
    EXPECT_EQ(list.TakeFreeSlot(), nullptr);
    EXPECT_EQ(list.m_nTableCount, 531);
    list.RemoveAll();
    EXPECT_EQ(list.TakeFreeSlot(), nullptr);
}

// What the search did to its progress window, as seen in the messages the window's controls got.
class ProgressRecorder {
public:
    ProgressRecorder()
    {
        s_events = &events;
        m_hook = SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId());
    }
    ~ProgressRecorder()
    {
        UnhookWindowsHookEx(m_hook);
        s_events = nullptr;
    }
    Lines events;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l)
    {
        auto* m = reinterpret_cast<CWPSTRUCT*>(l);
        if (code == HC_ACTION && s_events) {
            int id = GetDlgCtrlID(m->hwnd);
            bool inProgress = (GetWindowLongA(m->hwnd, GWL_STYLE) & WS_CHILD) &&
                              GetDlgItem(GetParent(m->hwnd), IDC_SEARCH_PROGRESS) != nullptr;
            if (inProgress && m->message == WM_SETTEXT)
                s_events->push_back((id == IDC_SEARCH_UPPER_TEXT ? "upper: " : id == IDC_SEARCH_LOWER_TEXT ? "lower: " : "?: ") +
                                    std::string(reinterpret_cast<const char*>(m->lParam)));
            if (inProgress && m->message == PBM_SETRANGE32)
                s_events->push_back("range " + std::to_string(m->wParam) + ".." + std::to_string(m->lParam));
            if (inProgress && m->message == PBM_SETPOS) s_events->push_back("pos " + std::to_string(m->wParam));
            if (m->message == WM_DESTROY && GetDlgItem(m->hwnd, IDC_SEARCH_PROGRESS)) s_events->push_back("destroyed");
        }
        return CallNextHookEx(nullptr, code, w, l);
    }
    static Lines* s_events;
    HHOOK m_hook;
};
Lines* ProgressRecorder::s_events = nullptr;

TEST_F(Discover, ProgressWindowTextsFollowTheSteps)
{
    Standin s;
    HLP_DEVICE_ENTRY a = IpxEntry("A", 1), b = IpxEntry("B", 2), c = IpxEntry("C", 3);
    const Lines start = {"upper: Searching for IPX Zantu devices...", "lower: Please wait...", "lower: "};
    struct Case {
        const char* what;
        const char* transport;
        std::string script;
        BOOL withProgress;
        Lines after;
    };
    const Case cases[] = {
        {"three entries", "IPX", EntryLine(a) + EntryLine(b) + EntryLine(c), TRUE,
         {"range 0..3", "pos 0", "upper: Validating Zantu devices found", "pos 0", "pos 1", "pos 2", "destroyed"}},
        {"no entries", "IPX", "", TRUE, {"range 0..0", "pos 0", "upper: Validating Zantu devices found", "destroyed"}},
        {"engine failure", "IPX", "find -7\n", TRUE, {"destroyed"}},
        {"corrupt table", "IPX", EntryLine(a) + EntryLine(IpEntry("X", 1, 2, 3, 4)), TRUE,
         {"range 0..2", "pos 0", "upper: Validating Zantu devices found", "pos 0", "pos 1", "destroyed"}},
        {"without progress", "IPX", EntryLine(a), FALSE, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        ConfigScope config(k.transport);
        s.Script(k.script);
        ProgressRecorder recorder;
        Search(nullptr, k.withProgress);
        Lines expected;
        if (k.withProgress) expected = start;
        expected.insert(expected.end(), k.after.begin(), k.after.end());
        EXPECT_EQ(recorder.events, expected);
    }
    // Over TCP/IP the window names that network.
    ConfigScope config("TCP/IP");
    s.Script("find -7\n");
    ProgressRecorder recorder;
    Search(nullptr, TRUE);
    ASSERT_FALSE(recorder.events.empty());
    EXPECT_EQ(recorder.events[0], "upper: Searching for TCP/IP Zantu devices...");
}

// The search's progress window while it exists: the top-level window holding the progress bar.
HWND ProgressWindow()
{
    for (HWND h : ui::TopLevelWindows())
        if (GetDlgItem(h, IDC_SEARCH_PROGRESS)) return h;
    return nullptr;
}

TEST_F(Discover, ProgressWindowStaysThroughEscapeUntilTheSearchEnds)
{
    Standin s;
    ConfigScope config("IPX", 1);
    HLP_DEVICE_ENTRY a = IpxEntry("A", 1), b = IpxEntry("B", 2), c = IpxEntry("C", 3);
    s.Script(EntryLine(a) + EntryLine(b) + EntryLine(c) + InfoLine(a, 0, 4, 1, 0) + InfoLine(b, 0, 4, 1, 0) +
             InfoLine(c, 0, 4, 1, 0) + "hold HLPFindVersionDevices 1\nhold HLPGetServerInfo 2\n");
    HWND seen = nullptr;
    struct Seen {
        bool visible = false, enabled = true, caption = true, popup = false;
        std::string upper, lower;
        std::string upperLater, lowerLater;
        LRESULT low = -1, high = -1, pos = -1;
        bool survivedEscape = false, survivedClose = false;
    } v;
    Outcome o = Search(nullptr, TRUE, [&] {
        ASSERT_TRUE(s.WaitHeld());
        seen = ProgressWindow();
        ASSERT_NE(seen, nullptr);
        LONG style = GetWindowLongA(seen, GWL_STYLE);
        v.visible = IsWindowVisible(seen) != FALSE;
        v.enabled = IsWindowEnabled(seen) != FALSE;
        v.caption = (style & WS_CAPTION) == WS_CAPTION;
        v.popup = (style & WS_POPUP) != 0;
        v.upper = ui::Text(GetDlgItem(seen, IDC_SEARCH_UPPER_TEXT));
        v.lower = ui::Text(GetDlgItem(seen, IDC_SEARCH_LOWER_TEXT));
        // Escape reaches a dialog as the Cancel command; closing it is asked with WM_CLOSE.
        DWORD_PTR r;
        SendMessageTimeoutA(seen, WM_COMMAND, IDCANCEL, 0, SMTO_NORMAL, 5000, &r);
        v.survivedEscape = IsWindow(seen) && IsWindowVisible(seen);
        SendMessageTimeoutA(seen, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, &r);
        v.survivedClose = IsWindow(seen) && IsWindowVisible(seen);
        s.Release();

        ASSERT_TRUE(s.WaitHeld());
        v.upperLater = ui::Text(GetDlgItem(seen, IDC_SEARCH_UPPER_TEXT));
        v.lowerLater = ui::Text(GetDlgItem(seen, IDC_SEARCH_LOWER_TEXT));
        HWND bar = GetDlgItem(seen, IDC_SEARCH_PROGRESS);
        PBRANGE range{};
        SendMessageTimeoutA(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range), SMTO_NORMAL, 5000, &r);
        v.low = range.iLow;
        v.high = range.iHigh;
        SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 5000, &r);
        v.pos = static_cast<LRESULT>(r);
        s.Release();
    });
    EXPECT_TRUE(o.result);
    EXPECT_TRUE(o.boxes.empty());
    EXPECT_TRUE(v.visible);
    EXPECT_FALSE(v.enabled);
    EXPECT_FALSE(v.caption);
    EXPECT_TRUE(v.popup);
    EXPECT_EQ(v.upper, "Searching for IPX Zantu devices...");
    EXPECT_EQ(v.lower, "Please wait...");
    EXPECT_TRUE(v.survivedEscape);
    EXPECT_TRUE(v.survivedClose);
    EXPECT_EQ(v.upperLater, "Validating Zantu devices found");
    EXPECT_EQ(v.lowerLater, "");
    EXPECT_EQ(v.low, 0);
    EXPECT_EQ(v.high, 3);
    EXPECT_EQ(v.pos, 1);
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_EQ(Names(GetDeviceList()), (Lines{"A", "B", "C"}));
}

// A plain top-level window for a search to be owned by.
class OwnerWindow {
public:
    explicit OwnerWindow(bool visible, HWND owner = nullptr)
    {
        m_hWnd = CreateWindowExA(0, "STATIC", "Search owner", WS_POPUP | (visible ? WS_VISIBLE : 0), 10, 10, 300, 200,
                                 owner, nullptr, nullptr, nullptr);
        wnd.Attach(m_hWnd);
    }
    ~OwnerWindow()
    {
        wnd.Detach();
        DestroyWindow(m_hWnd);
    }
    CWnd wnd;
    HWND m_hWnd;
};

TEST_F(Discover, MessagesBelongToTheOwnerAndTheProgressWindowToTheFirstVisibleTopLevel)
{
    Standin s;
    ConfigScope config("TCP/IP");
    s.Script("find -55\nhold HLPFindVersionDevices 1\n");
    OwnerWindow top(true);
    OwnerWindow hidden(false, top.m_hWnd);
    struct Case {
        const char* what;
        CWnd* owner;
        HWND progressOwner;
        HWND boxOwner;
    };
    const Case cases[] = {
        {"visible owner", &top.wnd, top.m_hWnd, top.m_hWnd},
        {"hidden owner", &hidden.wnd, top.m_hWnd, hidden.m_hWnd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND progressOwner = reinterpret_cast<HWND>(-1);
        Outcome o = Search(c.owner, TRUE, [&] {
            ASSERT_TRUE(s.WaitHeld());
            progressOwner = GetWindow(ProgressWindow(), GW_OWNER);
            s.Release();
        });
        EXPECT_EQ(progressOwner, c.progressOwner);
        ASSERT_EQ(o.boxes.size(), 1u);
        EXPECT_EQ(o.boxes[0].owner, c.boxOwner);
    }
}

TEST_F(Discover, EndOfAnOpeningEmptiesTheListAndFreesItsTable)
{
    Standin s;
    {
        ConfigScope config("TCP/IP");
        s.Script(EntryLine(IpEntry("Alpha", 10, 0, 0, 1)) + EntryLine(IpEntry("Bravo", 10, 0, 0, 2)));
        ASSERT_TRUE(Search(nullptr, FALSE).result);
        ASSERT_EQ(GetDeviceList().GetCount(), 2);
    }
    testenv::ResetAppletKey();
    testenv::MakeZantuDirectory("discovery");
    bool sheetSeen = false;
    ui::RunWithDriver([&] { GetApplet().OnDblClk(nullptr, 0, 0); },
                      [&] {
                          HWND sheet = ui::WaitForWindow("Zantu Quillet95");
                          sheetSeen = sheet != nullptr;
                          if (sheet) ui::PressButton(sheet, IDCANCEL);
                          ui::WaitForWindowGone("Zantu Quillet95");
                      });
    EXPECT_TRUE(sheetSeen);
    CDeviceList& list = GetDeviceList();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.m_pTable, nullptr);
    EXPECT_EQ(list.m_nTableCount, 0);
    EXPECT_EQ(list.m_nCapacity, 0);
    EXPECT_EQ(GetApplet().m_pRegistryInfo, nullptr);
    testenv::ResetAppletKey();
}

}  // namespace
