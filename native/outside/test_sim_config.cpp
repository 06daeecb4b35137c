// The simulator's configuration file.
#include <gtest/gtest.h>
#include <string>
#include "SimConfig.h"

namespace {

TEST(SimConfig, ReadsServersWithTheirSettingsAndDefaults)
{
    const std::string text =
        "# two servers\n"
        "seed = 42\n"
        "[server]\n"
        "address = 127.20.0.1\n"
        "name = ALPHA\n"
        "type = Farline Remote Access Server\n"
        "ident = ORD3\n"
        "version = 4.5.4p2\n"
        "usable = no\n"
        "groups = Command_Shell, All_Ports ,  Modems East,\n"
        "community = secret\n"
        "tcpip = no\n"
        "delay = 250\n"
        "loss = 30\n"
        "malformed = 100 Truncate\n"
        "repeat = 2\n"
        "\n"
        "[SERVER]\n"
        "address = 127.20.0.2\n"
        "port = 1550\n"
        "name = BETA\n"
        "release_code = 0x60\n";
    sim::Config c;
    std::string error;
    ASSERT_TRUE(sim::ParseConfig(text, c, error)) << error;
    EXPECT_EQ(c.seed, 42u);
    ASSERT_EQ(c.servers.size(), 2u);
    const sim::Server& a = c.servers[0];
    EXPECT_EQ(a.address, 0x7F140001u);
    EXPECT_EQ(a.port, 1549);
    EXPECT_EQ(a.description.name, "ALPHA");
    EXPECT_EQ(a.description.ident, "ORD3");
    EXPECT_EQ(a.description.version.releaseCode, 0x90);
    EXPECT_EQ(a.description.version.releaseNumber, 2);
    EXPECT_EQ(a.description.flags & wire::kFlagUsable, 0u);
    EXPECT_EQ(a.groups, (std::vector<std::string>{"Command_Shell", "All_Ports", "Modems East"}));
    EXPECT_EQ(a.description.groups, 3);
    EXPECT_EQ(a.community, "secret");
    EXPECT_FALSE(a.tcpip);
    EXPECT_EQ(a.delayMs, 250u);
    EXPECT_EQ(a.lossPercent, 30u);
    EXPECT_EQ(a.malformedPercent, 100u);
    EXPECT_EQ(a.corruption, sim::Corruption::kTruncate);
    EXPECT_EQ(a.repeat, 2u);
    const sim::Server& b = c.servers[1];
    EXPECT_EQ(b.port, 1550);
    EXPECT_EQ(b.description.type, "Farline Remote Access Server");
    EXPECT_EQ(b.description.version.major, 4);
    EXPECT_EQ(b.description.version.releaseCode, 0x60);
    EXPECT_NE(b.description.flags & wire::kFlagUsable, 0u);
    EXPECT_EQ(b.groups, (std::vector<std::string>{"Command_Shell", "All_Ports"}));
    EXPECT_EQ(b.community, "marlow");
}

TEST(SimConfig, RefusesWhatItDoesNotUnderstandNamingTheLine)
{
    struct Case {
        std::string text;
        std::string error;
    } cases[] = {
        {"[server]\nname = A\n", "line 3: server without address"},
        {"[server]\naddress = 127.0.0.1\n", "line 3: server without name"},
        {"[server]\naddress = 10.0.0.1\nname = A\n", "line 2: address outside 127.0.0.0/8"},
        {"[server]\naddress = 127.0.0.1\nname = A,B\n", "line 3: bad characters in name"},
        {"[server]\naddress = 127.0.0.1\nname = " + std::string(48, 'n') + "\n", "line 3: name longer than 47 characters"},
        {"[server]\naddress = 127.0.0.1\nname = A\nident = 123456789\n", "line 4: ident longer than 8 characters"},
        {"[server]\naddress = 127.0.0.1\nname = A\nloss = 101\n", "line 4: loss is a percentage"},
        {"[server]\naddress = 127.0.0.1\nname = A\nmalformed = 5 sideways\n", "line 4: unknown kind of corruption"},
        {"[server]\naddress = 127.0.0.1\nname = A\ncolour = red\n", "line 4: unknown key colour"},
        {"[server]\naddress = 127.0.0.1\nname = A\nversion = 4.5\n", "line 4: bad version"},
        {"[server]\naddress = 127.0.0.1\nname = A\ngroups = a:b\n", "line 4: bad characters in a port group"},
        {"[server]\naddress = 127.0.0.1\nname = A\n[server]\naddress = 127.0.0.1\nname = B\n",
         "line 7: address and port used twice"},
        {"name = A\n", "line 1: only seed may come before [server]"},
        {"[servers]\n", "line 1: unknown section [servers]"},
        {"[server]\njust words\n", "line 2: expected key = value"},
    };
    for (const Case& c : cases) {
        sim::Config config;
        std::string error;
        EXPECT_FALSE(sim::ParseConfig(c.text, config, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(SimConfig, Versions)
{
    struct Case {
        const char* text;
        bool ok;
        wire::Version v;
    } cases[] = {
        {"4.5.4p2", true, {4, 5, 4, 0x90, 2}}, {"4.5.4", true, {4, 5, 4, 0x80, 0}}, {"4.0.1b3", true, {4, 0, 1, 0x20, 3}},
        {"1.2.3u1", true, {1, 2, 3, 0x10, 1}}, {"1.2.3a1", true, {1, 2, 3, 0x40, 1}}, {"1.2.3f9", true, {1, 2, 3, 0x70, 9}},
        {"4.5", false, {}},                     {"4.5.4x1", false, {}},               {"4.5.4p", false, {}},
        {"256.0.0", false, {}},                 {"4.5.4p256", false, {}},             {"4.5.4p2 ", false, {}},
    };
    for (const Case& c : cases) {
        wire::Version v;
        ASSERT_EQ(sim::ParseVersion(c.text, v), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(v.major, c.v.major) << c.text;
        EXPECT_EQ(v.minor, c.v.minor) << c.text;
        EXPECT_EQ(v.revision, c.v.revision) << c.text;
        EXPECT_EQ(v.releaseCode, c.v.releaseCode) << c.text;
        EXPECT_EQ(v.releaseNumber, c.v.releaseNumber) << c.text;
    }
}

}  // namespace
