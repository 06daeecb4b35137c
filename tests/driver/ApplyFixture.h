// A computer ready for the apply sequence: the substitute driver running with fresh answers,
// the applet's registry tree loaded into a configuration, HKEY_LOCAL_MACHINE laid out as on
// Windows 95, and no COM port with a device behind it unless a test provides one.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>
#include <memory>
#include <string>
#include <vector>
#include "FarlineDriver.h"
#include "MachineSetup.h"
#include "TestEnvironment.h"
#include "config/RegistryInfo.h"

class ApplyFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FarlineDriver::Start()) << "the substitute driver is not installed in this prefix";
        FarlineDriver::Reset();
        testenv::ResetAppletKey();
        testenv::MakeZantuDirectory("apply");
        machine::PrepareKeys();
        for (int port = 1; port <= 4; ++port) ports.Hide(port);
    }
    void TearDown() override
    {
        UnlockKeys();
        machine::PrepareKeys(false, false);
        testenv::ResetAppletKey();
        FarlineDriver::Start();
    }

    // The configuration as the applet loads it at an opening.
    std::unique_ptr<CRegistryInfo> Load()
    {
        std::unique_ptr<CRegistryInfo> info(new CRegistryInfo);
        info->LoadAll();
        return info;
    }

    // What the COM page does when the user switches a port on and gives it a list.
    static void Redirect(CRegistryInfo& info, int port, const char* list, DWORD flag = 1)
    {
        DWORD* redirect;
        CString* text;
        ASSERT_TRUE(info.options.GetPortConfig(port, redirect, text));
        *redirect = flag;
        *text = list;
        info.options.Modified = 1;
    }
    // What the Browse dialog does when the user picks a server.
    static void AddServer(CRegistryInfo& info, const char* name, const char* ip)
    {
        CServer* server = new CServer;
        server->m_strName = name;
        server->m_strIpAddr = ip;
        server->m_strIpSocket = "0x060D";
        info.servers.AddOrReplace(server);
    }

    // The four redirect flags as "0110": in memory, in the registry, and which ports have a port
    // device of ours.
    static std::string MemoryFlags(CRegistryInfo& info)
    {
        std::string flags;
        for (int port = 1; port <= 4; ++port) {
            DWORD* redirect;
            CString* list;
            info.options.GetPortConfig(port, redirect, list);
            flags += *redirect ? '1' : '0';
        }
        return flags;
    }
    static std::string StoredFlags()
    {
        std::string flags;
        for (int port = 1; port <= 4; ++port) {
            DWORD v = testenv::GetDword(testenv::Comm(), ("COM" + std::to_string(port) + "Redir").c_str());
            flags += v == 0 ? '0' : v == 1 ? '1' : '?';
        }
        return flags;
    }
    static std::string PortDevices()
    {
        std::string devices;
        for (int port = 1; port <= 4; ++port) devices += machine::KeyExists(machine::DeviceKey(port)) ? '1' : '0';
        return devices;
    }

    // Makes a key of the applet's tree read-only, so that saving into it fails, until UnlockKeys.
    // A child key keeps it from being deleted and made afresh.
    void LockKey(const std::string& subkey)
    {
        HKEY child;
        RegCreateKeyExA(HKEY_CURRENT_USER, (subkey + "\\held").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child,
                        nullptr);
        RegCloseKey(child);
        SetAccess(subkey, "D:(A;;KR;;;WD)");
        m_locked.push_back(subkey);
    }
    void UnlockKeys()
    {
        for (const std::string& subkey : m_locked) {
            SetAccess(subkey, "D:(A;;KA;;;WD)");
            RegDeleteKeyA(HKEY_CURRENT_USER, (subkey + "\\held").c_str());
        }
        m_locked.clear();
    }

    machine::ComPorts ports;

private:
    static void SetAccess(const std::string& subkey, const char* sddl)
    {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr));
        HKEY key;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, WRITE_DAC, &key), ERROR_SUCCESS) << subkey;
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
        RegCloseKey(key);
        LocalFree(sd);
    }

    std::vector<std::string> m_locked;
};
