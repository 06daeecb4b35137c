// The route queries against the stand-in agent, whose tables each test crafts.
#include <gtest/gtest.h>

#include <ctime>

#include "ProbeSupport.h"
#include "tools/gwprobe/snmprte.h"

using probe::Ip;
using probe::IpText;

namespace {

// The stand-in's own controls, found in the libraries InitSnmp loaded by name.
struct StandIn {
    BOOL (*setTables)(const char*) = nullptr;
    const char* (*log)() = nullptr;
    int (*routeGetNexts)() = nullptr;
    void (*failAllocation)(LONG) = nullptr;
    void (*allocStats)(LONG*, LONG*) = nullptr;
    std::string initOutput;
    std::string initLog;
    time_t initTime = 0;
    LONG outstandingAfterInit = -1;

    static StandIn& Get()
    {
        static StandIn s;
        static bool started = false;
        if (!started) {
            started = true;
            s.initTime = time(nullptr);
            s.initOutput = probe::CaptureStdout([] { InitSnmp(); });
            HMODULE mib = GetModuleHandleA("inetmib1.dll");
            HMODULE api = GetModuleHandleA("snmpapi.dll");
            s.setTables = reinterpret_cast<BOOL (*)(const char*)>(GetProcAddress(mib, "StandInSetTables"));
            s.log = reinterpret_cast<const char* (*)()>(GetProcAddress(mib, "StandInLog"));
            s.routeGetNexts = reinterpret_cast<int (*)()>(GetProcAddress(mib, "StandInRouteGetNexts"));
            s.failAllocation = reinterpret_cast<void (*)(LONG)>(GetProcAddress(api, "StandInFailAllocation"));
            s.allocStats = reinterpret_cast<void (*)(LONG*, LONG*)>(GetProcAddress(api, "StandInAllocStats"));
            if (s.log) s.initLog = s.log();
            if (s.allocStats) s.allocStats(&s.outstandingAfterInit, nullptr);
        }
        return s;
    }

    LONG Outstanding() const
    {
        LONG outstanding = 0;
        allocStats(&outstanding, nullptr);
        return outstanding;
    }
};

class SnmpRoutes : public ::testing::Test {
protected:
    void SetUp() override
    {
        StandIn& s = StandIn::Get();
        ASSERT_TRUE(s.setTables && s.log && s.failAllocation && s.allocStats)
            << "the stand-in libraries were not the ones loaded; output: " << s.initOutput;
        s.failAllocation(0);
        outstandingBefore = s.Outstanding();
    }

    void Tables(const char* text) { ASSERT_TRUE(StandIn::Get().setTables(text)) << text; }

    // Runs FindIpRoute and checks that every block it or the agent obtained came back.
    int Find(const char* local, const char* destination, IpRouteRecord* route, std::string* output = nullptr)
    {
        int found = 0;
        std::string text = probe::CaptureStdout([&] { found = FindIpRoute(Ip(local), Ip(destination), route); });
        if (output) *output = text;
        EXPECT_EQ(StandIn::Get().Outstanding(), outstandingBefore) << "SNMP blocks left behind";
        return found;
    }

    LONG outstandingBefore = 0;
};

TEST_F(SnmpRoutes, InitBindsBothLibrariesAndStartsTheAgentWithTheTimeOfDay)
{
    StandIn& s = StandIn::Get();
    EXPECT_EQ(s.initOutput, "InitSnmp Initialize OK.\n");
    EXPECT_NE(pfnSnmpUtilMemAlloc, nullptr);
    EXPECT_NE(pfnSnmpUtilMemFree, nullptr);
    EXPECT_NE(gInitAddr, nullptr);
    EXPECT_NE(gQueryAddr, nullptr);
    // The agent was started once, with the calendar time in seconds as its time-zero.
    long long timeZero = -1;
    ASSERT_EQ(sscanf(s.initLog.c_str(), "init %lld\n", &timeZero), 1) << s.initLog;
    EXPECT_EQ(probe::Count(s.initLog, "init "), 1);
    EXPECT_GE(timeZero, static_cast<long long>(s.initTime));
    EXPECT_LE(timeZero, static_cast<long long>(s.initTime) + 5);
    // The agent's view, copied with the SNMP allocator, was given back.
    EXPECT_EQ(s.outstandingAfterInit, 0);
}

// Each row of the table: a routing table, a local address, a destination and the chosen next hop
// (empty: no route).
struct SelectionCase {
    const char* name;
    const char* tables;
    const char* local;
    const char* destination;
    const char* nextHop;
};

const SelectionCase kSelectionCases[] = {
    {"destination 0.0.0.0 takes the first default route",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 0.0.0.0 0.0.0.0 192.168.9.1 1\n"
     "route 10.5.0.0 255.255.0.0 10.1.0.5 1\n"
     "route 0.0.0.0 0.0.0.0 172.16.0.1 1\n",
     "10.1.0.2", "0.0.0.0", "192.168.9.1"},
    {"destination 0.0.0.0: a later default route on the local subnet replaces the first",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 0.0.0.0 0.0.0.0 192.168.9.1 1\n"
     "route 0.0.0.0 0.0.0.0 10.1.0.1 1\n",
     "10.1.0.2", "0.0.0.0", "10.1.0.1"},
    {"host route beats the network route before it",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 10.9.0.0 255.255.0.0 10.1.0.11 1\n"
     "route 10.9.0.5 255.255.255.255 10.1.0.12 1\n",
     "10.1.0.2", "10.9.0.5", "10.1.0.12"},
    {"host route beats the network route after it",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 10.9.0.5 255.255.255.255 10.1.0.12 1\n"
     "route 10.9.0.0 255.255.0.0 10.1.0.11 1\n",
     "10.1.0.2", "10.9.0.5", "10.1.0.12"},
    {"network route for another host of the network",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 10.9.0.5 255.255.255.255 10.1.0.12 1\n"
     "route 10.9.0.0 255.255.0.0 10.1.0.11 1\n",
     "10.1.0.2", "10.9.7.7", "10.1.0.11"},
    {"equal masks: the later row wins",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 10.9.0.0 255.255.0.0 10.1.0.11 1\n"
     "route 10.9.0.0 255.255.0.0 10.1.0.13 1\n",
     "10.1.0.2", "10.9.0.5", "10.1.0.13"},
    {"default route first, matching network route later: the network route replaces it",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 0.0.0.0 0.0.0.0 10.1.0.1 1\n"
     "route 10.9.0.0 255.255.0.0 10.1.0.11 1\n",
     "10.1.0.2", "10.9.0.5", "10.1.0.11"},
    {"network route first, default route later: the default route is skipped",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 10.9.0.0 255.255.0.0 10.1.0.11 1\n"
     "route 0.0.0.0 0.0.0.0 10.1.0.1 1\n",
     "10.1.0.2", "10.9.0.5", "10.1.0.11"},
    {"two default routes, neither on the local subnet: the first",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 0.0.0.0 0.0.0.0 192.168.9.1 1\n"
     "route 0.0.0.0 0.0.0.0 172.16.0.1 1\n",
     "10.1.0.2", "198.51.100.7", "192.168.9.1"},
    {"two default routes, only the second on the local subnet: the second",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 0.0.0.0 0.0.0.0 192.168.9.1 1\n"
     "route 0.0.0.0 0.0.0.0 10.1.0.1 1\n",
     "10.1.0.2", "198.51.100.7", "10.1.0.1"},
    {"two default routes, only the first on the local subnet: the first",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 0.0.0.0 0.0.0.0 10.1.0.1 1\n"
     "route 0.0.0.0 0.0.0.0 192.168.9.1 1\n",
     "10.1.0.2", "198.51.100.7", "10.1.0.1"},
    {"local address not found: the last default route wins, whatever its interface",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 0.0.0.0 0.0.0.0 10.1.0.1 1\n"
     "route 0.0.0.0 0.0.0.0 192.168.9.1 2\n"
     "route 0.0.0.0 0.0.0.0 172.16.0.1 3\n",
     "10.77.0.9", "198.51.100.7", "172.16.0.1"},
    {"local address not found: a route on any interface counts",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 0.0.0.0 0.0.0.0 10.1.0.1 1\n"
     "route 10.20.0.0 255.255.0.0 10.2.0.1 2\n",
     "10.77.0.9", "10.20.3.4", "10.2.0.1"},
    {"a route on another interface is never chosen, even when it matches",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "addr 10.2.0.2 255.255.255.0 2\n"
     "route 0.0.0.0 0.0.0.0 10.1.0.1 1\n"
     "route 10.20.0.0 255.255.0.0 10.2.0.1 2\n"
     "route 10.20.3.4 255.255.255.255 10.2.0.9 2\n",
     "10.1.0.2", "10.20.3.4", "10.1.0.1"},
    {"another interface's default routes don't count against the local one",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 0.0.0.0 0.0.0.0 192.168.9.1 2\n"
     "route 0.0.0.0 0.0.0.0 172.16.0.1 1\n",
     "10.1.0.2", "0.0.0.0", "172.16.0.1"},
    {"only another interface has a matching route: no route",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 10.20.0.0 255.255.0.0 10.2.0.1 2\n",
     "10.1.0.2", "10.20.3.4", ""},
    {"no row matches: no route",
     "addr 10.1.0.2 255.255.255.0 1\n"
     "route 10.9.0.0 255.255.0.0 10.1.0.11 1\n"
     "route 10.1.0.0 255.255.255.0 10.1.0.2 1\n",
     "10.1.0.2", "198.51.100.7", ""},
    {"an empty table: no route", "addr 10.1.0.2 255.255.255.0 1\n", "10.1.0.2", "0.0.0.0", ""},
};

TEST_F(SnmpRoutes, SelectionRules)
{
    for (const SelectionCase& c : kSelectionCases) {
        SCOPED_TRACE(c.name);
        Tables(c.tables);
        IpRouteRecord route;
        memset(&route, 0xAB, sizeof route);
        int found = Find(c.local, c.destination, &route);
        if (*c.nextHop) {
            EXPECT_EQ(found, 1);
            EXPECT_EQ(IpText(route.nextHop), c.nextHop);
        } else {
            EXPECT_EQ(found, 0);
            IpRouteRecord zero;
            memset(&zero, 0, sizeof zero);
            EXPECT_EQ(memcmp(&route, &zero, sizeof route), 0) << "the record must stay all zero";
        }
    }
}

TEST_F(SnmpRoutes, ChosenRowFillsTheWholeRecord)
{
    Tables("addr 10.1.0.2 255.255.255.0 1\n"
           "route 0.0.0.0 0.0.0.0 10.1.0.1 1 4 20\n"
           "route 10.9.0.0 255.255.0.0 10.1.0.11 1 4 7\n"
           "route 10.1.0.0 255.255.255.0 10.1.0.2 1 3 1\n");
    IpRouteRecord route;
    ASSERT_EQ(Find("10.1.0.2", "10.9.44.3", &route), 1);
    EXPECT_EQ(IpText(route.dest), "10.9.0.0");
    EXPECT_EQ(IpText(route.mask), "255.255.0.0");
    EXPECT_EQ(IpText(route.nextHop), "10.1.0.11");
    EXPECT_EQ(route.type, 4);
    EXPECT_EQ(route.metric1, 7);

    // The type keeps its low 16 bits.
    Tables("route 0.0.0.0 0.0.0.0 10.1.0.1 1 65539 -1\n");
    ASSERT_EQ(Find("10.1.0.2", "0.0.0.0", &route), 1);
    EXPECT_EQ(route.type, 3);
    EXPECT_EQ(route.metric1, -1);
}

TEST_F(SnmpRoutes, WalkCoversTheWholeTableAndStopsAtItsEnd)
{
    const char* rows = "addr 10.1.0.2 255.255.255.0 1\n"
                       "route 10.9.0.5 255.255.255.255 10.1.0.12 1\n"
                       "route 10.9.0.0 255.255.0.0 10.1.0.11 1\n"
                       "route 0.0.0.0 0.0.0.0 10.1.0.1 1\n"
                       "route 10.1.0.0 255.255.255.0 10.1.0.2 1\n";
    for (bool endWithError : {false, true}) {
        SCOPED_TRACE(endWithError ? "end reported as an error status" : "names leave the table at its end");
        Tables((std::string(rows) + (endWithError ? "end-with-error\n" : "")).c_str());
        IpRouteRecord route;
        std::string output;
        ASSERT_EQ(Find("10.1.0.2", "10.9.0.5", &route, &output), 1);
        EXPECT_EQ(IpText(route.nextHop), "10.1.0.12");
        // One request per row and one that finds the end, though the best row came first.
        EXPECT_EQ(StandIn::Get().routeGetNexts(), 5);
        std::string expected = "GetAddressInformation: SnmpExtensionQuery OK.\n";
        for (int i = 0; i < 5; ++i) expected += "GetIpRouteInfo: SnmpExtensionQuery OK.\n";
        EXPECT_EQ(output, expected);
    }
}

TEST_F(SnmpRoutes, FailedQueryEndsTheWalkWithTheBestRowSoFar)
{
    Tables("addr 10.1.0.2 255.255.255.0 1\n"
           "route 0.0.0.0 0.0.0.0 10.1.0.1 1\n"
           "route 10.9.0.0 255.255.0.0 10.1.0.11 1\n"
           "route 10.9.0.5 255.255.255.255 10.1.0.12 1\n"
           "fail-after 3 5\n");
    IpRouteRecord route;
    std::string output;
    ASSERT_EQ(Find("10.1.0.2", "10.9.0.5", &route, &output), 1);
    EXPECT_EQ(IpText(route.nextHop), "10.1.0.11");
    EXPECT_EQ(output, "GetAddressInformation: SnmpExtensionQuery OK.\n"
                      "GetIpRouteInfo: SnmpExtensionQuery OK.\n"
                      "GetIpRouteInfo: SnmpExtensionQuery OK.\n"
                      "GetIpRouteInfo: SnmpExtensionQuery failed: 5.\n");

    // Failing at the first row leaves nothing found.
    Tables("route 0.0.0.0 0.0.0.0 10.1.0.1 1\nfail-after 1 7\n");
    ASSERT_EQ(Find("10.1.0.2", "0.0.0.0", &route, &output), 0);
    EXPECT_NE(output.find("GetIpRouteInfo: SnmpExtensionQuery failed: 7.\n"), std::string::npos) << output;
}

TEST_F(SnmpRoutes, UnusableAddressLookupMeansNoInterfaceOrSubnetRestriction)
{
    // The lookup failing outright behaves like the address being unknown: the last default wins and
    // the other interface's route counts.
    Tables("addr 10.1.0.2 255.255.255.0 1\n"
           "addr-query-fails\n"
           "route 0.0.0.0 0.0.0.0 10.1.0.1 1\n"
           "route 0.0.0.0 0.0.0.0 192.168.9.1 2\n");
    IpRouteRecord route;
    std::string output;
    ASSERT_EQ(Find("10.1.0.2", "0.0.0.0", &route, &output), 1);
    EXPECT_EQ(IpText(route.nextHop), "192.168.9.1");
    EXPECT_EQ(output.find("GetAddressInformation"), std::string::npos) << output;
}

TEST_F(SnmpRoutes, AddressInformation)
{
    Tables("addr 10.1.0.2 255.255.255.0 3\naddr 10.2.0.2 255.255.0.0 4\n");
    DWORD mask = 1, index = 1;
    std::string output = probe::CaptureStdout([&] { EXPECT_EQ(GetAddressInformation(Ip("10.2.0.2"), &mask, &index), 1); });
    EXPECT_EQ(output, "GetAddressInformation: SnmpExtensionQuery OK.\n");
    EXPECT_EQ(IpText(mask), "255.255.0.0");
    EXPECT_EQ(index, 4u);
    // The request names the three columns of the address, in order.
    EXPECT_EQ(std::string(StandIn::Get().log()),
              "get 1.3.6.1.2.1.4.20.1.1.10.2.0.2 1.3.6.1.2.1.4.20.1.2.10.2.0.2 1.3.6.1.2.1.4.20.1.3.10.2.0.2\n");

    mask = index = 1;
    output = probe::CaptureStdout([&] { EXPECT_EQ(GetAddressInformation(Ip("10.3.0.2"), &mask, &index), 0); });
    EXPECT_EQ(output, "");
    EXPECT_EQ(mask, 0u);
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(StandIn::Get().Outstanding(), outstandingBefore);
}

// The n-th allocation fails: 1 to 6 are FindIpRoute's own buffers, 7 to 9 those of the address lookup.
TEST_F(SnmpRoutes, BufferShortageIsReportedAndLeavesNothingBehind)
{
    const char* tables = "addr 10.1.0.2 255.255.255.0 1\n"
                         "route 0.0.0.0 0.0.0.0 192.168.9.1 2\n"
                         "route 0.0.0.0 0.0.0.0 10.1.0.1 1\n";
    for (LONG n = 1; n <= 9; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " fails");
        Tables(tables);
        StandIn::Get().failAllocation(n);
        SetLastError(0);
        IpRouteRecord route;
        std::string output;
        int found = Find("10.1.0.2", "0.0.0.0", &route, &output);
        DWORD error = GetLastError();
        EXPECT_EQ(output.rfind("FindIpRoute: SnmpUtilMemAlloc of 50. dwords failed.\n", 0), 0u) << output;
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
        if (n <= 6) {
            EXPECT_EQ(found, 0);
            EXPECT_EQ(output, "FindIpRoute: SnmpUtilMemAlloc of 50. dwords failed.\n");
        } else {
            // Without the local address's interface and mask the last default route wins.
            EXPECT_EQ(found, 1);
            EXPECT_EQ(IpText(route.nextHop), "10.1.0.1");
        }
        StandIn::Get().failAllocation(0);
    }
}

TEST_F(SnmpRoutes, DefaultRouteNextHop)
{
    Tables("route 10.9.0.0 255.255.0.0 10.1.0.11 1\nroute 0.0.0.0 0.0.0.0 10.1.0.1 1\n");
    DWORD hop = 0;
    std::string output = probe::CaptureStdout([&] { EXPECT_EQ(GetIpDefaultRoute(&hop), 1); });
    EXPECT_EQ(output, "GetIpDefaultRoute: SnmpExtensionQuery OK.\n");
    EXPECT_EQ(IpText(hop), "10.1.0.1");
    EXPECT_EQ(std::string(StandIn::Get().log()), "get 1.3.6.1.2.1.4.21.1.7.0.0.0.0\n");

    Tables("route 10.9.0.0 255.255.0.0 10.1.0.11 1\n");
    hop = Ip("1.2.3.4");
    output = probe::CaptureStdout([&] { EXPECT_EQ(GetIpDefaultRoute(&hop), 0); });
    EXPECT_EQ(output, "GetIpDefaultRoute: SnmpExtensionQuery OK.\n");
    EXPECT_EQ(IpText(hop), "1.2.3.4");

    StandIn::Get().failAllocation(1);
    SetLastError(0);
    output = probe::CaptureStdout([&] { EXPECT_EQ(GetIpDefaultRoute(&hop), 0); });
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(output, "GetIpDefaultRoute: SNMP_malloc of 50. dwords failed.\n");
    StandIn::Get().failAllocation(0);
    EXPECT_EQ(StandIn::Get().Outstanding(), outstandingBefore);
}

TEST_F(SnmpRoutes, AddRouteSendsOneSetRequestIndexedByTheDestination)
{
    Tables("route 0.0.0.0 0.0.0.0 10.1.0.1 1\n");
    IpRouteRecord added = {Ip("10.7.0.0"), Ip("255.255.0.0"), Ip("10.1.0.77"), 4, 9};
    std::string output = probe::CaptureStdout([&] { EXPECT_EQ(AddIpRoute(&added), 1); });
    EXPECT_EQ(output, "AddIpRoute: SnmpExtensionQuery OK.\n");
    EXPECT_EQ(std::string(StandIn::Get().log()),
              "set 1.3.6.1.2.1.4.21.1.1.10.7.0.0=ip:10.7.0.0 1.3.6.1.2.1.4.21.1.11.10.7.0.0=ip:255.255.0.0 "
              "1.3.6.1.2.1.4.21.1.7.10.7.0.0=ip:10.1.0.77 1.3.6.1.2.1.4.21.1.8.10.7.0.0=int:4 "
              "1.3.6.1.2.1.4.21.1.3.10.7.0.0=int:9\n");
    EXPECT_EQ(StandIn::Get().Outstanding(), outstandingBefore);

    // The agent stored it: the route search now takes it.
    IpRouteRecord route;
    ASSERT_EQ(Find("10.1.0.2", "10.7.3.3", &route), 1);
    EXPECT_EQ(IpText(route.nextHop), "10.1.0.77");
    EXPECT_EQ(route.metric1, 9);

    // A refusal is a failure.
    Tables("set-status 4\n");
    output = probe::CaptureStdout([&] { EXPECT_EQ(AddIpRoute(&added), 0); });
    EXPECT_EQ(output, "AddIpRoute: SnmpExtensionQuery OK.\n");
    EXPECT_EQ(StandIn::Get().Outstanding(), outstandingBefore);
}

TEST_F(SnmpRoutes, AddRouteBufferShortage)
{
    IpRouteRecord added = {Ip("10.7.0.0"), Ip("255.255.0.0"), Ip("10.1.0.77"), 4, 9};
    for (LONG n = 1; n <= 9; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " fails");
        Tables("");
        StandIn::Get().failAllocation(n);
        SetLastError(0);
        std::string output = probe::CaptureStdout([&] { EXPECT_EQ(AddIpRoute(&added), 0); });
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
        // The six name buffers are reported; the three value buffers fail silently.
        EXPECT_EQ(output, n <= 6 ? "AddIpRoute: SnmpUtilMemAlloc of 50. dwords failed.\n" : "");
        EXPECT_EQ(std::string(StandIn::Get().log()), "") << "no request may be sent";
        StandIn::Get().failAllocation(0);
        EXPECT_EQ(StandIn::Get().Outstanding(), outstandingBefore);
    }
}

TEST_F(SnmpRoutes, BindingHelpers)
{
    UINT* buffer = static_cast<UINT*>(SnmpUtilMemAlloc(OID_BUFFER_BYTES));
    ASSERT_NE(buffer, nullptr);
    UINT count = ipRouteNextHopOid.idLength;
    OidWithIPIndex(buffer, ipRouteNextHopOid.ids, &count, Ip("192.168.100.254"));
    ASSERT_EQ(count, 14u);
    const UINT expected[14] = {1, 3, 6, 1, 2, 1, 4, 21, 1, 7, 192, 168, 100, 254};
    EXPECT_EQ(memcmp(buffer, expected, sizeof expected), 0);

    // An owned IpAddress value goes back with the name.
    BYTE* bytes = static_cast<BYTE*>(SnmpUtilMemAlloc(4));
    AsnOctetString octets;
    FillAsnIPAddress(&octets, Ip("10.1.2.3"), bytes);
    EXPECT_EQ(octets.stream, bytes);
    EXPECT_EQ(octets.length, 4u);
    EXPECT_TRUE(octets.dynamic);
    EXPECT_EQ(IpText(*reinterpret_cast<DWORD*>(bytes)), "10.1.2.3");
    RFC1157VarBind binding;
    memset(&binding, 0x5A, sizeof binding);
    FillVarBind(&binding, buffer, count, ASN_RFC1155_IPADDRESS, &octets, sizeof octets);
    EXPECT_EQ(binding.name.ids, buffer);
    EXPECT_EQ(binding.name.idLength, 14u);
    EXPECT_EQ(binding.value.asnType, ASN_RFC1155_IPADDRESS);
    EXPECT_EQ(binding.value.asnValue.address.stream, bytes);
    FreeVarBind(&binding);
    EXPECT_EQ(StandIn::Get().Outstanding(), outstandingBefore);

    // A value without bytes is cleared; a borrowed IpAddress is not released.
    buffer = static_cast<UINT*>(SnmpUtilMemAlloc(OID_BUFFER_BYTES));
    FillVarBind(&binding, buffer, 10, ASN_NULL, nullptr, 0);
    EXPECT_EQ(binding.value.asnType, ASN_NULL);
    EXPECT_EQ(binding.value.asnValue.number, 0);
    BYTE borrowed[4] = {1, 2, 3, 4};
    AsnOctetString notOwned = {borrowed, 4, FALSE};
    binding.value.asnType = ASN_RFC1155_IPADDRESS;
    binding.value.asnValue.address = notOwned;
    FreeVarBind(&binding);
    EXPECT_EQ(StandIn::Get().Outstanding(), outstandingBefore);
}

TEST(RouteKind, IsValidRoute)
{
    struct Case {
        const char *address, *dest, *mask;
        int kind;
    } cases[] = {
        {"10.9.0.5", "0.0.0.0", "0.0.0.0", 1},          {"10.9.0.5", "0.0.0.0", "255.255.255.255", 1},
        {"0.0.0.0", "0.0.0.0", "0.0.0.0", 1},           {"10.9.0.5", "10.9.0.0", "255.255.0.0", 2},
        {"10.9.0.5", "10.9.0.5", "255.255.255.255", 2}, {"10.9.0.6", "10.9.0.5", "255.255.255.255", 0},
        {"10.8.0.5", "10.9.0.0", "255.255.0.0", 0},     {"0.0.0.0", "10.9.0.0", "255.255.0.0", 0},
        {"10.9.0.5", "10.9.0.0", "255.0.0.0", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidRoute(Ip(c.address), Ip(c.dest), Ip(c.mask)), c.kind)
            << c.address << " via " << c.dest << "/" << c.mask;
}

TEST(RouteKind, ColumnConstants)
{
    struct Case {
        const AsnObjectIdentifier* oid;
        const char* text;
    } cases[] = {
        {&ipRouteDestOid, "1.3.6.1.2.1.4.21.1.1"},           {&ipRouteIfIndexOid, "1.3.6.1.2.1.4.21.1.2"},
        {&ipRouteMetric1Oid, "1.3.6.1.2.1.4.21.1.3"},        {&ipRouteNextHopOid, "1.3.6.1.2.1.4.21.1.7"},
        {&ipRouteTypeOid, "1.3.6.1.2.1.4.21.1.8"},           {&ipRouteMaskOid, "1.3.6.1.2.1.4.21.1.11"},
        {&ipDefaultRouteOid, "1.3.6.1.2.1.4.21.1.7.0.0.0.0"}, {&ipAdEntAddrOid, "1.3.6.1.2.1.4.20.1.1"},
        {&ipAdEntIfIndexOid, "1.3.6.1.2.1.4.20.1.2"},        {&ipAdEntNetMaskOid, "1.3.6.1.2.1.4.20.1.3"},
    };
    for (const Case& c : cases) {
        std::string text;
        for (UINT i = 0; i < c.oid->idLength; ++i) text += (i ? "." : "") + std::to_string(c.oid->ids[i]);
        EXPECT_EQ(text, c.text);
    }
}

}  // namespace
