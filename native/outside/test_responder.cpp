// What one simulated server answers, with and without the faults it is configured for.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "Responder.h"

namespace {

using Bytes = std::vector<uint8_t>;

sim::Server Server()
{
    sim::Config c;
    std::string error;
    EXPECT_TRUE(sim::ParseConfig("[server]\naddress = 127.0.0.1\nname = ALPHA\ngroups = a, b, c\n", c, error)) << error;
    return c.servers.at(0);
}

Bytes Request(wire::Kind kind, uint32_t id, const std::string& community = "", uint16_t first = 0)
{
    wire::Request r;
    r.kind = kind;
    r.id = id;
    r.community = community;
    r.first = first;
    uint8_t b[wire::kMaxDatagram];
    size_t n = wire::EncodeRequest(r, b, sizeof b);
    return Bytes(b, b + n);
}

// The one answer to a request, decoded; false when there was none or it did not decode.
bool Ask(const sim::Server& s, const Bytes& request, wire::Answer& answer, std::mt19937& random)
{
    sim::Reply reply;
    if (!sim::Respond(s, request.data(), request.size(), random, reply)) return false;
    EXPECT_EQ(reply.datagrams.size(), s.repeat);
    const Bytes& d = reply.datagrams.at(0);
    return wire::DecodeAnswer(d.data(), d.size(), answer);
}

TEST(Responder, AnswersEachKindOfRequest)
{
    sim::Server s = Server();
    std::mt19937 random(1);
    wire::Answer a;
    ASSERT_TRUE(Ask(s, Request(wire::kSearch, 7), a, random));
    EXPECT_EQ(a.kind, wire::kDescription);
    EXPECT_EQ(a.id, 7u);
    EXPECT_EQ(a.description.name, "ALPHA");
    EXPECT_EQ(a.description.groups, 3);

    struct Case {
        std::string community;
        wire::Status status;
    } communities[] = {{"", wire::kOk}, {"marlow", wire::kOk}, {"public", wire::kRefused}};
    for (const Case& c : communities) {
        ASSERT_TRUE(Ask(s, Request(wire::kInfo, 8, c.community), a, random)) << c.community;
        EXPECT_EQ(a.status, c.status) << c.community;
    }

    ASSERT_TRUE(Ask(s, Request(wire::kPorts, 9, "", 1), a, random));
    EXPECT_EQ(a.page.first, 1);
    EXPECT_EQ(a.page.names, (std::vector<std::string>{"b", "c"}));
    sim::Reply reply;
    Bytes past = Request(wire::kPorts, 9, "", 4);
    EXPECT_FALSE(sim::Respond(s, past.data(), past.size(), random, reply)) << "no page past the end";

    s.tcpip = false;
    for (wire::Kind k : {wire::kSearch, wire::kInfo, wire::kPorts}) {
        ASSERT_TRUE(Ask(s, Request(k, 10), a, random));
        EXPECT_EQ(a.status, wire::kNoTcpDialOut);
    }
}

TEST(Responder, IgnoresMalformedRequestsAndAnswers)
{
    sim::Server s = Server();
    std::mt19937 random(1);
    sim::Reply reply;
    Bytes good = Request(wire::kSearch, 1);
    for (size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(sim::Respond(s, good.data(), n, random, reply)) << n;
    uint8_t answer[wire::kMaxDatagram];
    size_t n = wire::EncodeDescription(1, wire::kOk, &s.description, answer, sizeof answer);
    EXPECT_FALSE(sim::Respond(s, answer, n, random, reply)) << "an answer is no request";
}

TEST(Responder, LossRepeatAndEachCorruption)
{
    sim::Server s = Server();
    std::mt19937 random(1);
    wire::Answer a;
    s.lossPercent = 100;
    EXPECT_FALSE(Ask(s, Request(wire::kSearch, 1), a, random));
    s.lossPercent = 0;
    s.repeat = 3;
    EXPECT_TRUE(Ask(s, Request(wire::kSearch, 1), a, random));
    s.repeat = 1;

    s.malformedPercent = 100;
    const sim::Corruption kinds[] = {sim::Corruption::kTruncate, sim::Corruption::kLength, sim::Corruption::kMagic,
                                     sim::Corruption::kText,     sim::Corruption::kControl, sim::Corruption::kGarbage};
    for (sim::Corruption k : kinds) {
        s.corruption = k;
        for (wire::Kind kind : {wire::kSearch, wire::kPorts}) {
            sim::Reply reply;
            Bytes r = Request(kind, 1);
            ASSERT_TRUE(sim::Respond(s, r.data(), r.size(), random, reply));
            EXPECT_TRUE(reply.corrupted);
            const Bytes& d = reply.datagrams.at(0);
            bool decoded = wire::DecodeAnswer(d.data(), d.size(), a);
            if (k == sim::Corruption::kControl && kind == wire::kPorts) {
                // The damaged name is left out; the page itself stands.
                ASSERT_TRUE(decoded);
                EXPECT_EQ(a.page.names, (std::vector<std::string>{"b", "c"}));
            } else {
                EXPECT_FALSE(decoded) << static_cast<int>(k) << " " << static_cast<int>(kind);
            }
        }
    }
    s.corruption = sim::Corruption::kId;
    ASSERT_TRUE(Ask(s, Request(wire::kSearch, 1), a, random));
    EXPECT_NE(a.id, 1u);
}

}  // namespace
