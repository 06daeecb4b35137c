// Text forms of addresses and versions.
#include <gtest/gtest.h>
#include <cstring>
#include "config/AddressText.h"

namespace {

HLP_DEVICE_ENTRY WithAddress(WORD transport, std::initializer_list<BYTE> bytes)
{
    HLP_DEVICE_ENTRY e;
    memset(&e, 0, sizeof e);
    e.wTransport = transport;
    std::copy(bytes.begin(), bytes.end(), EntryBytes(e, 107));
    return e;
}

TEST(AddressText, TcpIpAddressAndPort)
{
    auto e = WithAddress(HLP_TRANSPORT_TCPIP, {2, 0, 0x0D, 0x06, 10, 1, 2, 3});
    EXPECT_EQ(IpAddressText(e), "10.1.2.3");
    EXPECT_EQ(IpPortText(e), "0x060D");
    EXPECT_EQ(DisplayAddressText(e), "10.1.2.3");

    auto longest = WithAddress(HLP_TRANSPORT_TCPIP, {2, 0, 0xFF, 0xFF, 255, 255, 255, 255});
    EXPECT_EQ(IpAddressText(longest), "255.255.255.255");
    EXPECT_EQ(IpAddressText(longest).size(), 15u);
    EXPECT_EQ(IpPortText(longest), "0xFFFF");
}

TEST(AddressText, IpxNetworkNodeSocketAndHops)
{
    auto e = WithAddress(HLP_TRANSPORT_IPX,
                         {0, 0, 0x00, 0x00, 0x01, 0xA2, 0x00, 0x80, 0xC7, 0x12, 0x34, 0x56, 0x51, 0x04, 0x01, 0x00});
    EXPECT_EQ(IpxNetworkText(e), "0x000001A2");
    EXPECT_EQ(IpxNodeText(e), "0x0080C7123456");
    EXPECT_EQ(IpxSocketText(e), "0x0451");
    EXPECT_EQ(IpxHopsText(e), "0x0001");
    EXPECT_EQ(DisplayAddressText(e), "000001A2:0080C7123456:0451");

    auto lower = WithAddress(HLP_TRANSPORT_IPX, {0, 0, 0xab, 0xcd, 0xef, 0x01, 0xfe, 0xdc, 0xba, 0x98, 0x76, 0x54});
    EXPECT_EQ(IpxNetworkText(lower), "0xABCDEF01");
    EXPECT_EQ(IpxNodeText(lower), "0xFEDCBA987654");

    auto other = WithAddress(5, {});
    EXPECT_EQ(DisplayAddressText(other), "");
}

TEST(AddressText, VersionWithAndWithoutReleaseLetter)
{
    struct Case {
        HLP_VERSION v;
        const char* text;
    } cases[] = {
        {{4, 1, 2, 0x80, 3}, "4.1.2"},  {{4, 1, 2, 0x20, 3}, "4.1.2b3"}, {{4, 1, 2, 0x55, 3}, "4.1.2?3"},
        {{4, 1, 2, 0x10, 1}, "4.1.2u1"}, {{4, 1, 2, 0x40, 1}, "4.1.2a1"}, {{4, 1, 2, 0x60, 2}, "4.1.2b2"},
        {{4, 1, 2, 0x70, 9}, "4.1.2f9"}, {{4, 1, 2, 0x90, 4}, "4.1.2p4"}, {{255, 255, 255, 0, 255}, "255.255.255?255"},
    };
    for (const Case& c : cases) EXPECT_EQ(VersionText(c.v), c.text);
}

}  // namespace
