// Discovered servers and their port groups: sameness, lookup by name, usability and the
// port-group refresh.
#include <gtest/gtest.h>
#include <functional>
#include "DiscoveryTestApp.h"
#include "Standin.h"
#include "discovery/DeviceList.h"
#include "discovery/DiscoveryLibrary.h"

namespace {

using standin::IpEntry;
using standin::IpxEntry;
using standin::Standin;
using Lines = std::vector<std::string>;

TEST(Device, SamenessComparesTextsIgnoringCaseAndTheAddressOfTheTransport)
{
    struct Case {
        const char* what;
        HLP_DEVICE_ENTRY base;
        std::function<void(HLP_DEVICE_ENTRY&)> change;
        bool same;
    };
    auto at = [](HLP_DEVICE_ENTRY& e, int offset) -> BYTE& { return EntryBytes(e, offset)[0]; };
    const HLP_DEVICE_ENTRY ip = IpEntry("Alpha", 10, 0, 0, 1);
    const HLP_DEVICE_ENTRY ipx = IpxEntry("Beta", 7);
    const Case cases[] = {
        {"identical", ip, [](HLP_DEVICE_ENTRY&) {}, true},
        {"texts in other case", ip,
         [](HLP_DEVICE_ENTRY& e) {
             strcpy(e.szName, "ALPHA");
             strcpy(e.szType, "FARLINE 8000");
             strcpy(e.szIdent, "fl8k");
         },
         true},
        {"other name", ip, [](HLP_DEVICE_ENTRY& e) { strcpy(e.szName, "Alpha2"); }, false},
        {"other type", ip, [](HLP_DEVICE_ENTRY& e) { strcpy(e.szType, "Farline 9000"); }, false},
        {"other hardware code", ip, [](HLP_DEVICE_ENTRY& e) { strcpy(e.szIdent, "FL9K"); }, false},
        {"bytes after the name's end", ip, [](HLP_DEVICE_ENTRY& e) { e.szName[20] = 'x'; }, true},
        {"IP family word", ip, [&](HLP_DEVICE_ENTRY& e) { at(e, 107) = 3; }, false},
        {"IP port", ip, [&](HLP_DEVICE_ENTRY& e) { at(e, 110) = 1; }, false},
        {"IP address", ip, [&](HLP_DEVICE_ENTRY& e) { at(e, 114) = 2; }, false},
        {"IP trailing bytes", ip, [&](HLP_DEVICE_ENTRY& e) { at(e, 115) = 9; }, true},
        {"transport", ip, [](HLP_DEVICE_ENTRY& e) { e.wTransport = HLP_TRANSPORT_IPX; }, false},
        {"IPX identical", ipx, [](HLP_DEVICE_ENTRY&) {}, true},
        {"IPX word", ipx, [&](HLP_DEVICE_ENTRY& e) { at(e, 108) = 1; }, false},
        {"IPX network", ipx, [&](HLP_DEVICE_ENTRY& e) { at(e, 112) = 1; }, false},
        {"IPX node", ipx, [&](HLP_DEVICE_ENTRY& e) { at(e, 118) ^= 1; }, false},
        {"IPX socket", ipx, [&](HLP_DEVICE_ENTRY& e) { at(e, 120) = 1; }, false},
        {"IPX hops", ipx, [&](HLP_DEVICE_ENTRY& e) { at(e, 121) = 5; }, false},
    };
    for (const Case& c : cases) {
        HLP_DEVICE_ENTRY a = c.base, b = c.base;
        c.change(b);
        CDevice da(&a), db(&b);
        EXPECT_EQ(da.IsSameDevice(db) != FALSE, c.same) << c.what;
        EXPECT_EQ(db.IsSameDevice(da) != FALSE, c.same) << c.what;
    }
    // A transport other than TCP/IP and IPX is never the same, not even as itself.
    HLP_DEVICE_ENTRY other = ip;
    other.wTransport = 5;
    CDevice d(&other);
    EXPECT_FALSE(d.IsSameDevice(d));
}

TEST(Device, NamesWithoutTerminatorStayWithinTheirFields)
{
    HLP_DEVICE_ENTRY e = IpEntry("", 10, 0, 0, 1);
    memset(e.szType, 'T', sizeof e.szType);
    memset(e.szIdent, 'I', sizeof e.szIdent);
    memset(e.szName, 'N', sizeof e.szName);
    CDevice d(&e);
    EXPECT_EQ(d.GetType(), std::string(48, 'T'));
    EXPECT_EQ(d.GetIdent(), std::string(9, 'I'));
    EXPECT_EQ(d.GetName(), std::string(48, 'N'));
}

TEST(DeviceList, FindByNameIgnoresCaseAndFindsNothingForAnEmptyText)
{
    HLP_DEVICE_ENTRY table[] = {IpEntry("", 10, 0, 0, 1), IpEntry("Alpha", 10, 0, 0, 2), IpEntry("ALPHA", 10, 0, 0, 3),
                                IpEntry("beta", 10, 0, 0, 4), IpEntry("", 10, 0, 0, 5)};
    memset(table[4].szName, 'Z', sizeof table[4].szName);
    CDeviceList list;
    for (HLP_DEVICE_ENTRY& e : table) list.AddTail(new CDevice(&e));
    EXPECT_EQ(list.FindByName("alpha"), list.GetAt(1));
    EXPECT_EQ(list.FindByName("BETA"), list.GetAt(3));
    EXPECT_EQ(list.FindByName(std::string(48, 'z').c_str()), list.GetAt(4));
    EXPECT_EQ(list.FindByName("gamma"), nullptr);
    EXPECT_EQ(list.FindByName("alph"), nullptr);
    EXPECT_EQ(list.FindByName(""), nullptr);
    EXPECT_EQ(list.FindByName(nullptr), nullptr);
    list.RemoveAll();
}

TEST(DeviceList, IsNewLooksForTheSameServer)
{
    HLP_DEVICE_ENTRY table[] = {IpEntry("Alpha", 10, 0, 0, 1), IpEntry("alpha", 10, 0, 0, 1), IpEntry("Alpha", 10, 0, 0, 2)};
    CDeviceList list;
    list.AddTail(new CDevice(&table[0]));
    CDevice sameInOtherCase(&table[1]), elsewhere(&table[2]);
    EXPECT_FALSE(list.IsNew(&sameInOtherCase));
    EXPECT_TRUE(list.IsNew(&elsewhere));
    EXPECT_FALSE(list.IsNew(nullptr));
    list.RemoveAll();
    EXPECT_TRUE(list.IsNew(&sameInOtherCase));
}

TEST(DevicePortList, PortsJoinTheirOwnerAndAreFoundByNameIgnoringCase)
{
    HLP_DEVICE_ENTRY e = IpEntry("Alpha", 10, 0, 0, 1);
    CDevice device(&e);
    auto* all = new CDevicePort("All_Ports", &device);
    auto* empty = new CDevicePort("", &device);
    auto* shell = new CDevicePort("Command_Shell", &device);
    ASSERT_EQ(device.m_pPorts->GetCount(), 3);
    EXPECT_EQ(device.m_pPorts->GetAt(0), all);
    EXPECT_EQ(device.m_pPorts->GetAt(1), empty);
    EXPECT_EQ(shell->m_pOwner, &device);
    EXPECT_EQ(device.m_pPorts->FindByName("all_ports"), all);
    EXPECT_EQ(device.m_pPorts->FindByName("COMMAND_SHELL"), shell);
    EXPECT_EQ(device.m_pPorts->FindByName("Modems"), nullptr);
    EXPECT_EQ(device.m_pPorts->FindByName(""), nullptr);
    EXPECT_EQ(device.m_pPorts->FindByName(nullptr), nullptr);
    EXPECT_TRUE(device.m_pPorts->GetAt(0)->IsKindOf(RUNTIME_CLASS(CDevicePort)));
    EXPECT_STREQ(device.GetRuntimeClass()->m_lpszClassName, "CDevice");
}

TEST(Device, IpxServerIsUsableFromVersion402WithItsUsableFlag)
{
    struct Case {
        int result;
        BYTE major, minor, revision;
        DWORD flag;
        bool usable;
    };
    const Case cases[] = {
        {0, 4, 0, 1, 1, false}, {0, 4, 0, 2, 1, true},  {0, 4, 1, 0, 1, true},   {0, 5, 0, 0, 1, true},
        {0, 3, 9, 9, 1, false}, {0, 4, 0, 2, 0, false}, {0, 4, 0, 2, 0x10000, true},
        {-55, 4, 1, 0, 1, false}, {1, 4, 1, 0, 1, false},
        // The version bytes count as signed: 0x80 is below 4, and 4.255.12 is 4.-1.12.
        {0, 0x80, 0, 0, 1, false}, {0, 4, 0xFF, 12, 1, true}, {0, 4, 0xFF, 11, 1, false},
    };
    Standin s;
    HLP_DEVICE_ENTRY e = IpxEntry("NW", 3);
    CDevice device(&e);
    for (const Case& c : cases) {
        s.Script(standin::InfoLine(e, c.result, c.major, c.minor, c.revision, c.flag));
        CDiscoveryLibrary lib;
        ASSERT_EQ(lib.Open(HLP_TRANSPORT_IPX), 0);
        s.ClearLog();
        EXPECT_EQ(device.IsUsable(lib) != FALSE, c.usable)
            << c.result << " " << int(c.major) << "." << int(c.minor) << "." << int(c.revision) << " flag " << c.flag;
        EXPECT_EQ(lib.m_lastResult, c.result);
        EXPECT_EQ(s.Log(), (Lines{"HLPGetServerInfo addr=" + standin::IpxAddressHex(e) + " 5 null"}));
    }
    // A TCP/IP server is usable without asking it.
    HLP_DEVICE_ENTRY ip = IpEntry("IP", 10, 0, 0, 1);
    CDevice ipDevice(&ip);
    CDiscoveryLibrary lib;
    ASSERT_EQ(lib.Open(HLP_TRANSPORT_TCPIP), 0);
    s.ClearLog();
    EXPECT_TRUE(ipDevice.IsUsable(lib));
    EXPECT_TRUE(s.Log().empty());
}

std::vector<std::string> PortNames(const CDevice& d)
{
    std::vector<std::string> names;
    for (int i = 0; i < d.m_pPorts->GetCount(); ++i) names.push_back(d.m_pPorts->GetAt(i)->m_strName);
    return names;
}

TEST(Device, RefreshPortGroupsReplacesThePortsWithTheListing)
{
    Standin s;
    ConfigScope config("TCP/IP");
    HLP_DEVICE_ENTRY e = IpEntry("Alpha", 192, 168, 7, 9, 1549);
    CDevice device(&e);
    new CDevicePort("Stale", &device);

    s.Script("name All_Ports\nname Command_Shell\nname Modem Pool 1\n");
    EXPECT_EQ(device.RefreshPortGroups(), 0);
    EXPECT_EQ(PortNames(device), (Lines{"All_Ports", "Command_Shell", "Modem Pool 1"}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(device.m_pPorts->GetAt(i)->m_pOwner, &device);
    EXPECT_EQ(s.Log(), (Lines{"load", "HLPInitStack 2",
                              "HLPGetSerialNames 2 1 addr=" + standin::IpAddressHex(e) + " ptr 16384 count=0 null 20 null",
                              "HLPCloseStack 2", "unload"}));

    // Asked again, the old ports are gone before the new listing arrives.
    s.Script("name Modem Pool 2\n");
    EXPECT_EQ(device.RefreshPortGroups(), 0);
    EXPECT_EQ(PortNames(device), (Lines{"Modem Pool 2"}));

    // A listing of no names leaves no ports.
    s.Script("");
    EXPECT_EQ(device.RefreshPortGroups(), 0);
    EXPECT_EQ(device.m_pPorts->GetCount(), 0);
}

TEST(Device, RefreshPortGroupsOverIpxWaitsFiveAndNamesTheServerByIpxAddress)
{
    Standin s;
    ConfigScope config("IPX");
    HLP_DEVICE_ENTRY e = IpxEntry("NW", 4);
    CDevice device(&e);
    s.Script("name Group\n");
    EXPECT_EQ(device.RefreshPortGroups(), 0);
    EXPECT_EQ(PortNames(device), (Lines{"Group"}));
    EXPECT_EQ(s.Calls("HLPGetSerialNames"),
              (Lines{"HLPGetSerialNames 200 1 addr=" + standin::IpxAddressHex(e) + " ptr 16384 count=0 null 5 null"}));
}

TEST(Device, RefreshPortGroupsFailuresReturnTheCodeAndLeaveNoPorts)
{
    ConfigScope config("TCP/IP");
    HLP_DEVICE_ENTRY e = IpEntry("Alpha", 10, 0, 0, 1);
    CDevice device(&e);
    {
        Standin s;
        s.Script("serial -55\nname Lost\n");
        new CDevicePort("Old", &device);
        EXPECT_EQ(device.RefreshPortGroups(), -55);
        EXPECT_EQ(device.m_pPorts->GetCount(), 0);
        EXPECT_EQ(s.Calls("HLPCloseStack").size(), 1u);
        EXPECT_FALSE(Standin::Loaded());
    }
    {
        Standin s("none");
        new CDevicePort("Old", &device);
        EXPECT_EQ(device.RefreshPortGroups(), ERROR_MOD_NOT_FOUND);
        EXPECT_EQ(device.m_pPorts->GetCount(), 0);
    }
    {
        Standin s;
        s.Script("init -54\n");
        EXPECT_EQ(device.RefreshPortGroups(), -54);
    }
    // An entry of neither transport cannot be asked.
    HLP_DEVICE_ENTRY odd = e;
    odd.wTransport = 7;
    CDevice oddDevice(&odd);
    Standin s;
    EXPECT_EQ(oddDevice.RefreshPortGroups(), -1);
    EXPECT_TRUE(s.Log().empty());
}

TEST(Device, RefreshPortGroupsReadsOnlyWhatTheBufferHolds)
{
    Standin s;
    ConfigScope config("TCP/IP");
    HLP_DEVICE_ENTRY e = IpEntry("Alpha", 10, 0, 0, 1);
    CDevice device(&e);
    // A name that fills its 256 bytes without a terminator, then one more.
    std::string script = "namehex " + std::string(512, '4') + "\nname After\n";
    s.Script(script);
    EXPECT_EQ(device.RefreshPortGroups(), 0);
    EXPECT_EQ(PortNames(device), (Lines{std::string(256, 'D'), "After"}));

    // A count beyond the 64 names that fit is believed only up to the buffer's end.
    script = "serial 0 500\n";
    for (int i = 0; i < 64; ++i) script += "name G" + std::to_string(i) + "\n";
    s.Script(script);
    EXPECT_EQ(device.RefreshPortGroups(), 0);
    ASSERT_EQ(device.m_pPorts->GetCount(), 64);
    EXPECT_EQ(device.m_pPorts->GetAt(63)->m_strName, "G63");
}

}  // namespace
