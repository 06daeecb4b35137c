// Port device registration under HKEY_LOCAL_MACHINE, on a machine laid out as Windows 95 has it.
#include <gtest/gtest.h>
#include "MachineSetup.h"
#include "driver/PortRegistration.h"

namespace {

using machine::Binary;
using machine::Sz;

class PortRegistration : public ::testing::Test {
protected:
    void SetUp() override
    {
        machine::PrepareKeys();
        for (int port = 1; port <= 4; ++port) ports.Hide(port);
    }
    void TearDown() override { machine::PrepareKeys(false, false); }

    machine::ComPorts ports;
    CPortRegistration registration;
};

std::map<std::string, machine::Value> ExpectedDeviceValues(int port)
{
    std::string n = std::to_string(port);
    return {
        {"Class", Sz("Ports")},
        {"DeviceDesc", Sz("Zantu Farline Port (COM" + n + ")")},
        {"Driver", Sz("Ports\\0100")},
        {"FRIENDLYNAME", Sz("Zantu Farline Port (COM" + n + ")")},
        {"Mfg", Sz("Zantu")},
        {"PortName", Sz("COM" + n)},
        {"ConfigFlags", Binary(std::string(4, '\0'))},
    };
}

const std::map<std::string, machine::Value> kClassValues = {
    {"ConfigDialog", Sz("serialui.dll")},
    {"Contention", Sz("vcd")},
    {"DevLoader", Sz("vcomm")},
    {"DriverDesc", Sz("Zantu Farline COM Port")},
    {"Enumerator", Sz("serenum.vxd")},
    {"EnumPropPages", Sz("serialui.dll,EnumPropPages")},
    {"InfPath", Sz("MSPORTS.INF")},
    {"InfSection", Sz("ComPort")},
    {"PortDriver", Sz("serial.vxd")},
    {"PortSubClass", Binary("\x01")},
};

TEST_F(PortRegistration, RegisterWritesThePortDeviceAndTheClassKey)
{
    for (int port = 1; port <= 4; ++port) {
        SCOPED_TRACE(port);
        machine::PrepareKeys();
        EXPECT_FALSE(registration.IsRegistered(port));
        EXPECT_EQ(registration.Register(port), 0);
        EXPECT_TRUE(registration.IsRegistered(port));
        EXPECT_EQ(machine::Values(machine::DeviceKey(port)), ExpectedDeviceValues(port));
        EXPECT_EQ(machine::Values(machine::ClassKey()), kClassValues);
        // Keys of ours carry our class text; PORTS was missing, so it is ours too.
        EXPECT_EQ(machine::KeyClass(machine::DeviceKey(port)), "Zantu Port Object Type");
        EXPECT_EQ(machine::KeyClass(machine::ClassKey()), "Zantu Port Object Type");
        EXPECT_EQ(machine::KeyClass(machine::PortsKey()), "Zantu Port Object Type");
        for (int other = 1; other <= 4; ++other) {
            if (other != port) {
                EXPECT_FALSE(registration.IsRegistered(other)) << other;
            }
        }
    }
}

TEST_F(PortRegistration, KeysAlreadyThereAreLeftAsTheyAre)
{
    // A partly written port device key and a class key someone else wrote.
    machine::CreateKey(machine::DeviceKey(2));
    HKEY key;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, machine::DeviceKey(2).c_str(), 0, KEY_ALL_ACCESS, &key);
    RegSetValueExA(key, "Class", 0, REG_SZ, reinterpret_cast<const BYTE*>("Ports"), 6);
    RegCloseKey(key);
    machine::CreateKey(machine::ClassKey());
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, machine::ClassKey(), 0, KEY_ALL_ACCESS, &key);
    RegSetValueExA(key, "DriverDesc", 0, REG_SZ, reinterpret_cast<const BYTE*>("Other Port"), 11);
    RegCloseKey(key);

    EXPECT_EQ(registration.Register(2), 0);
    EXPECT_EQ(machine::Values(machine::DeviceKey(2)), (std::map<std::string, machine::Value>{{"Class", Sz("Ports")}}));
    EXPECT_EQ(machine::Values(machine::ClassKey()),
              (std::map<std::string, machine::Value>{{"DriverDesc", Sz("Other Port")}}));

    // Registering a second time writes nothing either.
    EXPECT_EQ(registration.Register(3), 0);
    auto before = machine::Values(machine::DeviceKey(3));
    EXPECT_EQ(registration.Register(3), 0);
    EXPECT_EQ(machine::Values(machine::DeviceKey(3)), before);
}

TEST_F(PortRegistration, AMachineWithoutTheParentKeys)
{
    // No Enum\Root: nothing can be registered and nothing is created.
    machine::PrepareKeys(false, true);
    EXPECT_EQ(registration.Register(1), -4);
    EXPECT_FALSE(machine::KeyExists("Enum"));
    EXPECT_FALSE(machine::KeyExists(machine::ClassKey()));
    EXPECT_FALSE(registration.IsRegistered(1));

    // No Services\Class\Ports: the port device is written, the class key cannot be.
    machine::PrepareKeys(true, false);
    EXPECT_EQ(registration.Register(1), -4);
    EXPECT_TRUE(registration.IsRegistered(1));
    EXPECT_EQ(machine::Values(machine::DeviceKey(1)), ExpectedDeviceValues(1));
    EXPECT_FALSE(machine::KeyExists("System\\CurrentControlSet\\Services\\Class\\Ports"));

    // Unregistering without a PORTS key fails.
    machine::PrepareKeys();
    EXPECT_EQ(registration.Unregister(1), -5);
}

TEST_F(PortRegistration, UnregisterRemovesOnlyThatPortDevice)
{
    ASSERT_EQ(registration.Register(2), 0);
    ASSERT_EQ(registration.Register(4), 0);
    EXPECT_EQ(registration.Unregister(2), 0);
    EXPECT_FALSE(registration.IsRegistered(2));
    EXPECT_TRUE(registration.IsRegistered(4));
    // The class key stays for the other port devices and later registrations.
    EXPECT_EQ(machine::Values(machine::ClassKey()), kClassValues);
    // A port device that is not there cannot be deleted.
    EXPECT_EQ(registration.Unregister(2), -5);
    EXPECT_EQ(registration.Unregister(4), 0);
    EXPECT_TRUE(machine::KeyExists(machine::PortsKey()));
    EXPECT_TRUE(machine::KeyExists(machine::ClassKey()));
}

TEST_F(PortRegistration, PortNumbersOutsideOneToFourTouchNothing)
{
    for (int port : {0, 5, -1, 10}) {
        SCOPED_TRACE(port);
        EXPECT_EQ(registration.Register(port), -1);
        EXPECT_EQ(registration.Unregister(port), -1);
        EXPECT_FALSE(registration.IsRegistered(port));
        EXPECT_FALSE(registration.PortExists(port));
    }
    EXPECT_FALSE(machine::KeyExists(machine::PortsKey()));
    EXPECT_FALSE(machine::KeyExists(machine::ClassKey()));
}

TEST_F(PortRegistration, PortExistsWhenADeviceIsBehindTheName)
{
    for (int port = 1; port <= 4; ++port) EXPECT_FALSE(registration.PortExists(port)) << port;
    ports.Provide(3);
    EXPECT_TRUE(registration.PortExists(3));
    EXPECT_FALSE(registration.PortExists(2));
    ports.Hide(3);
    EXPECT_FALSE(registration.PortExists(3));
}

TEST_F(PortRegistration, APortAnotherProgramHoldsStillExists)
{
    // A device with one instance, taken: opening it fails as a held serial port does.
    HANDLE device = CreateNamedPipeA("\\\\.\\pipe\\farline-held-port", PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 64, 64, 0,
                                     nullptr);
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    HANDLE holder = CreateFileA("\\\\.\\pipe\\farline-held-port", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ports.ProvideTarget(4, "\\Device\\NamedPipe\\farline-held-port");
    EXPECT_FALSE(machine::ComPorts::Opens(4));
    EXPECT_TRUE(registration.PortExists(4));
    CloseHandle(holder);
    CloseHandle(device);
}

}  // namespace
