// The datagram format: what is written reads back the same, and every damaged or hostile datagram
// is refused.
#include <gtest/gtest.h>
#include <cstring>
#include <functional>
#include <string>
#include <vector>
#include "wire/Wire.h"

namespace {

using Bytes = std::vector<uint8_t>;

wire::Description Sample()
{
    wire::Description d;
    d.type = "Farline Remote Access Server";
    d.ident = "ORD3";
    d.name = "ALPHA";
    d.version = wire::Version{4, 5, 4, 0x90, 2};
    d.flags = wire::kFlagUsable;
    d.groups = 3;
    return d;
}

Bytes Description(const wire::Description& d, uint32_t id = 77, wire::Status status = wire::kOk)
{
    uint8_t b[wire::kMaxDatagram];
    size_t n = wire::EncodeDescription(id, status, &d, b, sizeof b);
    return Bytes(b, b + n);
}

bool Decodes(const Bytes& b)
{
    wire::Answer a;
    return wire::DecodeAnswer(b.data(), b.size(), a);
}

// Sets the body length field to match the datagram after a change of size.
void FixLength(Bytes& b)
{
    size_t body = b.size() - wire::kHeaderSize;
    b[10] = static_cast<uint8_t>(body >> 8);
    b[11] = static_cast<uint8_t>(body);
}

TEST(Wire, RequestsReadBackAsWritten)
{
    wire::Request search, info, ports;
    search.kind = wire::kSearch;
    search.id = 0xDEADBEEF;
    info.kind = wire::kInfo;
    info.id = 1;
    info.community = "marlow";
    ports.kind = wire::kPorts;
    ports.id = 2;
    ports.first = 300;
    for (const wire::Request& r : {search, info, ports}) {
        uint8_t b[wire::kMaxDatagram];
        size_t n = wire::EncodeRequest(r, b, sizeof b);
        ASSERT_GT(n, 0u);
        wire::Request back;
        ASSERT_TRUE(wire::DecodeRequest(b, n, back));
        EXPECT_EQ(back.kind, r.kind);
        EXPECT_EQ(back.id, r.id);
        EXPECT_EQ(back.community, r.community);
        EXPECT_EQ(back.first, r.first);
        wire::Answer notAnAnswer;
        EXPECT_FALSE(wire::DecodeAnswer(b, n, notAnAnswer)) << "a request is no answer";
    }
}

TEST(Wire, DescriptionsReadBackAsWrittenAndAreNoRequests)
{
    wire::Description d = Sample();
    d.type = std::string(47, 'T');
    d.ident = "ABCDEFGH";
    d.name = std::string(47, 'n');
    Bytes b = Description(d, 0x01020304);
    wire::Answer a;
    ASSERT_TRUE(wire::DecodeAnswer(b.data(), b.size(), a));
    EXPECT_EQ(a.kind, wire::kDescription);
    EXPECT_EQ(a.id, 0x01020304u);
    EXPECT_EQ(a.description.type, d.type);
    EXPECT_EQ(a.description.ident, d.ident);
    EXPECT_EQ(a.description.name, d.name);
    EXPECT_EQ(a.description.version.releaseCode, 0x90);
    EXPECT_EQ(a.description.version.releaseNumber, 2);
    EXPECT_EQ(a.description.flags, wire::kFlagUsable);
    EXPECT_EQ(a.description.groups, 3);
    wire::Request r;
    EXPECT_FALSE(wire::DecodeRequest(b.data(), b.size(), r));

    // A refusal carries no body.
    Bytes refused = Description(d, 5, wire::kRefused);
    ASSERT_TRUE(wire::DecodeAnswer(refused.data(), refused.size(), a));
    EXPECT_EQ(a.status, wire::kRefused);
    EXPECT_EQ(refused.size(), wire::kHeaderSize);
}

TEST(Wire, WritersRefuseTextsLongerThanTheirFields)
{
    uint8_t b[wire::kMaxDatagram];
    const std::vector<std::function<void(wire::Description&)>> tooLong = {
        [](wire::Description& d) { d.type = std::string(48, 't'); },
        [](wire::Description& d) { d.ident = "123456789"; },
        [](wire::Description& d) { d.name = std::string(48, 'n'); },
    };
    for (const auto& change : tooLong) {
        wire::Description d = Sample();
        change(d);
        EXPECT_EQ(wire::EncodeDescription(1, wire::kOk, &d, b, sizeof b), 0u);
    }
    wire::Request r;
    r.kind = wire::kInfo;
    r.community = std::string(32, 'c');
    EXPECT_EQ(wire::EncodeRequest(r, b, sizeof b), 0u);
    EXPECT_EQ(wire::EncodeDescription(1, wire::kOk, nullptr, b, sizeof b), 0u);
    EXPECT_EQ(wire::EncodePortList(1, wire::kOk, {std::string(256, 'g')}, 0, b, sizeof b), 0u);
    wire::Description fits = Sample();
    EXPECT_EQ(wire::EncodeDescription(1, wire::kOk, &fits, b, 20), 0u) << "does not fit the buffer";
}

TEST(Wire, EveryDamagedDescriptionIsRefused)
{
    const Bytes good = Description(Sample());
    ASSERT_TRUE(Decodes(good));
    for (size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(Decodes(Bytes(good.begin(), good.begin() + n))) << "cut at " << n;

    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
    };
    const size_t typeAt = wire::kHeaderSize, identAt = typeAt + 1 + good[typeAt];
    const size_t nameAt = identAt + 1 + good[identAt];
    const Case cases[] = {
        {"magic", [](Bytes& b) { b[1] = 'G'; }},
        {"protocol version", [](Bytes& b) { b[2] = 2; }},
        {"unknown kind", [](Bytes& b) { b[3] = 0x82; }},
        {"unknown status", [](Bytes& b) { b[8] = 3; }},
        {"reserved byte", [](Bytes& b) { b[9] = 1; }},
        {"body length too small", [](Bytes& b) { b[11] -= 1; }},
        {"body length too large", [](Bytes& b) { b[11] += 1; }},
        {"one byte more", [](Bytes& b) { b.push_back(0); }},
        {"one byte more, length agreeing", [](Bytes& b) { b.push_back(0); FixLength(b); }},
        {"type runs past the end", [=](Bytes& b) { b[typeAt] = 0xFF; }},
        {"ident longer than 8", [=](Bytes& b) {
             b.insert(b.begin() + static_cast<long>(identAt) + 1, 5, 'X');
             b[identAt] += 5;
             FixLength(b);
         }},
        {"line break in the name", [=](Bytes& b) { b[nameAt + 2] = '\n'; }},
        {"NUL in the name", [=](Bytes& b) { b[nameAt + 2] = 0; }},
        {"comma in the name", [=](Bytes& b) { b[nameAt + 2] = ','; }},
        {"colon in the ident", [=](Bytes& b) { b[identAt + 1] = ':'; }},
        {"DEL in the type", [=](Bytes& b) { b[typeAt + 1] = 0x7F; }},
        {"too large", [](Bytes& b) { b.resize(wire::kMaxDatagram + 1); FixLength(b); }},
    };
    for (const Case& c : cases) {
        Bytes b = good;
        c.damage(b);
        EXPECT_FALSE(Decodes(b)) << c.what;
    }
    // A type may hold punctuation that names and idents may not.
    wire::Description d = Sample();
    d.type = "Type: with, punctuation";
    EXPECT_TRUE(Decodes(Description(d)));
}

TEST(Wire, PortListsArePagedAndReassembled)
{
    std::vector<std::string> names;
    for (int i = 0; i < 120; ++i) names.push_back(std::string(30, static_cast<char>('a' + i % 26)) + std::to_string(i));
    std::vector<std::string> back;
    uint16_t first = 0;
    int pages = 0;
    while (first < names.size()) {
        uint8_t b[wire::kMaxDatagram];
        size_t n = wire::EncodePortList(9, wire::kOk, names, first, b, sizeof b);
        ASSERT_GT(n, 0u);
        ASSERT_LE(n, wire::kMaxDatagram);
        wire::Answer a;
        ASSERT_TRUE(wire::DecodeAnswer(b, n, a));
        EXPECT_EQ(a.page.total, names.size());
        EXPECT_EQ(a.page.first, first);
        ASSERT_GT(a.page.count, 0);
        back.insert(back.end(), a.page.names.begin(), a.page.names.end());
        first = static_cast<uint16_t>(first + a.page.count);
        ++pages;
    }
    EXPECT_EQ(back, names);
    EXPECT_GT(pages, 1);
}

TEST(Wire, PortListPagesThatDoNotAddUpAreRefused)
{
    uint8_t b[wire::kMaxDatagram];
    size_t n = wire::EncodePortList(9, wire::kOk, {"Command_Shell", "All_Ports"}, 0, b, sizeof b);
    Bytes good(b, b + n);
    ASSERT_TRUE(Decodes(good));
    // total at 12, first at 14, count at 16.
    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
        bool accepted;
    } cases[] = {
        {"count beyond total", [](Bytes& x) { x[13] = 1; }, false},
        {"first beyond total", [](Bytes& x) { x[15] = 3; }, false},
        {"no names although some remain", [](Bytes& x) { x[16] = 0; x.resize(17); FixLength(x); }, false},
        {"a name with a comma is left out", [](Bytes& x) { x[18] = ','; }, true},
        {"a name running past the end", [](Bytes& x) { x[17] = 200; }, false},
    };
    for (const Case& c : cases) {
        Bytes x = good;
        c.damage(x);
        wire::Answer a;
        EXPECT_EQ(wire::DecodeAnswer(x.data(), x.size(), a), c.accepted) << c.what;
        if (c.accepted) {
            EXPECT_EQ(a.page.names, std::vector<std::string>{"All_Ports"});
        }
    }
    // The empty listing.
    n = wire::EncodePortList(9, wire::kOk, {}, 0, b, sizeof b);
    wire::Answer a;
    ASSERT_TRUE(wire::DecodeAnswer(b, n, a));
    EXPECT_EQ(a.page.total, 0);
}

TEST(Wire, GlobPatterns)
{
    struct Case {
        const char* pattern;
        const char* text;
        bool match;
    } cases[] = {
        {"*", "anything", true},     {nullptr, "x", true},      {"", "x", true},         {"AL*", "alpha", true},
        {"al*", "BETA", false},      {"*pool", "Modem Pool", true}, {"a?c", "abc", true}, {"a?c", "ac", false},
        {"*a*b*c*", "xaxbxcx", true}, {"*a*b*c*", "xaxcxbx", false}, {"abc", "abcd", false}, {"**", "", true},
        {"*x", std::string(5000, 'a').c_str(), false},
    };
    for (const Case& c : cases) EXPECT_EQ(wire::GlobMatch(c.pattern, c.text), c.match) << (c.pattern ? c.pattern : "null");
}

TEST(Wire, VersionsCompareByMajorMinorRevision)
{
    using V = wire::Version;
    EXPECT_TRUE(wire::AtLeast(V{4, 0, 0, 0x10, 0}, V{4, 0, 0, 0, 0}));
    EXPECT_TRUE(wire::AtLeast(V{4, 0, 2, 0x80, 0}, V{4, 0, 1, 0, 0}));
    EXPECT_TRUE(wire::AtLeast(V{5, 0, 0, 0x80, 0}, V{4, 9, 9, 0, 0}));
    EXPECT_FALSE(wire::AtLeast(V{3, 9, 9, 0x80, 0}, V{4, 0, 0, 0, 0}));
    EXPECT_FALSE(wire::AtLeast(V{4, 0, 1, 0x80, 0}, V{4, 0, 2, 0, 0}));
    EXPECT_FALSE(wire::AtLeast(V{4, 1, 0, 0x80, 0}, V{4, 2, 0, 0, 0}));
}

}  // namespace
