// The IPLookupMethods text: which forms are accepted, which addresses they name, what is refused.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "wire/LookupMethods.h"

namespace {

using lookup::Item;

uint32_t A(int a, int b, int c, int d) { return (uint32_t(a) << 24) | (uint32_t(b) << 16) | (uint32_t(c) << 8) | uint32_t(d); }

TEST(LookupMethods, AcceptedFormsAndTheAddressesTheyName)
{
    struct Case {
        std::string text;
        size_t items;
        uint64_t addresses;
        Item::Kind firstKind;
        uint32_t first, last;
    } cases[] = {
        {"", 1, 0, Item::kBroadcast, 0, 0},
        {"  ,; ", 1, 0, Item::kBroadcast, 0, 0},
        {"bcast", 1, 0, Item::kBroadcast, 0, 0},
        {"10.0.0.1", 1, 1, Item::kRange, A(10, 0, 0, 1), A(10, 0, 0, 1)},
        {"10.0.0.1-5", 1, 5, Item::kRange, A(10, 0, 0, 1), A(10, 0, 0, 5)},
        {"10.0.0.250-10.0.1.5", 1, 12, Item::kRange, A(10, 0, 0, 250), A(10, 0, 1, 5)},
        {"192.168.7.9/24", 1, 254, Item::kRange, A(192, 168, 7, 1), A(192, 168, 7, 254)},
        {"192.168.7.9/31", 1, 2, Item::kRange, A(192, 168, 7, 8), A(192, 168, 7, 9)},
        {"192.168.7.9/32", 1, 1, Item::kRange, A(192, 168, 7, 9), A(192, 168, 7, 9)},
        {"127.0.0.0/20", 1, 4094, Item::kRange, A(127, 0, 0, 1), A(127, 0, 15, 254)},
        {"ras-1.example.com", 1, 1, Item::kHost, 0, 0},
        {"@Farline:Hosts", 1, 0, Item::kSection, 0, 0},
        {"BCAST, 10.0.0.1;10.0.0.2\t@S ras", 5, 3, Item::kBroadcast, 0, 0},
    };
    for (const Case& c : cases) {
        std::vector<Item> items;
        std::string reason;
        ASSERT_TRUE(lookup::Parse(c.text, true, items, &reason)) << c.text << ": " << reason;
        ASSERT_EQ(items.size(), c.items) << c.text;
        EXPECT_EQ(lookup::CountAddresses(items), c.addresses) << c.text;
        EXPECT_EQ(items[0].kind, c.firstKind) << c.text;
        if (c.firstKind == Item::kRange) {
            EXPECT_EQ(items[0].first, c.first) << c.text;
            EXPECT_EQ(items[0].last, c.last) << c.text;
        }
    }
    std::vector<Item> items;
    ASSERT_TRUE(lookup::Parse("@Farline:Hosts", true, items, nullptr));
    EXPECT_EQ(items[0].text, "Farline:Hosts");
}

TEST(LookupMethods, RefusedTexts)
{
    const char* refused[] = {
        "1.2.3",            // neither an address nor a host name
        "256.1.1.1",
        "10.0.0.5-3",       // ends before it starts
        "10.0.0.5-256",
        "10.0.0.5-",
        "10.0.0.5/15",      // more than the prefix lengths allowed
        "10.0.0.5/33",
        "10.0.0.5/",
        "127.0.0.0/19",     // 8190 addresses
        "10.0.0.1-10.0.16.1",
        "@",
        "bad_name!",
        "-leading.dash",
        "ipx:all",
        "0010.0.0.1",
    };
    for (const char* text : refused) {
        std::vector<Item> items;
        EXPECT_FALSE(lookup::Parse(text, true, items, nullptr)) << text;
    }
    std::vector<Item> items;
    EXPECT_FALSE(lookup::Parse("@S", false, items, nullptr)) << "no section references inside a section";
}

TEST(LookupMethods, SectionLines)
{
    std::vector<Item> items;
    ASSERT_TRUE(lookup::ParseSectionLine("first=10.0.0.1", items, nullptr));
    ASSERT_TRUE(lookup::ParseSectionLine("; a comment", items, nullptr));
    ASSERT_TRUE(lookup::ParseSectionLine("   ", items, nullptr));
    ASSERT_TRUE(lookup::ParseSectionLine("10.0.0.2-4, ras", items, nullptr));
    EXPECT_EQ(items.size(), 3u);
    EXPECT_EQ(lookup::CountAddresses(items), 5u);
    EXPECT_FALSE(lookup::ParseSectionLine("x=@S", items, nullptr));
    EXPECT_FALSE(lookup::ParseSectionLine("x=1.2", items, nullptr));
    EXPECT_EQ(items.size(), 3u) << "a refused line adds nothing";
}

TEST(LookupMethods, HostNamesAndAddresses)
{
    struct Case {
        const char* text;
        bool host;
        bool address;
    } cases[] = {
        {"localhost", true, false},  {"ras1.", true, false},       {"a-b.c", true, false},  {"192.168.1", false, false},
        {"192.168.1.1", false, true}, {"1.2.3.4.5", false, false}, {"a..b", false, false},  {"a-.b", false, false},
        {"x_y", false, false},        {"", false, false},          {".", false, false},     {"1.2.3.04", false, true},
    };
    for (const Case& c : cases) {
        size_t n = strlen(c.text);
        uint32_t a;
        EXPECT_EQ(lookup::IsHostName(c.text, n), c.host) << c.text;
        EXPECT_EQ(lookup::ParseIPv4(c.text, n, a), c.address) << c.text;
    }
    EXPECT_TRUE(lookup::IsHostName(std::string(63, 'a').c_str(), 63));
    EXPECT_FALSE(lookup::IsHostName(std::string(64, 'a').c_str(), 64));
    std::string longName;
    for (int i = 0; i < 64; ++i) longName += "abc.";
    EXPECT_FALSE(lookup::IsHostName(longName.c_str(), longName.size()));
}

}  // namespace
