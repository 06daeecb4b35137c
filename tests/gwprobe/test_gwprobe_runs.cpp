// The built gwprobe.exe, run as its caller would run it: the stand-in agent serves the tables,
// the registry key HKEY_CLASSES_ROOT\ZFARLINE carries the server address and the results.
#include <gtest/gtest.h>

#include "ProbeSupport.h"

using probe::Ip;
using probe::IpText;

namespace {

const DWORD kNoGateway = 0xFFFFFFFF;  // exit code -1

// This computer's address as the tool finds it, so a crafted address table can contain it.
std::string LocalAddress()
{
    static std::string local = [] {
        WSADATA data;
        WSAStartup(MAKEWORD(1, 1), &data);
        std::string text = "0.0.0.0";
        char name[256];
        if (gethostname(name, sizeof name) == 0)
            if (const hostent* host = gethostbyname(name))
                if (host->h_addr_list && host->h_addr_list[0]) {
                    DWORD a;
                    memcpy(&a, host->h_addr_list[0], 4);
                    text = IpText(a);
                }
        WSACleanup();
        return text;
    }();
    return local;
}

class GatewayProbe : public ::testing::Test {
protected:
    void SetUp() override { probe::DeleteKey(); }
    void TearDown() override { probe::DeleteKey(); }

    // Runs gwprobe.exe with the stand-ins of the given folder serving these tables. Wine looks for a
    // library in the program's own folder before its system folder, so the built program runs from
    // a fresh copy beside the stand-ins; WINEDLLOVERRIDES (set for this test) keeps Wine's own
    // libraries out, so a folder without one of them plays a missing library.
    probe::RunResult Probe(const std::string& tables, const char* standins = "full",
                           std::vector<std::string> environment = {})
    {
        std::string folder = probe::WindowsPath(std::string(STANDIN_DIR) + "/" + standins);
        std::string exe = folder + "\\gwprobe.exe";
        if (!CopyFileA(probe::WindowsPath(GWPROBE_EXE).c_str(), exe.c_str(), FALSE)) {
            probe::RunResult failed;
            failed.exitCode = 0xDEADBEEF;
            failed.output = "<cannot copy gwprobe.exe to " + exe + ">";
            return failed;
        }
        char dir[MAX_PATH], file[MAX_PATH];
        GetTempPathA(sizeof dir, dir);
        GetTempFileNameA(dir, "tbl", 0, file);
        if (FILE* f = fopen(file, "wb")) {
            fwrite(tables.data(), 1, tables.size(), f);
            fclose(f);
        }
        environment.push_back(std::string("STANDIN_MIB_TABLE=") + file);
        probe::RunResult r = probe::Run(exe, environment);
        DeleteFileA(file);
        return r;
    }

    // A table whose default route leads to the gateway given, with the local address on its subnet.
    std::string DefaultTable(const char* gateway)
    {
        return "addr " + LocalAddress() + " 255.255.255.0 1\n" + "route 0.0.0.0 0.0.0.0 " + gateway + " 1\n" +
               "route 192.168.77.0 255.255.255.0 192.168.100.254 1\n";
    }
};

// Every line ends in LF, the gateway line alone in CR LF.
void ExpectLineEnds(const std::string& output)
{
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        ASSERT_NE(end, std::string::npos) << "unterminated last line: " << output.substr(start);
        std::string line = output.substr(start, end - start);
        bool gatewayLine = line.rfind("Gateway: ", 0) == 0;
        if (gatewayLine)
            EXPECT_TRUE(!line.empty() && line.back() == '\r') << line;
        else
            EXPECT_EQ(line.find('\r'), std::string::npos) << line;
        start = end + 1;
    }
}

TEST_F(GatewayProbe, WithoutServerAddressRecordsTheDefaultGateway)
{
    // Key present but no PORTREVE_ADDR value.
    probe::SetSubkeyDefault("UNRELATED", "x");
    probe::RunResult r = Probe(DefaultTable("10.0.0.1"));
    EXPECT_EQ(r.exitCode, 0u) << r.output;
    EXPECT_EQ(r.output.rfind("Winsock:  ", 0), 0u) << r.output;
    EXPECT_NE(r.output.find("\n\t\t Max sockets: "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("\nInitSnmp Initialize OK.\n"), std::string::npos) << r.output;
    // The gateway line is the last, exactly.
    const std::string last = "Gateway: 10.0.0.1 [10.0.0.1]\r\n";
    ASSERT_GE(r.output.size(), last.size());
    EXPECT_EQ(r.output.substr(r.output.size() - last.size()), last) << r.output;
    ExpectLineEnds(r.output);
    DWORD type = 0;
    EXPECT_EQ(probe::SubkeyDefault("GATEWAY_ADDR", &type), "10.0.0.1");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(probe::SubkeyDefault("GW_INFO_ADDED", &type), "DONE");
}

TEST_F(GatewayProbe, MissingKeyIsReportedAndTheDefaultGatewayRecorded)
{
    probe::RunResult r = Probe(DefaultTable("10.0.0.1"));
    EXPECT_EQ(r.exitCode, 0u) << r.output;
    EXPECT_NE(r.output.find("\nRegOpenKey of ZFARLINE failed (2.)\n"), std::string::npos) << r.output;
    EXPECT_EQ(probe::SubkeyDefault("GATEWAY_ADDR"), "10.0.0.1");
    ExpectLineEnds(r.output);
}

TEST_F(GatewayProbe, ServerAddressSelectsItsRouteAndTheTextHasNoLeadingZeros)
{
    probe::SetServer("192.168.77.9");
    probe::RunResult r = Probe(DefaultTable("10.0.0.1"));
    EXPECT_EQ(r.exitCode, 0u) << r.output;
    EXPECT_NE(r.output.find("\nGateway: 192.168.100.254 [192.168.100.254]\r\n"), std::string::npos) << r.output;
    EXPECT_EQ(probe::SubkeyDefault("GATEWAY_ADDR"), "192.168.100.254");

    // Inner zeros stay, octets of one and two digits are not filled out.
    probe::SetServer("198.51.100.7");
    r = Probe("route 0.0.0.0 0.0.0.0 100.5.0.105 1\n");
    EXPECT_NE(r.output.find("\nGateway: 100.5.0.105 [100.5.0.105]\r\n"), std::string::npos) << r.output;
    EXPECT_EQ(probe::SubkeyDefault("GATEWAY_ADDR"), "100.5.0.105");
}

TEST_F(GatewayProbe, NoRouteExitsMinusOneAndLeavesTheRecordAlone)
{
    probe::SetServer("198.51.100.7");
    probe::SetSubkeyDefault("GATEWAY_ADDR", "10.0.0.1");
    probe::RunResult r = Probe("route 192.168.77.0 255.255.255.0 192.168.100.254 1\n");
    EXPECT_EQ(r.exitCode, kNoGateway) << r.output;
    EXPECT_EQ(r.output.find("Gateway:"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("GetIpRouteInfo: SnmpExtensionQuery OK.\n"), std::string::npos) << r.output;
    EXPECT_EQ(probe::SubkeyDefault("GATEWAY_ADDR"), "10.0.0.1");
    EXPECT_EQ(probe::SubkeyDefault("GW_INFO_ADDED"), "<absent>");
}

TEST_F(GatewayProbe, RouteSearchWithoutBuffersExitsMinusOne)
{
    // The agent's start takes the first block; the second is the route search's first buffer.
    probe::SetServer("192.168.77.9");
    probe::SetSubkeyDefault("GATEWAY_ADDR", "10.0.0.1");
    probe::RunResult r = Probe(DefaultTable("10.0.0.1"), "full", {"STANDIN_SNMP_FAIL_ALLOC=2"});
    EXPECT_EQ(r.exitCode, kNoGateway) << r.output;
    const std::string tail = "\nInitSnmp Initialize OK.\nFindIpRoute: SnmpUtilMemAlloc of 50. dwords failed.\n";
    ASSERT_GE(r.output.size(), tail.size());
    EXPECT_EQ(r.output.substr(r.output.size() - tail.size()), tail) << r.output;
    EXPECT_EQ(probe::SubkeyDefault("GATEWAY_ADDR"), "10.0.0.1");
}

TEST_F(GatewayProbe, SecondRunWithAChangedTableReplacesTheGateway)
{
    probe::SetServer("192.168.77.9");
    probe::RunResult first = Probe(DefaultTable("10.0.0.1"));
    EXPECT_EQ(first.exitCode, 0u) << first.output;
    EXPECT_EQ(probe::SubkeyDefault("GATEWAY_ADDR"), "192.168.100.254");
    probe::RunResult second = Probe(DefaultTable("10.0.0.1") + "route 192.168.77.9 255.255.255.255 10.0.0.99 1\n");
    EXPECT_EQ(second.exitCode, 0u) << second.output;
    EXPECT_EQ(probe::SubkeyDefault("GATEWAY_ADDR"), "10.0.0.99");
    EXPECT_EQ(probe::SubkeyDefault("GW_INFO_ADDED"), "DONE");
}

TEST_F(GatewayProbe, KeyThatCannotBeCreatedStillExitsZero)
{
    ASSERT_TRUE(probe::MakeKeyUncreatable());
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "ZFARLINE", &key), ERROR_FILE_NOT_FOUND);
    probe::RunResult r = Probe(DefaultTable("10.0.0.1"));
    EXPECT_EQ(r.exitCode, 0u) << r.output;
    EXPECT_NE(r.output.find("\nRegOpenKey of ZFARLINE failed (2.)\n"), std::string::npos) << r.output;
    const std::string tail = "\nGateway: 10.0.0.1 [10.0.0.1]\r\n_RegCreateKey of ZFARLINE failed (2.)\n";
    ASSERT_GE(r.output.size(), tail.size());
    EXPECT_EQ(r.output.substr(r.output.size() - tail.size()), tail) << r.output;
    ExpectLineEnds(r.output);
}

// A server address that is not well-formed, or doesn't fit its buffer, counts as no address: the
// default gateway is recorded, and the run stays within its buffers.
TEST_F(GatewayProbe, MalformedServerAddressFallsBackToTheDefaultGateway)
{
    struct Case {
        const char* name;
        std::string data;
        const char* gateway;
    } cases[] = {
        {"well-formed, for contrast", std::string("192.168.77.9", 13), "192.168.100.254"},
        {"31 characters without a null", "    192.    168.     77.      9", "192.168.100.254"},
        {"32 characters without a null", std::string("192.168.77.9") + std::string(20, ' '), "10.0.0.1"},
        {"longer than the buffer", std::string("192.168.77.9") + std::string(60, '0') + '\0', "10.0.0.1"},
        {"a part longer than seven characters", std::string("192.168.77.00000009", 20), "10.0.0.1"},
        {"too few parts", std::string("192.168", 8), "10.0.0.1"},
        {"too many parts", std::string("192.168.77.9.1", 15), "10.0.0.1"},
        {"a number above 255", std::string("192.168.77.300", 15), "10.0.0.1"},
        {"empty", std::string("", 1), "10.0.0.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        probe::SetServerRaw(c.data.data(), static_cast<DWORD>(c.data.size()));
        probe::RunResult r = Probe(DefaultTable("10.0.0.1"));
        EXPECT_EQ(r.exitCode, 0u) << r.output;
        EXPECT_EQ(probe::SubkeyDefault("GATEWAY_ADDR"), c.gateway) << r.output;
    }
}

TEST_F(GatewayProbe, MissingLibraryOrEntryPointEndsTheRunAtOnce)
{
    const char* folders[] = {"no-snmpapi", "no-memalloc", "no-memfree", "no-inetmib1", "no-init", "no-query"};
    probe::SetSubkeyDefault("GATEWAY_ADDR", "10.0.0.1");
    for (const char* folder : folders) {
        SCOPED_TRACE(folder);
        probe::RunResult r = Probe(DefaultTable("10.9.9.9"), folder);
        EXPECT_EQ(r.exitCode, kNoGateway) << r.output;
        EXPECT_NE(r.output.find("\nInitSnmp Initialize FAILED.\n"), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find("GetIpRouteInfo"), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find("RegOpenKey"), std::string::npos) << r.output;
        EXPECT_EQ(probe::SubkeyDefault("GATEWAY_ADDR"), "10.0.0.1");
    }
}

}  // namespace
