// gwprobe's address texts and registry functions.
#include <gtest/gtest.h>

#include "ProbeSupport.h"
#include "tools/gwprobe/gwprobe.h"

using probe::Ip;
using probe::IpText;

namespace {

TEST(GatewayText, MyItoaWritesDigitsWithoutLeadingZeros)
{
    struct Case {
        int value;
        const char* text;
    } cases[] = {{0, "0"}, {100, "100"}, {105, "105"}, {7, "7"}, {10, "10"}, {255, "255"},
                 {2147483647, "2147483647"}, {-5, "-5"}, {-2147483647 - 1, "-2147483648"}};
    for (const Case& c : cases) {
        char buffer[16];
        memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(my_itoa(c.value, buffer), buffer);
        EXPECT_STREQ(buffer, c.text);
    }
}

// Well-formed text converts part by part with the C library's decimal conversion; anything else
// gives 0.0.0.0.
TEST(GatewayText, AsciiToIPAddress)
{
    struct Case {
        const char* text;
        const char* address;
    } cases[] = {
        {"10.9.0.5", "10.9.0.5"},
        {"192.168.100.254", "192.168.100.254"},
        {"255.255.255.255", "255.255.255.255"},
        {"0.0.0.0", "0.0.0.0"},
        {"010.009.000.005", "10.9.0.5"},
        {"  10. 9.+0.5", "10.9.0.5"},      // leading blanks and a sign, as the conversion allows
        {"10.9.0.5x", "10.9.0.5"},         // the conversion stops at the first other character
        {"1234567.1.1.1", "0.0.0.0"},      // seven characters but too large
        {"10.9.0.256", "0.0.0.0"},
        {"10.9.0.-1", "0.0.0.0"},
        {"10.9.0", "0.0.0.0"},             // too few parts
        {"10", "0.0.0.0"},
        {"10.9.0.5.7", "0.0.0.0"},         // too many
        {"10.9.00000005.1", "0.0.0.0"},    // a part of eight characters
        {"10.9.0.99999999999999999999", "0.0.0.0"},
        {"000000000000000000000000000010.1.1.1", "0.0.0.0"},
        {"a.b.c.d", "0.0.0.0"},            // converts to 0.0.0.0 part by part too
        {"10..0.5", "10.0.0.5"},           // an empty part converts to 0
    };
    for (const Case& c : cases) {
        DWORD address = Ip("1.2.3.4");
        AsciiToIPAddress(c.text, &address);
        EXPECT_EQ(IpText(address), c.address) << "\"" << c.text << "\"";
    }
}

class GatewayRegistry : public ::testing::Test {
protected:
    void SetUp() override { probe::DeleteKey(); }
    void TearDown() override { probe::DeleteKey(); }

    int Read(char* buffer, DWORD size, std::string* output = nullptr)
    {
        int result = 0;
        std::string text = probe::CaptureStdout(
            [&] { result = GetRegistryString(HKEY_CLASSES_ROOT, "ZFARLINE", "PORTREVE_ADDR", buffer, size); });
        if (output) *output = text;
        return result;
    }
};

TEST_F(GatewayRegistry, GetRegistryStringOpensButNeverCreatesTheKey)
{
    char buffer[32] = "untouched";
    std::string output;
    EXPECT_EQ(Read(buffer, sizeof buffer, &output), -1);
    EXPECT_EQ(output, "RegOpenKey of ZFARLINE failed (2.)\n");
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, "ZFARLINE", 0, KEY_READ, &key), ERROR_SUCCESS);

    // Key present, value missing: silent 0.
    probe::SetSubkeyDefault("GATEWAY_ADDR", "10.0.0.1");
    EXPECT_EQ(Read(buffer, sizeof buffer, &output), 0);
    EXPECT_EQ(output, "");
    EXPECT_STREQ(buffer, "");
}

// Whatever the stored data, the buffer holds a terminated text and nothing past it is touched.
TEST_F(GatewayRegistry, GetRegistryStringKeepsToItsBuffer)
{
    struct Case {
        const char* name;
        std::string data;  // stored exactly, terminating null only where included
        int result;
        const char* text;
        DWORD type = REG_SZ;
    } cases[] = {
        {"ordinary text", std::string("10.9.0.5", 9), 1, "10.9.0.5"},
        {"31 characters with their null", std::string(31, '7') + '\0', 1, "7777777777777777777777777777777"},
        {"31 characters without a null", std::string(31, '7'), 1, "7777777777777777777777777777777"},
        {"32 characters without a null", std::string(32, '8'), 0, ""},
        {"32 characters with a null", std::string(32, '8') + '\0', 0, ""},
        {"40 characters", std::string(40, '9') + '\0', 0, ""},
        {"empty", std::string("", 1), 1, ""},
        {"no data at all", std::string(), 1, ""},
        // Binary data comes back byte for byte, so a full buffer really arrives without a null.
        {"32 binary bytes", std::string(32, '8'), 0, "", REG_BINARY},
        {"31 binary bytes", std::string(31, '7'), 1, "7777777777777777777777777777777", REG_BINARY},
        {"binary bytes with a null inside", std::string("10.9.0.5\0garbage-garbage-garbage", 32), 1, "10.9.0.5",
         REG_BINARY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        probe::SetServerRaw(c.data.data(), static_cast<DWORD>(c.data.size()), c.type);
        char area[48];
        memset(area, '#', sizeof area);
        char* buffer = area + 8;  // 32 bytes with guards either side
        EXPECT_EQ(Read(buffer, 32), c.result);
        EXPECT_STREQ(buffer, c.text);
        for (int i = 0; i < 8; ++i) EXPECT_EQ(area[i], '#') << "byte before the buffer";
        for (int i = 40; i < 48; ++i) EXPECT_EQ(area[i], '#') << "byte after the buffer";
    }
}

TEST_F(GatewayRegistry, SetProfileStringWritesBothSubkeysDefaultValues)
{
    std::string output = probe::CaptureStdout(
        [] { EXPECT_EQ(SetProfileString(HKEY_CLASSES_ROOT, "ZFARLINE", "GATEWAY_ADDR", "192.168.100.254"), 0); });
    EXPECT_EQ(output, "");
    DWORD type = 0;
    EXPECT_EQ(probe::SubkeyDefault("GATEWAY_ADDR", &type), "192.168.100.254");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(probe::SubkeyDefault("GW_INFO_ADDED", &type), "DONE");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    // The results are subkeys' values, not named values of ZFARLINE itself.
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "ZFARLINE", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_NE(RegQueryValueExA(key, "GATEWAY_ADDR", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    RegCloseKey(key);

    // A second write replaces the first.
    EXPECT_EQ(SetProfileString(HKEY_CLASSES_ROOT, "ZFARLINE", "GATEWAY_ADDR", "10.0.0.1"), 0);
    EXPECT_EQ(probe::SubkeyDefault("GATEWAY_ADDR"), "10.0.0.1");
}

TEST_F(GatewayRegistry, SetProfileStringRefusesAKeyNameLongerThanItsBuffer)
{
    std::string longest(127, 'K');
    std::string tooLong(128, 'K');
    std::string output =
        probe::CaptureStdout([&] { EXPECT_EQ(SetProfileString(HKEY_CLASSES_ROOT, tooLong.c_str(), "G", "1"), -1); });
    EXPECT_EQ(output, "_RegCreateKey of " + tooLong + " failed (87.)\n");
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, tooLong.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);

    EXPECT_EQ(SetProfileString(HKEY_CLASSES_ROOT, longest.c_str(), "G", "1"), 0);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, longest.c_str());
}

}  // namespace
