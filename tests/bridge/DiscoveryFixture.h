// A fixture that runs simulated servers on a loopback block of its own and an installation directory
// whose ZANTU.INI tells the engine where to look.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>
#include "BridgeClient.h"
#include "outside/simulator/SimulatorLauncher.h"
#include "TestEnvironment.h"

// One simulated server; extra holds further "key = value" lines.
struct SimServer {
    std::string name;
    std::string extra;
    std::string type = "Farline Remote Access Server";
    std::string ident = "ORD3";
    std::string version = "4.5.4p2";
    std::string groups = "Command_Shell, All_Ports";
    bool usable = true;
};

class DiscoveryFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A /24 of 127.0.0.0/8 that no other test of this run uses.
        static unsigned seed = GetCurrentProcessId() * 7919u + GetTickCount();
        static unsigned next = seed / 100;
        m_a = 100 + static_cast<int>(seed % 100);
        m_b = 1 + static_cast<int>(next++ % 250);
        m_name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override
    {
        if (m_attached) m_bridge->CloseStack(2);
        m_bridge.reset();
        m_simulator.Stop();
    }

    // "127.a.b.host" of this fixture's block.
    std::string Ip(int host) const
    {
        char text[32];
        snprintf(text, sizeof text, "127.%d.%d.%d", m_a, m_b, host);
        return text;
    }
    HLP_ADDRESS_IP Address(int host) const
    {
        return BridgeClient::Address(127, static_cast<BYTE>(m_a), static_cast<BYTE>(m_b), static_cast<BYTE>(host));
    }

    // Serves servers[i] on host i + 1 of the block.
    void Serve(const std::vector<SimServer>& servers, int seed = 1)
    {
        std::string config = "seed = " + std::to_string(seed) + "\n";
        for (size_t i = 0; i < servers.size(); ++i) {
            const SimServer& s = servers[i];
            config += "[server]\naddress = " + Ip(static_cast<int>(i) + 1) + "\nname = " + s.name + "\ntype = " + s.type +
                      "\nident = " + s.ident + "\nversion = " + s.version + "\ngroups = " + s.groups +
                      "\nusable = " + (s.usable ? "yes" : "no") + "\n" + s.extra + "\n";
        }
        ServeConfig(config);
    }
    void ServeConfig(const std::string& config)
    {
        std::string folder = std::string(BUILD_DIR) + "/test-sim";
        CreateDirectoryA(SimulatorLauncher::WindowsPath(folder).c_str(), nullptr);
        std::string file = folder + "/" + m_name + ".conf";
        ASSERT_TRUE(m_simulator.Start(std::string(NATIVE_BIN_DIR) + "/rasim", file, config)) << m_simulator.Error();
    }

    // An installation directory whose ZANTU.INI has these lookup methods (and further text).
    std::string Install(const std::string& methods, const std::string& moreIni = "")
    {
        return testenv::MakeZantuDirectory(m_name, "[COMM]\r\nIPLookupMethods=" + methods + "\r\n" + moreIni);
    }

    BridgeClient& Bridge()
    {
        if (!m_bridge) m_bridge.reset(new BridgeClient(DIST_DIR));
        return *m_bridge;
    }

    // Loads the bridge and attaches TCP/IP; fails the test when either does not work.
    BridgeClient& Attached()
    {
        BridgeClient& b = Bridge();
        EXPECT_NE(b.module, nullptr) << "QXLNK32.DLL did not load: error " << b.loadError;
        if (b.module && !m_attached) {
            EXPECT_EQ(b.InitStack(2), 0);
            m_attached = true;
        }
        return b;
    }

    int m_a = 0, m_b = 0;
    bool m_attached = false;
    std::string m_name;
    SimulatorLauncher m_simulator;
    std::unique_ptr<BridgeClient> m_bridge;
};

inline std::string Field(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }
