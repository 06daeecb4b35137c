// The applet's own search and port-group listing through the real QXLNK32.DLL, its engine and
// simulated servers on loopback: what the user gets when opening the Browse dialog.
#include "DiscoveryFixture.h"
#include "DiscoveryTestApp.h"
#include "WindowDriver.h"
#include "discovery/DeviceList.h"

namespace {

class AppletSearch : public DiscoveryFixture {
protected:
    void SetUp() override
    {
        DiscoveryFixture::SetUp();
        // The applet loads the bridge by name; the engine sits beside it.
        SetDllDirectoryA(ui::WindowsPath(DIST_DIR).c_str());
    }
    void TearDown() override
    {
        GetDeviceList().RemoveAll();
        SetDllDirectoryA(nullptr);
        DiscoveryFixture::TearDown();
    }
};

std::vector<std::string> Names(const CDeviceList& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.GetAt(i)->GetName());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(AppletSearch, FindsEveryServerOnceAndListsItsPortGroups)
{
    SimServer a{"ALPHA"}, b{"BRAVO"}, c{"CHARLIE"};
    b.extra = "repeat = 2";  // answers every request three times
    c.groups = "Command_Shell, All_Ports, Modems";
    Serve({a, b, c});
    Install(Ip(1) + "-3");
    ConfigScope config("TCP/IP");

    ASSERT_TRUE(GetDeviceList().Discover(nullptr, TRUE));
    EXPECT_EQ(Names(GetDeviceList()), (std::vector<std::string>{"ALPHA", "BRAVO", "CHARLIE"}));
    for (int i = 0; i < GetDeviceList().GetCount(); ++i) {
        const HLP_DEVICE_ENTRY& e = *GetDeviceList().GetAt(i)->m_pEntry;
        EXPECT_EQ(e.wTransport, HLP_TRANSPORT_TCPIP);
        EXPECT_EQ(EntryWord(e, HLP_OFS_IP_PORT), 1549);
        EXPECT_EQ(Field(e.szIdent, sizeof e.szIdent), "ORD3");
    }

    CDevice* charlie = GetDeviceList().FindByName("charlie");
    ASSERT_NE(charlie, nullptr);
    ASSERT_EQ(charlie->RefreshPortGroups(), 0);
    ASSERT_EQ(charlie->m_pPorts->GetCount(), 3u);
    EXPECT_EQ(charlie->m_pPorts->GetAt(0)->m_strName, "Command_Shell");
    EXPECT_EQ(charlie->m_pPorts->GetAt(2)->m_strName, "Modems");
    EXPECT_NE(charlie->m_pPorts->FindByName("all_ports"), nullptr);

    // A second search starts from an empty list.
    ASSERT_TRUE(GetDeviceList().Discover(nullptr, FALSE));
    EXPECT_EQ(GetDeviceList().GetCount(), 3);
}

TEST_F(AppletSearch, UnusableServersAreLeftOutOnlyWhereTheFilterApplies)
{
    SimServer a{"USABLE"}, b{"IDLE"};
    b.usable = false;
    Serve({a, b});
    Install(Ip(1) + "-2");
    // The filter concerns IPX servers; over TCP/IP every server answering is listed.
    ConfigScope config("TCP/IP", 1);
    ASSERT_TRUE(GetDeviceList().Discover(nullptr, FALSE));
    EXPECT_EQ(Names(GetDeviceList()), (std::vector<std::string>{"IDLE", "USABLE"}));
}

// A search that fails shows the engine's reason in a message box captioned "Device Discovery Failed".
std::string FailedSearchMessage()
{
    std::string text;
    BOOL found = TRUE;
    ui::RunWithDriver([&] { found = GetDeviceList().Discover(nullptr, FALSE); },
                      [&] {
                          HWND box = ui::WaitForWindow("Device Discovery Failed", 15000);
                          ASSERT_NE(box, nullptr);
                          text = ui::MessageBoxText(box);
                          ui::PressButton(box, IDOK);
                      });
    EXPECT_FALSE(found);
    EXPECT_EQ(GetDeviceList().GetCount(), 0);
    return text;
}

TEST_F(AppletSearch, NoAnswerIsAnEmptyListAndEngineFailuresReachTheUserAsTheirMessages)
{
    ConfigScope config("TCP/IP");
    // Nobody answers: nothing found, which is not a failure.
    Install(Ip(9));
    EXPECT_TRUE(GetDeviceList().Discover(nullptr, FALSE));
    EXPECT_EQ(GetDeviceList().GetCount(), 0);

    // A lookup text the engine cannot read: the open fails, so the load prefix comes first.
    Install("not..an..address");
    EXPECT_EQ(FailedSearchMessage(), CString::Load(57357) + CString::Load(57448));
}

TEST_F(AppletSearch, WithoutItsEngineTheBridgeDoesNotLoadAndTheUserIsTold)
{
    // A folder with the bridge alone.
    std::string folder = std::string(BUILD_DIR) + "/test-bridge-alone";
    CreateDirectoryA(ui::WindowsPath(folder).c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(ui::WindowsPath(std::string(DIST_DIR) + "/QXLNK32.DLL").c_str(),
                          ui::WindowsPath(folder + "/QXLNK32.DLL").c_str(), FALSE));
    SetDllDirectoryA(ui::WindowsPath(folder).c_str());
    Install(Ip(1));
    ConfigScope config("TCP/IP");
    CString expected = CString::Load(57357) + FormatText(CString::Load(57451).c_str(), 1114L);
    EXPECT_EQ(FailedSearchMessage(), expected);
}

}  // namespace
