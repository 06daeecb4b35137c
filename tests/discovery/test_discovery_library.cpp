// The binding to QXLNK32.DLL: loading, the seven entry points, attaching and detaching the
// transport, unloading on every path, and the texts of failures.
#include <gtest/gtest.h>
#include "Standin.h"
#include "discovery/DiscoveryLibrary.h"

namespace {

using standin::Standin;
using Lines = std::vector<std::string>;

const char kPrefix[] = "Unable to load QXLNK32.DLL.\n\n";

bool AllEntryPoints(const CDiscoveryLibrary& lib, bool set)
{
    const void* p[] = {reinterpret_cast<const void*>(lib.m_pfnFindDevices),
                       reinterpret_cast<const void*>(lib.m_pfnCloseStack),
                       reinterpret_cast<const void*>(lib.m_pfnInitStack),
                       reinterpret_cast<const void*>(lib.m_pfnGetSerialNames),
                       reinterpret_cast<const void*>(lib.m_pfnFindADevice),
                       reinterpret_cast<const void*>(lib.m_pfnGetServerInfo),
                       reinterpret_cast<const void*>(lib.m_pfnFindVersionDevices)};
    for (const void* q : p)
        if ((q != nullptr) != set) return false;
    return true;
}

TEST(DiscoveryLibrary, LoadFailuresReportTheSystemErrorCode)
{
    struct Case {
        const char* variant;
        const char* script;
        int error;
        Lines log;
    };
    const Case cases[] = {
        // No library on the search path.
        {"none", "", ERROR_MOD_NOT_FOUND, {}},
        // The library is there but refuses to load (its engine is missing).
        {"full", "refuse_load\n", ERROR_DLL_INIT_FAILED, {"load refused", "unload"}},
        // Six of seven exports: refused, unloaded, the engine never asked to attach.
        {"no-HLPFindDevices", "", ERROR_PROC_NOT_FOUND, {"load", "unload"}},
        {"no-HLPFindVersionDevices", "", ERROR_PROC_NOT_FOUND, {"load", "unload"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.variant);
        Standin s(c.variant);
        s.Script(c.script);
        for (int transport : {HLP_TRANSPORT_TCPIP, HLP_TRANSPORT_IPX}) {
            s.ClearLog();
            CDiscoveryLibrary lib;
            EXPECT_EQ(lib.Open(transport), c.error);
            EXPECT_EQ(lib.m_lastResult, c.error);
            EXPECT_EQ(lib.m_transport, 0);
            EXPECT_EQ(lib.m_hModule, nullptr);
            EXPECT_FALSE(Standin::Loaded());
            EXPECT_TRUE(AllEntryPoints(lib, false));
            EXPECT_EQ(lib.GetOpenErrorText(), kPrefix + std::string("Unknown Error (") + std::to_string(c.error) + ")");
            EXPECT_EQ(s.Log(), c.log);
        }
    }
}

TEST(DiscoveryLibrary, OpenAttachesTheTransportAndCloseDetachesAndUnloads)
{
    Standin s;
    {
        CDiscoveryLibrary lib;
        ASSERT_EQ(lib.Open(HLP_TRANSPORT_IPX), 0);
        EXPECT_EQ(lib.m_transport, HLP_TRANSPORT_IPX);
        EXPECT_EQ(lib.m_lastResult, 0);
        EXPECT_TRUE(Standin::Loaded());
        EXPECT_TRUE(AllEntryPoints(lib, true));
        EXPECT_EQ(s.Log(), (Lines{"load", "HLPInitStack 200"}));

        lib.Close();
        EXPECT_EQ(s.Log(), (Lines{"load", "HLPInitStack 200", "HLPCloseStack 200", "unload"}));
        EXPECT_FALSE(Standin::Loaded());
        EXPECT_EQ(lib.m_transport, 0);
        EXPECT_EQ(lib.m_hModule, nullptr);
        // The addresses pointed into the unloaded library.
        EXPECT_TRUE(AllEntryPoints(lib, false));
        HLP_SERVER_INFO info{};
        HLP_ADDRESS address{};
        EXPECT_EQ(lib.GetServerInfo(&address, &info), -1);
        EXPECT_EQ(lib.GetErrorText(), "Unknown Error (-1)");

        // Closing again, or closing what was never opened, does nothing.
        lib.Close();
        CDiscoveryLibrary unopened;
        unopened.Close();
        EXPECT_EQ(s.Log().size(), 4u);
    }
    // Leaving the scope closes an open binding.
    s.ClearLog();
    {
        CDiscoveryLibrary lib;
        ASSERT_EQ(lib.Open(HLP_TRANSPORT_TCPIP), 0);
    }
    EXPECT_EQ(s.Log(), (Lines{"load", "HLPInitStack 2", "HLPCloseStack 2", "unload"}));
    EXPECT_FALSE(Standin::Loaded());
}

TEST(DiscoveryLibrary, RefusedTransportUnloadsWithoutClosingTheStack)
{
    Standin s;
    s.Script("init -5\n");
    CDiscoveryLibrary lib;
    EXPECT_EQ(lib.Open(HLP_TRANSPORT_TCPIP), -5);
    EXPECT_EQ(lib.m_lastResult, -5);
    EXPECT_EQ(lib.m_transport, 0);
    EXPECT_FALSE(Standin::Loaded());
    EXPECT_EQ(s.Log(), (Lines{"load", "HLPInitStack 2", "unload"}));
    EXPECT_EQ(lib.GetOpenErrorText(),
              std::string(kPrefix) +
                  "A required networking file (NWIPXSPX.DLL or WINSOCK.DLL)\ncould not be found. Verify that IPX/SPX "
                  "or TCP/IP networking\nis working properly, then try again. If this problem continues,\ncontact "
                  "your network administrator");
    // An answer outside the table still counts as a refusal.
    s.Script("init 7\n");
    s.ClearLog();
    EXPECT_EQ(lib.Open(HLP_TRANSPORT_IPX), 7);
    EXPECT_EQ(lib.GetOpenErrorText(), std::string(kPrefix) + "Unknown Error (7)");
    EXPECT_EQ(s.Log(), (Lines{"load", "HLPInitStack 200", "unload"}));
}

TEST(DiscoveryLibrary, ReopeningClosesTheOldTransportAndLoadsAfresh)
{
    Standin s;
    CDiscoveryLibrary lib;
    ASSERT_EQ(lib.Open(HLP_TRANSPORT_TCPIP), 0);
    ASSERT_EQ(lib.Open(HLP_TRANSPORT_IPX), 0);
    EXPECT_EQ(s.Log(), (Lines{"load", "HLPInitStack 2", "HLPCloseStack 2", "unload", "load", "HLPInitStack 200"}));
    EXPECT_EQ(lib.m_transport, HLP_TRANSPORT_IPX);
    EXPECT_TRUE(AllEntryPoints(lib, true));
}

TEST(DiscoveryLibrary, OtherTransportsAreRefusedWithoutTouchingTheBinding)
{
    Standin s;
    CDiscoveryLibrary fresh;
    fresh.m_lastResult = -52;
    for (int transport : {0, 1, 6, 199, 201, -2}) EXPECT_EQ(fresh.Open(transport), -1) << transport;
    EXPECT_EQ(fresh.m_lastResult, -52);
    EXPECT_EQ(fresh.m_hModule, nullptr);
    EXPECT_TRUE(s.Log().empty());

    CDiscoveryLibrary open;
    ASSERT_EQ(open.Open(HLP_TRANSPORT_TCPIP), 0);
    EXPECT_EQ(open.Open(6), -1);
    EXPECT_EQ(open.m_transport, HLP_TRANSPORT_TCPIP);
    EXPECT_EQ(open.m_lastResult, 0);
    EXPECT_EQ(s.Log(), (Lines{"load", "HLPInitStack 2"}));
}

TEST(DiscoveryLibrary, ErrorTextsOfTheEngineCodes)
{
    struct Case {
        int code;
        const char* text;
    };
    const Case cases[] = {
        {-2, "An unknown TCP/IP error has occurred. Verify that your\nTCP/IP networking is working correctly, then try again. If this\nproblem continues, contact your network administrator."},
        {-3, "There was not enough memory to complete the action you\nwere attempting. Try closing some unneeded programs, then\ntry this operation again."},
        {-5, "A required networking file (NWIPXSPX.DLL or WINSOCK.DLL)\ncould not be found. Verify that IPX/SPX or TCP/IP networking\nis working properly, then try again. If this problem continues,\ncontact your network administrator"},
        {-7, "An error occurred searching for Farline devices on your\nnetwork. (-7) If this problem continues, contact your network\nadministrator."},
        {-8, "An error occurred searching for Farline devices on your\nnetwork. (-8) If this problem continues, contact your network\nadministrator."},
        {-9, "An error occurred searching for Farline devices on your\nnetwork. (-9) If this problem continues, contact your network\nadministrator."},
        {-10, "Could not find the initialization (ZANTU.INI) file. Make sure the\ncorrect path and environment statements appear in your\nAUTOEXEC.BAT file, then restart your computer and try again."},
        {-50, "A TCP/IP networking file (WINSOCK.DLL) in use on your\nsystem is not the correct version. It must be version 1.1 or\nhigher. Reinstall a supported TCP/IP networking package,\nthen try again."},
        {-51, "A network error occurred when closing the connection to the\nFarline device. If this problem continues, contact your network \nadministrator."},
        {-52, "A network error occurred. Check your connections to the\nnetwork and make sure the network is working, then try again.\nIf this problem continues, contact your network administrator."},
        {-53, "The Farline device did not accept the TCP/IP network\nconnection for dialing out. If this problem continues, contact\nyour network administrator."},
        {-54, "The networking protocol currently selected for dialing out is not\nsupported on this computer. Select a different protocol\nfor dialing out in the control panel, then try again."},
        {-55, "The Farline device could not be found on the network at this\ntime. Wait a while, then try again. If this problem continues,\ncontact your network administrator for assistance."},
        {-56, "Could not send data to the Farline device over the network.\nCheck the device and your computer\222s connections to the\nnetwork, then try again."},
        {-57, "Could not receive data from the Farline device over the\nnetwork. Check the device and your computer\222s connections\nto the network, then try again."},
        {-58, "The TCP/IP Farline device name you specified could not be\nfound on the network. Check the exact device name and\nreenter it if necessary, then try again."},
        {-80, "A required setting could not be found in the Farline setting\nfiles. Reinstall the Farline software from the original disks, then \ntry again."},
        {-81, "A required section could not be found in the Farline setting\nfiles. Reinstall the Farline software from the original disks, then \ntry again."},
        {-131, "The Farline device you specified cannot be used with the\nTCP/IP networking protocol. Select a different protocol or a\ndifferent device for dialing out, then try again."},
        // Codes without a text of their own, a missing entry point's -1 included.
        {-4, "Unknown Error (-4)"},
        {-1, "Unknown Error (-1)"},
        {0, "Unknown Error (0)"},
        {-6, "Unknown Error (-6)"},
        {-132, "Unknown Error (-132)"},
        {126, "Unknown Error (126)"},
        {-2147483647 - 1, "Unknown Error (-2147483648)"},
    };
    for (const Case& c : cases) {
        CDiscoveryLibrary lib;
        lib.m_lastResult = c.code;
        EXPECT_EQ(lib.GetErrorText(), c.text) << c.code;
        EXPECT_EQ(lib.GetOpenErrorText(), kPrefix + std::string(c.text)) << c.code;
    }
}

TEST(DiscoveryLibrary, QueriesPassTheirFixedArgumentsAndKeepTheResult)
{
    Standin s;
    HLP_DEVICE_ENTRY ipx = standin::IpxEntry("NW1", 9);
    s.Script("find -9\n" + standin::InfoLine(ipx, -57, 4, 1, 0) + "serial -58\nfound -3\n");
    CDiscoveryLibrary lib;
    ASSERT_EQ(lib.Open(HLP_TRANSPORT_IPX), 0);
    s.ClearLog();

    std::vector<BYTE> table(HLP_DEVICE_TABLE_SIZE);
    WORD count = 0;
    HLP_VERSION version = {4, 0, 0, 0, 0};
    EXPECT_EQ(lib.FindVersionDevices(table.data(), &count, &version), -9);
    EXPECT_EQ(lib.m_lastResult, -9);

    HLP_ADDRESS address{};
    address.ipx.wTransport = HLP_TRANSPORT_IPX;
    memcpy(address.ipx.network, EntryBytes(ipx, HLP_OFS_IPX_NET), 4);
    memcpy(address.ipx.node, EntryBytes(ipx, HLP_OFS_IPX_NODE), 6);
    address.ipx.socket = EntryWord(ipx, HLP_OFS_IPX_SOCKET);
    HLP_SERVER_INFO info{};
    EXPECT_EQ(lib.GetServerInfo(&address, &info), -57);
    EXPECT_EQ(lib.m_lastResult, -57);

    std::vector<HLP_PORT_NAME> names(HLP_PORT_NAMES_ENTRIES);
    count = 0;
    EXPECT_EQ(lib.GetSerialNames(&address, names.data(), &count, HLP_WAIT_IPX), -58);
    EXPECT_EQ(lib.m_lastResult, -58);

    HLP_FOUND_DEVICE found{};
    EXPECT_EQ(lib.FindADevice(nullptr, "ras.example", &found), -3);
    EXPECT_EQ(lib.GetErrorText(),
              "There was not enough memory to complete the action you\nwere attempting. Try closing some unneeded "
              "programs, then\ntry this operation again.");

    std::string addr = standin::IpxAddressHex(ipx);
    EXPECT_EQ(s.Log(), (Lines{"HLPFindVersionDevices 200 1 * * ptr 65313 count=0 null 3 null version=0400000000",
                              "HLPGetServerInfo addr=" + addr + " 5 null",
                              "HLPGetSerialNames 200 1 addr=" + addr + " ptr 16384 count=0 null 5 null",
                              "HLPFindADevice addr=null host=ras.example ptr 0 marlow"}));
}

TEST(DiscoveryLibrary, FindADeviceAnswersFollowInTurnWithinOneBinding)
{
    Standin s;
    HLP_FOUND_DEVICE record{};
    record.entry = standin::IpEntry("Found", 10, 0, 0, 1);
    record.version = {4, 5, 4, 0x90, 2};
    s.Script("found -3\nfound -3\nfound 0 " + standin::Hex(&record, sizeof record) + "\n");
    CDiscoveryLibrary lib;
    ASSERT_EQ(lib.Open(HLP_TRANSPORT_TCPIP), 0);
    HLP_ADDRESS address{};
    address.ip = {HLP_TRANSPORT_TCPIP, 2, HLP_DISCOVERY_PORT, {10, 0, 0, 1}, {}};
    HLP_FOUND_DEVICE found{};
    EXPECT_EQ(lib.FindADevice(&address, nullptr, &found), -3);
    EXPECT_EQ(lib.FindADevice(&address, nullptr, &found), -3);
    EXPECT_EQ(lib.FindADevice(&address, nullptr, &found), 0);
    EXPECT_EQ(memcmp(&found, &record, sizeof found), 0);
    // The last answer repeats; a fresh load starts from the first again.
    EXPECT_EQ(lib.FindADevice(&address, nullptr, &found), 0);
    ASSERT_EQ(lib.Open(HLP_TRANSPORT_TCPIP), 0);
    EXPECT_EQ(lib.FindADevice(&address, nullptr, &found), -3);
    const std::string call = "HLPFindADevice addr=020002000D060A000001" + std::string(16, '0') + " host=null ptr 0 marlow";
    EXPECT_EQ(s.Calls(call).size(), 5u);
}

}  // namespace
