// The real bridge and engine against simulated servers on loopback: the search, the port-group
// listing, the server information and finding one server, with the faults a network can bring.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>
#include "DiscoveryFixture.h"

namespace {

const DWORD kTableSize = 65313;
const DWORD kNamesSize = 16384;

class EngineDiscovery : public DiscoveryFixture {
protected:
    // The applet's search: on success the table's first count entries.
    std::vector<HLP_DEVICE_ENTRY> Search(LONG expected = 0)
    {
        std::vector<HLP_DEVICE_ENTRY> table(531);
        WORD count = 0xFFFF;
        EXPECT_EQ(Attached().Search(table.data(), kTableSize, count), expected);
        EXPECT_LE(count, 531);
        table.resize(std::min<WORD>(count, 531));
        return table;
    }

    std::vector<std::string> PortGroups(int host, LONG expected = 0, DWORD wait = 10)
    {
        std::vector<HLP_PORT_NAME> names(64);
        memset(names.data(), 0x5A, names.size() * sizeof(HLP_PORT_NAME));
        HLP_ADDRESS_IP address = Address(host);
        WORD count = 0xFFFF;
        EXPECT_EQ(Attached().GetSerialNames(2, 1, &address, names.data(), kNamesSize, &count, nullptr, wait, nullptr),
                  expected);
        std::vector<std::string> result;
        if (expected != 0) return result;
        EXPECT_LE(count, 64);
        for (WORD i = 0; i < count && i < 64; ++i) {
            EXPECT_NE(memchr(names[i].name, 0, sizeof names[i].name), nullptr) << "name " << i << " not terminated";
            result.push_back(Field(names[i].name, sizeof names[i].name));
        }
        return result;
    }

    std::string EntryIp(const HLP_DEVICE_ENTRY& e) const
    {
        const BYTE* ip = EntryBytes(e, HLP_OFS_IP_ADDR);
        char text[32];
        snprintf(text, sizeof text, "%d.%d.%d.%d", ip[0], ip[1], ip[2], ip[3]);
        return text;
    }
};

// Every text field holds a NUL inside its fixed size, and the address part is the TCP/IP form.
void ExpectWellFormed(const HLP_DEVICE_ENTRY& e)
{
    EXPECT_EQ(e.wTransport, HLP_TRANSPORT_TCPIP);
    EXPECT_NE(memchr(e.szType, 0, sizeof e.szType), nullptr);
    EXPECT_NE(memchr(e.szIdent, 0, sizeof e.szIdent), nullptr);
    EXPECT_NE(memchr(e.szName, 0, sizeof e.szName), nullptr);
    EXPECT_EQ(EntryWord(e, HLP_OFS_ADDRESS), 2) << "family";
    EXPECT_EQ(EntryWord(e, HLP_OFS_IP_PORT), 1549);
    for (int i = 115; i < 123; ++i) EXPECT_EQ(EntryBytes(e, i)[0], 0) << "byte " << i;
}

TEST_F(EngineDiscovery, SearchFindsEveryAnsweringServerOnceInWellFormedEntries)
{
    const std::string longType(47, 'T');
    const std::string longName(47, 'N');
    std::vector<SimServer> servers(5);
    servers[0].name = "ALPHA";
    servers[0].extra = "repeat = 3";  // answers every request three times
    servers[1].name = "BETA";
    servers[1].ident = "ORD12345";
    servers[1].type = longType;
    servers[1].version = "4.0.2";
    servers[2].name = "GAMMA";
    servers[2].usable = false;
    servers[3].name = "DELTA";
    servers[3].extra = "delay = 300";
    servers[4].name = longName;
    servers[4].ident = "X";
    Serve(servers);
    Install(Ip(1) + "-5");

    std::vector<HLP_DEVICE_ENTRY> found = Search();
    ASSERT_EQ(found.size(), 5u);
    std::set<std::string> ips, names;
    for (const HLP_DEVICE_ENTRY& e : found) {
        ExpectWellFormed(e);
        ips.insert(EntryIp(e));
        names.insert(Field(e.szName, sizeof e.szName));
        std::string name = Field(e.szName, sizeof e.szName);
        auto it = std::find_if(servers.begin(), servers.end(), [&](const SimServer& s) { return s.name == name; });
        ASSERT_NE(it, servers.end()) << name;
        EXPECT_EQ(EntryIp(e), Ip(static_cast<int>(it - servers.begin()) + 1));
        EXPECT_EQ(Field(e.szType, sizeof e.szType), it->type);
        EXPECT_EQ(Field(e.szIdent, sizeof e.szIdent), it->ident);
    }
    EXPECT_EQ(ips.size(), 5u) << "a server listed twice";
    EXPECT_EQ(names.size(), 5u);
}

TEST_F(EngineDiscovery, MalformedAnswersAreRefusedAndTheGoodServersStillFound)
{
    const char* kinds[] = {"truncate", "length", "magic", "id", "text", "control", "garbage", "any"};
    std::vector<SimServer> servers;
    for (const char* kind : kinds) {
        SimServer s;
        s.name = std::string("BAD-") + kind;
        s.extra = std::string("malformed = 100 ") + kind;
        servers.push_back(s);
    }
    servers.push_back(SimServer{"GOOD1"});
    servers.push_back(SimServer{"GOOD2"});
    Serve(servers);
    Install(Ip(1) + "-" + std::to_string(servers.size()));

    std::vector<HLP_DEVICE_ENTRY> found = Search();
    std::set<std::string> names;
    for (const HLP_DEVICE_ENTRY& e : found) {
        ExpectWellFormed(e);
        names.insert(Field(e.szName, sizeof e.szName));
    }
    EXPECT_EQ(names, (std::set<std::string>{"GOOD1", "GOOD2"}));
    EXPECT_EQ(found.size(), 2u);
}

TEST_F(EngineDiscovery, LostRequestsAreRepeatedUntilTheServerAnswers)
{
    std::vector<SimServer> servers(3);
    servers[0].name = "LOSSY1";
    servers[0].extra = "loss = 50";
    servers[1].name = "LOSSY2";
    servers[1].extra = "loss = 50";
    servers[2].name = "STEADY";
    // With this seed the simulator drops the first request to each lossy server.
    Serve(servers, 1);
    Install(Ip(1) + "-3");
    EXPECT_EQ(Search().size(), 3u);

    // The single-server queries repeat as well.
    HLP_SERVER_INFO info = {};
    HLP_ADDRESS_IP address = Address(1);
    EXPECT_EQ(Attached().GetServerInfo(&address, &info, 5, nullptr), 0);
    EXPECT_EQ(PortGroups(2), (std::vector<std::string>{"Command_Shell", "All_Ports"}));
}

TEST_F(EngineDiscovery, AFullTableIsFilledAndAnswersTableFull)
{
    std::vector<SimServer> servers(5);
    for (int i = 0; i < 5; ++i) servers[i].name = "S" + std::to_string(i);
    Serve(servers);
    Install(Ip(1) + "-5");
    std::vector<HLP_DEVICE_ENTRY> table(5);
    WORD count = 0;
    char any[] = "*";
    HLP_VERSION version = {4, 0, 0, 0, 0};
    // Room for three entries and a part of a fourth.
    EXPECT_EQ(Attached().FindVersionDevices(2, 1, any, any, table.data(), 3 * 123 + 100, &count, nullptr, 3, nullptr,
                                            &version),
              -9);
    EXPECT_EQ(count, 3);
    for (int i = 0; i < 3; ++i) ExpectWellFormed(table[i]);
    const BYTE* past = reinterpret_cast<const BYTE*>(table.data()) + 3 * 123;
    for (int i = 0; i < 100; ++i) ASSERT_EQ(past[i], 0) << "written past the entries that fit";
}

TEST_F(EngineDiscovery, VersionNameAndTypePatternsChooseWhichServersAreListed)
{
    std::vector<SimServer> servers(3);
    servers[0].name = "ALPHA";
    servers[0].version = "3.9.9";
    servers[1].name = "ALTO";
    servers[1].type = "Modem Pool";
    servers[2].name = "BRAVO";
    Serve(servers);
    Install(Ip(1) + "-3");
    BridgeClient& b = Attached();
    std::vector<HLP_DEVICE_ENTRY> table(531);
    auto names = [&](WORD count) {
        std::set<std::string> n;
        for (WORD i = 0; i < count; ++i) n.insert(Field(table[i].szName, sizeof table[i].szName));
        return n;
    };
    WORD count = 0;
    ASSERT_EQ(b.Search(table.data(), kTableSize, count), 0);
    EXPECT_EQ(names(count), (std::set<std::string>{"ALTO", "BRAVO"})) << "3.9.9 is older than 4.0.0";

    char any[] = "*", al[] = "al*", pool[] = "*pool";
    ASSERT_EQ(b.FindDevices(2, 1, al, any, table.data(), kTableSize, &count, nullptr, 3, nullptr), 0);
    EXPECT_EQ(names(count), (std::set<std::string>{"ALPHA", "ALTO"})) << "no version given: all versions";
    ASSERT_EQ(b.FindDevices(2, 1, any, pool, table.data(), kTableSize, &count, nullptr, 3, nullptr), 0);
    EXPECT_EQ(names(count), (std::set<std::string>{"ALTO"}));
}

TEST_F(EngineDiscovery, HostsOfANamedSectionAndOfTheDeviceFileAreAsked)
{
    std::vector<SimServer> servers(5);
    for (int i = 0; i < 5; ++i) servers[i].name = "H" + std::to_string(i + 1);
    Serve(servers);
    std::string dir = Install("@Farline:Hosts", "[Farline:Hosts]\r\nfirst=" + Ip(1) + "\r\n; a comment\r\n" + Ip(2) + "-3\r\n");
    // The device file records a server added by address earlier.
    std::string device = "[00000000]\r\nName=H4\r\nIPAddress=" + Ip(4) + "\r\nIPHostname=\r\n";
    HANDLE f = CreateFileA((dir + "\\ZNM.DEV").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(f, device.data(), static_cast<DWORD>(device.size()), &written, nullptr);
    CloseHandle(f);

    std::set<std::string> names;
    for (const HLP_DEVICE_ENTRY& e : Search()) names.insert(Field(e.szName, sizeof e.szName));
    EXPECT_EQ(names, (std::set<std::string>{"H1", "H2", "H3", "H4"})) << "H5 was not asked";
}

TEST_F(EngineDiscovery, PortGroupsAreListedInTheServersOrder)
{
    std::string seventy;
    for (int i = 1; i <= 70; ++i) seventy += (i > 1 ? ", G" : "G") + std::to_string(i);
    const std::string longGroup(255, 'L');
    const std::string longish(254, 'L');
    std::vector<SimServer> servers(4);
    servers[0].name = "ONE";
    servers[0].groups = "Command_Shell, All_Ports, Modems East";
    servers[1].name = "MANY";
    servers[1].groups = seventy;
    servers[2].name = "NONE";
    servers[2].groups = "";
    servers[3].name = "LONG";
    servers[3].groups = longGroup + ", " + longish + "2, Command_Shell, " + longish + "3, x, " + longish + "4, All_Ports";
    Serve(servers);
    Install(Ip(1) + "-4");

    EXPECT_EQ(PortGroups(1), (std::vector<std::string>{"Command_Shell", "All_Ports", "Modems East"}));
    std::vector<std::string> many = PortGroups(2);
    ASSERT_EQ(many.size(), 64u) << "a 16384-byte buffer holds 64 names";
    EXPECT_EQ(many.front(), "G1");
    EXPECT_EQ(many.back(), "G64");
    EXPECT_TRUE(PortGroups(3).empty());
    std::vector<std::string> longOnes = PortGroups(4);
    ASSERT_EQ(longOnes.size(), 7u);
    EXPECT_EQ(longOnes[0], longGroup);
    EXPECT_EQ(longOnes[2], "Command_Shell");
    EXPECT_EQ(longOnes[6], "All_Ports");
    PortGroups(9, -55, 1);
}

TEST_F(EngineDiscovery, ServerInformationCarriesVersionAndUsability)
{
    std::vector<SimServer> servers(3);
    servers[0].name = "NEW";
    servers[0].version = "4.1.0b7";
    servers[0].groups = "a, b, c";
    servers[1].name = "OLD";
    servers[1].version = "4.0.1";
    servers[1].usable = false;
    servers[2].name = "SLOW";
    servers[2].extra = "delay = 2500";
    Serve(servers);
    Install(Ip(1) + "-3");
    BridgeClient& b = Attached();

    struct Case {
        int host;
        HLP_VERSION version;
        DWORD flag1, flag2;
    } cases[] = {{1, {4, 1, 0, 0x20, 7}, 3, 1}, {2, {4, 0, 1, 0x80, 0}, 2, 0}};
    for (const Case& c : cases) {
        HLP_SERVER_INFO info;
        memset(&info, 0xCC, sizeof info);
        HLP_ADDRESS_IP address = Address(c.host);
        ASSERT_EQ(b.GetServerInfo(&address, &info, 5, nullptr), 0) << c.host;
        EXPECT_EQ(memcmp(&info.version, &c.version, sizeof c.version), 0) << c.host;
        EXPECT_EQ(info.flag1, c.flag1);
        EXPECT_EQ(info.flag2, c.flag2);
    }
    HLP_SERVER_INFO info = {};
    HLP_ADDRESS_IP slow = Address(3);
    EXPECT_EQ(b.GetServerInfo(&slow, &info, 1, nullptr), -55) << "answer later than the wait";
    HLP_ADDRESS_IPX ipx = {};
    ipx.wTransport = HLP_TRANSPORT_IPX;
    EXPECT_EQ(b.GetServerInfo(&ipx, &info, 5, nullptr), -54);
}

TEST_F(EngineDiscovery, FindADeviceByAddressFillsTheFoundRecord)
{
    std::vector<SimServer> servers(3);
    servers[0].name = "FOUND";
    servers[0].version = "4.5.4p2";
    servers[0].ident = "ORD7";
    servers[1].name = "SECRET";
    servers[1].extra = "community = other";
    servers[2].name = "NOTCP";
    servers[2].extra = "tcpip = no";
    Serve(servers);
    Install(Ip(1) + "-3");
    BridgeClient& b = Attached();
    char community[] = "marlow";

    HLP_FOUND_DEVICE found;
    memset(&found, 0xEE, sizeof found);
    HLP_ADDRESS_IP address = Address(1);
    ASSERT_EQ(b.FindADevice(&address, nullptr, &found, 0, community), 0);
    ExpectWellFormed(found.entry);
    EXPECT_EQ(Field(found.entry.szName, 48), "FOUND");
    EXPECT_EQ(Field(found.entry.szIdent, 9), "ORD7");
    EXPECT_EQ(EntryIp(found.entry), Ip(1));
    const HLP_VERSION expected = {4, 5, 4, 0x90, 2};
    EXPECT_EQ(memcmp(&found.version, &expected, sizeof expected), 0);

    struct Case {
        int host;
        LONG result;
    } cases[] = {{2, -53}, {3, -131}, {40, -55}};
    for (const Case& c : cases) {
        HLP_ADDRESS_IP a = Address(c.host);
        EXPECT_EQ(b.FindADevice(&a, nullptr, &found, 1, community), c.result) << c.host;
    }
    EXPECT_EQ(PortGroups(3, -131), std::vector<std::string>());
    // The server without TCP/IP dial-out is not listed by a search either.
    EXPECT_EQ(Search().size(), 2u);

    char badName[] = "bad_name!", digits[] = "192.168.1";
    EXPECT_EQ(b.FindADevice(nullptr, badName, &found, 1, community), -58);
    EXPECT_EQ(b.FindADevice(nullptr, digits, &found, 1, community), -58);
    EXPECT_EQ(b.FindADevice(nullptr, nullptr, &found, 1, community), -7);
    EXPECT_EQ(b.FindADevice(&address, badName, &found, 1, community), -7);
}

TEST_F(EngineDiscovery, FindADeviceByDnsName)
{
    ServeConfig("[server]\naddress = 127.0.0.1\nname = LOCAL\n");
    Install("127.0.0.1");
    HLP_FOUND_DEVICE found = {};
    char host[] = "localhost", community[] = "marlow";
    ASSERT_EQ(Attached().FindADevice(nullptr, host, &found, 3, community), 0);
    EXPECT_EQ(Field(found.entry.szName, 48), "LOCAL");
    EXPECT_EQ(EntryIp(found.entry), "127.0.0.1");
}

TEST_F(EngineDiscovery, SettingsDecideWhetherTheStackAttaches)
{
    // Cut after 255 characters, this text would end in the well-formed 127.0.0.12.
    std::string longText;
    for (int i = 0; i < 24; ++i) longText += "127.0.0.1 ";
    longText += "abcd 127.0.0.123 127.0.0.5";
    struct Case {
        const char* what;
        bool zantu;
        bool ini;
        std::string iniText;
        LONG result;
    } cases[] = {
        {"no ZANTU variable", false, false, "", -10},
        {"no ZANTU.INI", true, false, "", -10},
        {"no methods: broadcast", true, true, "[COMM]\r\nModem_Location=ON\r\n", 0},
        {"a host list", true, true, "[COMM]\r\nIPLookupMethods=127.9.9.9, 127.5.0.1-20;localhost\r\n", 0},
        {"a range that ends early", true, true, "[COMM]\r\nIPLookupMethods=127.0.0.9-3\r\n", -80},
        {"an unknown word", true, true, "[COMM]\r\nIPLookupMethods=BCAST,ipx:all\r\n", -80},
        {"too many addresses", true, true, "[COMM]\r\nIPLookupMethods=127.0.0.0/8\r\n", -80},
        {"a missing section", true, true, "[COMM]\r\nIPLookupMethods=@Nowhere\r\n", -81},
        {"a malformed section line", true, true, "[COMM]\r\nIPLookupMethods=@H\r\n[H]\r\na=1.2.3\r\n", -80},
        {"a text longer than 254 characters", true, true, "[COMM]\r\nIPLookupMethods=" + longText + "\r\n", -80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string dir = testenv::MakeZantuDirectory(m_name, c.iniText);
        if (!c.ini) DeleteFileA((dir + "\\ZANTU.INI").c_str());
        if (!c.zantu) SetEnvironmentVariableA("ZANTU", nullptr);
        BridgeClient& b = Bridge();
        ASSERT_NE(b.module, nullptr);
        LONG rc = b.InitStack(2);
        EXPECT_EQ(rc, c.result);
        if (rc == 0) b.CloseStack(2);
    }
}

TEST_F(EngineDiscovery, IpxAndCallsWithoutAnAttachedStackAreRefused)
{
    Install("127.0.0.1");
    BridgeClient& b = Bridge();
    ASSERT_NE(b.module, nullptr);
    EXPECT_EQ(b.InitStack(200), -54);
    std::vector<HLP_DEVICE_ENTRY> table(4);
    WORD count = 0;
    EXPECT_EQ(b.Search(table.data(), sizeof(HLP_DEVICE_ENTRY) * 4, count), -7);
    HLP_SERVER_INFO info = {};
    HLP_ADDRESS_IP address = Address(1);
    EXPECT_EQ(b.GetServerInfo(&address, &info, 1, nullptr), -7);
}

}  // namespace
