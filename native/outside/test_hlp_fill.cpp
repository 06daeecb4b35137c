// Filling the engine's fixed records: every text field NUL-terminated within its size, numbers
// little-endian at their offsets.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "wire/HlpFill.h"

namespace {

using namespace hlpfill;

bool Terminated(const uint8_t* field, size_t size) { return memchr(field, 0, size) != nullptr; }

TEST(HlpFill, EntryFieldsStayInsideTheirSizesWhateverTheTexts)
{
    struct Case {
        std::string type, ident, name;
    } cases[] = {
        {"", "", ""},
        {std::string(47, 'T'), "12345678", std::string(47, 'N')},
        {std::string(300, 'T'), std::string(30, 'I'), std::string(300, 'N')},  // longer than any datagram allows
        {std::string("ab\0cd", 5), std::string("x\0y", 3), "name"},
    };
    const uint8_t ip[4] = {10, 1, 2, 3};
    for (const Case& c : cases) {
        uint8_t entry[kEntrySize + 8];
        memset(entry, 0xCC, sizeof entry);
        wire::Description d;
        d.type = c.type;
        d.ident = c.ident;
        d.name = c.name;
        FillEntry(entry, d, ip, 1549);
        EXPECT_TRUE(Terminated(entry + kOfsType, kTypeSize));
        EXPECT_TRUE(Terminated(entry + kOfsIdent, kIdentSize));
        EXPECT_TRUE(Terminated(entry + kOfsName, kNameSize));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(entry + kOfsName)), c.name.substr(0, std::min<size_t>(47, strlen(c.name.c_str()))));
        for (size_t i = kEntrySize; i < sizeof entry; ++i) EXPECT_EQ(entry[i], 0xCC) << "written past the entry";
        EXPECT_EQ(entry[0], 2);
        EXPECT_EQ(entry[1], 0);
        EXPECT_EQ(entry[kOfsFamily], 2);
        EXPECT_EQ(entry[kOfsPort], 1549 & 0xFF);
        EXPECT_EQ(entry[kOfsPort + 1], 1549 >> 8);
        EXPECT_EQ(memcmp(entry + kOfsAddr, ip, 4), 0);
        for (size_t i = kOfsAddr + 4; i < kEntrySize; ++i) EXPECT_EQ(entry[i], 0);
    }
}

TEST(HlpFill, FoundRecordCarriesTheVersionAt125)
{
    uint8_t found[kFoundSize];
    memset(found, 0xCC, sizeof found);
    wire::Description d;
    d.name = "X";
    d.version = wire::Version{4, 5, 4, 0x90, 2};
    const uint8_t ip[4] = {127, 0, 0, 1};
    FillFound(found, d, ip, 1549);
    const uint8_t version[5] = {4, 5, 4, 0x90, 2};
    EXPECT_EQ(memcmp(found + kOfsFoundVersion, version, 5), 0);
    EXPECT_EQ(found[123], 0);
    EXPECT_EQ(found[124], 0);
    EXPECT_EQ(found[130], 0);
    EXPECT_EQ(found[131], 0);
}

TEST(HlpFill, EngineServerInfoHoldsVersionGroupCountAndUsability)
{
    uint8_t info[kServerInfo16Size];
    wire::Description d;
    d.version = wire::Version{4, 0, 2, 0x80, 0};
    d.groups = 0x1234;
    d.flags = wire::kFlagUsable | 0x80;
    FillServerInfo16(info, d);
    const uint8_t expected[10] = {4, 0, 2, 0x80, 0, 0, 0x34, 0x12, 1, 0};
    EXPECT_EQ(memcmp(info, expected, 10), 0);
    d.flags = 0x80;
    FillServerInfo16(info, d);
    EXPECT_EQ(info[kOfsInfoFlag2], 0);
}

TEST(HlpFill, PortNamesFillTheirSlotAndEndInNul)
{
    uint8_t slot[kPortNameSize + 1];
    memset(slot, 0xCC, sizeof slot);
    CopyText(slot, kPortNameSize, std::string(400, 'g'));
    EXPECT_EQ(slot[kPortNameSize - 1], 0);
    EXPECT_EQ(slot[kPortNameSize], 0xCC);
    CopyText(slot, kPortNameSize, "All_Ports");
    EXPECT_STREQ(reinterpret_cast<char*>(slot), "All_Ports");
    for (size_t i = 9; i < kPortNameSize; ++i) EXPECT_EQ(slot[i], 0);
}

}  // namespace
