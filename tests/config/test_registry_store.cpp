// Loading and saving the configuration through the real registry and ZANTU.INI.
#include <gtest/gtest.h>
#include <fstream>
#include "TestEnvironment.h"
#include "config/IniFile.h"
#include "config/RegistryExchange.h"
#include "config/RegistryInfo.h"

using namespace testenv;

namespace {

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppletKey();
        MakeZantuDirectory("store", "[COMM]\r\n");
    }
    // A first opening: every default written.
    void FirstLoad()
    {
        CRegistryInfo config;
        config.LoadAll();
    }
};

struct DwordDefault {
    const std::string key;
    const char* name;
    DWORD value;
};

TEST_F(RegistryStore, FirstLoadWritesEveryDefaultAndAnEmptyServersKey)
{
    CRegistryInfo config;
    config.LoadAll();
    const DwordDefault dwords[] = {
        {Comm(), "Narrate", 0},       {Comm(), "ShowUsableOnly", 1},   {Comm(), "COM1Redir", 0},
        {Comm(), "COM2Redir", 0},     {Comm(), "COM3Redir", 0},        {Comm(), "COM4Redir", 0},
        {Zfarline(), "receive", 16},  {Zfarline(), "send", 40},        {Zfarline(), "transmit", 40},
        {Zfarline(), "buffer", 8},    {Zfarline(), "reopen", 12000},   {Zfarline(), "silent_auth", 1},
        {Zfarline(), "addroute", 1},  {Zfarline(), "passcache", 3600000},
    };
    for (const auto& d : dwords) EXPECT_EQ(GetDword(d.key, d.name), d.value) << d.name;
    for (const char* name : {"Username", "COM1List", "COM2List", "COM3List", "COM4List"})
        EXPECT_EQ(GetString(Comm(), name), "") << name;
    // No IPX on this machine, so TCP/IP is the default network.
    EXPECT_EQ(GetString(Comm(), "Transport"), "TCP/IP");
    EXPECT_EQ(config.options.Transport, "TCP/IP");
    EXPECT_EQ(config.options.reopen, 12000u);
    EXPECT_EQ(config.options.Modem_Location, 1u);
    EXPECT_TRUE(KeyExists(Servers()));
    EXPECT_EQ(config.servers.GetSize(), 0);
}

// One damaged value and what a load makes of it.
struct Damage {
    std::string key;
    const char* name;
    DWORD type;
    std::string data;       // raw bytes as stored
    bool loadsAsStored;     // the value is valid and kept
};

std::string Dword(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
std::string Sz(const std::string& s) { return s + '\0'; }

TEST_F(RegistryStore, DamagedValuesAreReplacedByTheirDefaultsAndWrittenBack)
{
    const Damage cases[] = {
        {Zfarline(), "reopen", REG_DWORD, Dword(0), false},
        {Zfarline(), "reopen", REG_DWORD, Dword(65536), false},
        {Zfarline(), "reopen", REG_DWORD, Dword(65535), true},
        {Zfarline(), "reopen", REG_DWORD, std::string("\x10\x27", 2), false},   // a DWORD of 2 bytes
        {Zfarline(), "reopen", REG_SZ, Sz("12000"), false},                    // wrong type
        {Zfarline(), "passcache", REG_DWORD, Dword(0xFFFFFFFF), true},
        {Zfarline(), "passcache", REG_DWORD, Dword(0), true},
        {Zfarline(), "receive", REG_DWORD, Dword(256), false},
        {Zfarline(), "silent_auth", REG_DWORD, Dword(2), false},
        {Comm(), "Narrate", REG_DWORD, Dword(1), true},
        {Comm(), "Narrate", REG_BINARY, Dword(1), false},
        {Comm(), "Username", REG_SZ, Sz(std::string(31, 'u')), true},
        {Comm(), "Username", REG_SZ, Sz(std::string(32, 'u')), false},
        {Comm(), "Username", REG_DWORD, Dword(5), false},
        {Comm(), "Transport", REG_SZ, Sz("TCP/IP"), true},
        {Comm(), "Transport", REG_SZ, Sz("TCP/IPX"), false},                   // 8 bytes: too long
        {Comm(), "Transport", REG_SZ, std::string(), false},                   // 0 bytes: too short
        {Comm(), "COM1List", REG_SZ, Sz(std::string(254, 'L')), true},
        {Comm(), "COM1List", REG_SZ, Sz(std::string(255, 'L')), false},
    };
    for (const Damage& c : cases) {
        ResetAppletKey();
        FirstLoad();
        std::string defaultData;
        DWORD defaultType;
        GetRaw(c.key, c.name, defaultType, defaultData);
        SetRaw(c.key, c.name, c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
        CRegistryInfo config;
        config.LoadAll();
        DWORD type = 0;
        std::string stored;
        ASSERT_TRUE(GetRaw(c.key, c.name, type, stored)) << c.name;
        if (c.loadsAsStored) {
            EXPECT_EQ(type, c.type) << c.name;
            EXPECT_EQ(stored, c.data) << c.name;
        } else {
            EXPECT_EQ(type, defaultType) << c.name;
            EXPECT_EQ(stored, defaultData) << c.name << " (" << c.data.size() << " bytes)";
        }
    }
}

TEST_F(RegistryStore, TextsWithoutTerminatorAreReadSafely)
{
    FirstLoad();
    // Three characters stored without their null: a valid size, read as the text.
    SetRaw(Comm(), "Username", REG_SZ, "abc", 3);
    SetRaw(Comm(), "COM2List", REG_SZ, "P:ORD05:", 8);
    SetRaw(Comm(), "Transport", REG_SZ, "IPX/SPX", 7);  // 7 bytes, no null: fills the 7-byte buffer
    CRegistryInfo config;
    config.LoadAll();
    EXPECT_EQ(config.options.Username, "abc");
    EXPECT_EQ(config.options.COM2List, "P:ORD05:");
    EXPECT_EQ(config.options.Transport, "TCP/IP");

    // 32 characters without a null fill the whole buffer: one byte more than allowed.
    std::string full(32, 'x');
    SetRaw(Comm(), "Username", REG_SZ, full.data(), 32);
    CRegistryInfo again;
    again.LoadAll();
    EXPECT_EQ(again.options.Username, "");
    EXPECT_EQ(GetString(Comm(), "Username"), "");
}

TEST_F(RegistryStore, QueryValueCheckCodes)
{
    FirstLoad();
    CRegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, (std::string(AppletKey()) + "\\COMM").c_str()), ERROR_SUCCESS);
    SetRaw(Comm(), "d2", REG_DWORD, "\x01\x00", 2);
    SetDword(Comm(), "d7", 7);
    SetString(Comm(), "s", "hello");
    BYTE buffer[16];
    EXPECT_EQ(QueryValue(key, "absent", REG_DWORD, 4, buffer, 0, 1), QUERY_READ_FAILED);
    SetString(Comm(), "short", "a");
    EXPECT_EQ(QueryValue(key, "short", REG_DWORD, 4, buffer, 0, 1), QUERY_WRONG_TYPE);
    EXPECT_EQ(QueryValue(key, "s", REG_DWORD, 4, buffer, 0, 1), QUERY_READ_FAILED);  // larger than the buffer
    EXPECT_EQ(QueryValue(key, "d2", REG_DWORD, 4, buffer, 0, 1), QUERY_BAD_DWORD_SIZE);
    EXPECT_EQ(QueryValue(key, "d7", REG_DWORD, 4, buffer, 0, 6), QUERY_OUT_OF_RANGE);
    EXPECT_EQ(QueryValue(key, "d7", REG_DWORD, 4, buffer, 7, 7), QUERY_VALID);
    EXPECT_EQ(QueryValue(key, "s", REG_SZ, 16, buffer, 1, 5), QUERY_OUT_OF_RANGE);  // 6 bytes stored
    EXPECT_EQ(QueryValue(key, "s", REG_SZ, 16, buffer, 1, 6), QUERY_VALID);
    EXPECT_EQ(QueryValue(key, "s", REG_SZ, 4, buffer, 1, 16), QUERY_READ_FAILED);   // larger than the buffer
}

void SaveServers(const char* transport, int count)
{
    CRegistryInfo config;
    config.LoadAll();
    config.options.Transport = transport;
    config.servers.DeleteAll();
    for (int i = 1; i <= count; ++i) {
        auto* s = new CServer;
        s->m_strName = FormatText("SRV%d", i);
        s->m_strIpAddr = FormatText("10.0.0.%d", i);
        s->m_strIpSocket = "0x060D";
        s->m_strIpxNetAddr = "0x000001A2";
        s->m_strIpxNodeAddr = "0x0080C7123456";
        s->m_strIpxSocket = "0x0451";
        s->m_strIpxHops = "0x0001";
        config.servers.AddOrReplace(s);
    }
    ASSERT_TRUE(config.ExchangeServers(XFER_SAVE));
}

std::vector<std::string> ValueNames(const std::string& subkey)
{
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD n = sizeof name;
        if (RegEnumValueA(key, i, name, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    RegCloseKey(key);
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(RegistryStore, ServersAreSavedWithTheAddressesOfTheirTransport)
{
    FirstLoad();
    SaveServers("IPX", 2);
    EXPECT_EQ(ValueNames(Servers()),
              (std::vector<std::string>{"SERVER1_IPX_HOPS", "SERVER1_IPX_NET_ADDR", "SERVER1_IPX_NODE_ADDR",
                                        "SERVER1_IPX_SOCKET", "SERVER1_NAME", "SERVER2_IPX_HOPS",
                                        "SERVER2_IPX_NET_ADDR", "SERVER2_IPX_NODE_ADDR", "SERVER2_IPX_SOCKET",
                                        "SERVER2_NAME"}));
    EXPECT_EQ(GetString(Servers(), "SERVER2_IPX_NODE_ADDR"), "0x0080C7123456");

    // The same key read under TCP/IP finds no IP address for server 1: an empty list.
    CRegistryInfo tcp;
    tcp.LoadAll();
    EXPECT_EQ(tcp.options.Transport, "TCP/IP");
    EXPECT_EQ(tcp.servers.GetSize(), 0);
    EXPECT_EQ(tcp.servers.Modified, 0u);

    // Saved and loaded under TCP/IP they come back in order.
    SaveServers("TCP/IP", 3);
    CRegistryInfo back;
    back.LoadAll();
    ASSERT_EQ(back.servers.GetSize(), 3);
    EXPECT_EQ(back.servers.GetAt(2)->m_strName, "SRV3");
    EXPECT_EQ(back.servers.GetAt(2)->m_strIpAddr, "10.0.0.3");
    EXPECT_EQ(back.servers.GetAt(0)->m_strIpSocket, "0x060D");
    EXPECT_TRUE(back.servers.GetAt(0)->m_strIpxNetAddr.empty());
}

TEST_F(RegistryStore, ServerGroupsAreNumberedFromOneAndAShrunkListLeavesNoOldGroup)
{
    FirstLoad();
    SaveServers("TCP/IP", 10);
    EXPECT_EQ(GetString(Servers(), "SERVER10_NAME"), "SRV10");
    SaveServers("TCP/IP", 5);
    SaveServers("TCP/IP", 2);
    EXPECT_EQ(ValueNames(Servers()), (std::vector<std::string>{"SERVER1_IP_ADDR", "SERVER1_IP_SOCKET", "SERVER1_NAME",
                                                               "SERVER2_IP_ADDR", "SERVER2_IP_SOCKET",
                                                               "SERVER2_NAME"}));
    SaveServers("TCP/IP", 0);
    EXPECT_TRUE(KeyExists(Servers()));
    EXPECT_TRUE(ValueNames(Servers()).empty());
}

TEST_F(RegistryStore, LoadingStopsAtTheFirstIncompleteGroup)
{
    FirstLoad();
    SaveServers("TCP/IP", 4);
    HKEY key;
    RegOpenKeyExA(HKEY_CURRENT_USER, Servers().c_str(), 0, KEY_ALL_ACCESS, &key);
    RegDeleteValueA(key, "SERVER3_IP_ADDR");
    RegCloseKey(key);
    CRegistryInfo config;
    config.LoadAll();
    ASSERT_EQ(config.servers.GetSize(), 2);
    EXPECT_EQ(config.servers.GetAt(1)->m_strName, "SRV2");
    // A too long address text ends the list the same way.
    SetString(Servers(), "SERVER2_IP_ADDR", "100.100.100.1000");
    CRegistryInfo again;
    again.LoadAll();
    EXPECT_EQ(again.servers.GetSize(), 1);
}

TEST_F(RegistryStore, DefaultModeForServersDoesNothing)
{
    FirstLoad();
    SaveServers("TCP/IP", 1);
    CRegistryInfo config;
    EXPECT_FALSE(config.ExchangeServers(XFER_DEFAULT));
    EXPECT_EQ(GetString(Servers(), "SERVER1_NAME"), "SRV1");
}

std::string FileText(const std::string& windowsPath)
{
    std::string text;
    HANDLE f = CreateFileA(windowsPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return text;
    char buffer[4096];
    DWORD n = 0;
    ::ReadFile(f, buffer, sizeof buffer, &n, nullptr);
    CloseHandle(f);
    return std::string(buffer, n);
}

TEST_F(RegistryStore, ModemLocationAndLookupMethodsLiveInZantuIni)
{
    struct Case {
        const char* text;
        DWORD value;
    } cases[] = {{"OFF", 0}, {"off", 0}, {"Off", 0}, {"false", 0}, {"FALSE", 0}, {"0", 0},
                 {"ON", 1},  {"NO", 1},  {"", 1},    {"yes", 1},   {"00", 1}};
    for (const Case& c : cases) {
        MakeZantuDirectory("store", std::string("[COMM]\r\nModem_Location=") + c.text + "\r\nIPLookupMethods=hosts\r\n");
        CRegistryInfo config;
        config.LoadAll();
        EXPECT_EQ(config.options.Modem_Location, c.value) << c.text;
        EXPECT_EQ(config.options.IPLookupMethods, "hosts");
    }
    // Without the key the display is on.
    std::string dir = MakeZantuDirectory("store", "[COMM]\r\n");
    CRegistryInfo config;
    config.LoadAll();
    EXPECT_EQ(config.options.Modem_Location, 1u);

    // Saving writes both keys; loading and other modes do not touch the file.
    config.options.Modem_Location = 0;
    config.options.IPLookupMethods = "127.0.0.1-127.0.0.9";
    ASSERT_TRUE(config.options.ExchangeOptions(XFER_SAVE));
    char buffer[256];
    GetPrivateProfileStringA("COMM", "Modem_Location", "?", buffer, sizeof buffer, (dir + "\\ZANTU.INI").c_str());
    EXPECT_STREQ(buffer, "OFF");
    GetPrivateProfileStringA("COMM", "IPLookupMethods", "?", buffer, sizeof buffer, (dir + "\\ZANTU.INI").c_str());
    EXPECT_STREQ(buffer, "127.0.0.1-127.0.0.9");
    std::string before = FileText(dir + "\\ZANTU.INI");
    ASSERT_TRUE(config.options.ExchangeOptions(XFER_DEFAULT));
    EXPECT_EQ(FileText(dir + "\\ZANTU.INI"), before);
}

TEST_F(RegistryStore, WithoutZantuTheIniKeysReadEmptyAndAreNotWritten)
{
    SetEnvironmentVariableA("ZANTU", nullptr);
    EXPECT_EQ(ZantuIniPath(), "");
    CIniFile ini;
    EXPECT_EQ(ini.GetString("COMM", "Modem_Location", "ON"), "");
    EXPECT_FALSE(ini.WriteString("COMM", "Modem_Location", "OFF"));
    CRegistryInfo config;
    config.LoadAll();
    EXPECT_EQ(config.options.Modem_Location, 1u);
    EXPECT_EQ(config.options.IPLookupMethods, "");
    EXPECT_TRUE(config.options.ExchangeOptions(XFER_SAVE));
}

TEST_F(RegistryStore, IniPathAddsABackslashOnlyWhenNeeded)
{
    SetEnvironmentVariableA("ZANTU", "C:\\ZANTU");
    EXPECT_EQ(ZantuIniPath(), "C:\\ZANTU\\ZANTU.INI");
    SetEnvironmentVariableA("ZANTU", "C:\\ZANTU\\");
    EXPECT_EQ(ZantuIniPath(), "C:\\ZANTU\\ZANTU.INI");
    SetEnvironmentVariableA("ZANTU", "");
    EXPECT_EQ(ZantuIniPath(), "");
}

TEST_F(RegistryStore, ClearPortsSavesEveryPortOffAndEmptyButKeepsModified)
{
    FirstLoad();
    CRegistryInfo config;
    config.LoadAll();
    config.options.COM2Redir = 1;
    config.options.COM2List = "A:ORD05:";
    config.options.Modified = 1;
    ASSERT_TRUE(config.options.ExchangeOptions(XFER_SAVE));
    EXPECT_EQ(GetDword(Comm(), "COM2Redir"), 1u);
    ASSERT_TRUE(config.options.ClearPorts());
    EXPECT_EQ(config.options.Modified, 1u);
    EXPECT_EQ(config.options.COM2Redir, 0u);
    EXPECT_EQ(GetDword(Comm(), "COM2Redir"), 0u);
    EXPECT_EQ(GetString(Comm(), "COM2List"), "");
}

}  // namespace
