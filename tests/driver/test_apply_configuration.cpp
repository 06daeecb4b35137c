// The apply sequence of OK and Apply against the substitute driver: what is saved, what the driver
// is asked and finds at each reconfiguration, which port devices are registered, every failure
// with its message, and that no failure loses the user's redirect flags.
#include <gtest/gtest.h>
#include "ApplyFixture.h"
#include "DriverBoxes.h"
#include "driver/PortRegistration.h"

namespace {

class ApplyConfiguration : public ApplyFixture {
protected:
    // Runs the apply with the given owner, answering boxes as listed.
    bool Apply(CRegistryInfo& info, CWnd* owner = nullptr, std::vector<boxes::Answer> answers = {},
               std::function<bool()> tick = {})
    {
        bool result = false;
        seen = boxes::Run([&] { result = info.ApplyConfiguration(owner); }, std::move(answers), std::move(tick));
        return result;
    }

    std::vector<boxes::Seen> seen;
};

// An invisible top-level window standing for the sheet that owns the messages.
class OwnerWindow {
public:
    OwnerWindow()
    {
        wnd.Attach(CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                   nullptr));
    }
    ~OwnerWindow() { DestroyWindow(wnd.Detach()); }
    CWnd wnd;
};

TEST_F(ApplyConfiguration, NothingChangedDoesNothing)
{
    auto info = Load();
    // A value differs in memory but nothing is marked modified: nothing is saved, the driver is
    // not contacted.
    info->options.COM1Redir = 1;
    EXPECT_TRUE(Apply(*info));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(FarlineDriver::Opens(), 0u);
    EXPECT_EQ(FarlineDriver::Requests(), "");
    EXPECT_EQ(StoredFlags(), "0000");
}

TEST_F(ApplyConfiguration, SavesRegistersAndReconfiguresTwice)
{
    // Before: COM4 was redirected by an earlier apply and has its port device; COM1 is a real
    // serial port on this computer.
    Load();
    testenv::SetDword(testenv::Comm(), "COM4Redir", 1);
    testenv::SetString(testenv::Comm(), "COM4List", "SRV1:ORD05:");
    ASSERT_EQ(CPortRegistration().Register(4), 0);
    ports.Provide(1);
    auto info = Load();
    ASSERT_EQ(MemoryFlags(*info), "0001");

    // The user redirects COM1 to COM3 and turns COM4 off.
    Redirect(*info, 1, "SRV1:ORD05:All_Ports");
    Redirect(*info, 2, "SRV1:ORD05:");
    Redirect(*info, 3, "SRV2:ORD05:Modems");
    Redirect(*info, 4, "", 0);
    AddServer(*info, "SRV1", "127.0.0.21");
    AddServer(*info, "SRV2", "127.0.0.22");

    EXPECT_TRUE(Apply(*info));
    EXPECT_TRUE(seen.empty());
    // The in-use question, then two reconfigurations on one handle; every handle is closed again.
    EXPECT_EQ(FarlineDriver::Requests(), "2,1,1");
    FarlineDriver::Settle();
    EXPECT_EQ(FarlineDriver::Opens(), 2u);
    EXPECT_EQ(FarlineDriver::Closes(), 2u);
    // At the first reconfiguration no port is redirected and the port devices are as before; at
    // the second the user's ports are, COM2 and COM3 have port devices, COM1 (real) has none and
    // COM4's is gone.
    EXPECT_EQ(FarlineDriver::Reconfigurations(), "0000/0001,1110/0110");

    EXPECT_EQ(StoredFlags(), "1110");
    EXPECT_EQ(testenv::GetString(testenv::Comm(), "COM1List"), "SRV1:ORD05:All_Ports");
    EXPECT_EQ(testenv::GetString(testenv::Comm(), "COM3List"), "SRV2:ORD05:Modems");
    EXPECT_EQ(testenv::GetString(testenv::Comm(), "COM4List"), "");
    EXPECT_EQ(testenv::GetString(testenv::Servers(), "SERVER1_NAME"), "SRV1");
    EXPECT_EQ(testenv::GetString(testenv::Servers(), "SERVER2_IP_ADDR"), "127.0.0.22");
    EXPECT_EQ(PortDevices(), "0110");
    EXPECT_EQ(MemoryFlags(*info), "1110");
    EXPECT_EQ(info->options.Modified, 0u);
    EXPECT_EQ(info->servers.Modified, 0u);

    // A second apply at once has nothing to do.
    EXPECT_TRUE(Apply(*info));
    EXPECT_EQ(FarlineDriver::Requests(), "2,1,1");
}

TEST_F(ApplyConfiguration, AServerListChangeAloneRunsTheWholeSequence)
{
    Load();
    testenv::SetDword(testenv::Comm(), "COM2Redir", 1);
    testenv::SetString(testenv::Comm(), "COM2List", "SRV3:ORD05:");
    ASSERT_EQ(CPortRegistration().Register(2), 0);
    auto info = Load();
    AddServer(*info, "SRV3", "127.0.0.23");
    ASSERT_EQ(info->options.Modified, 0u);

    EXPECT_TRUE(Apply(*info));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(FarlineDriver::Requests(), "2,1,1");
    // Both options saves ran: COM2 was stored switched off for the first reconfiguration.
    EXPECT_EQ(FarlineDriver::Reconfigurations(), "0000/0100,0100/0100");
    EXPECT_EQ(StoredFlags(), "0100");
    EXPECT_EQ(testenv::GetString(testenv::Servers(), "SERVER1_NAME"), "SRV3");
    EXPECT_EQ(info->servers.Modified, 0u);
    EXPECT_EQ(info->options.Modified, 0u);
}

TEST_F(ApplyConfiguration, AMissingDriverStopsBeforeAnythingIsWritten)
{
    auto info = Load();
    Redirect(*info, 2, "SRV1:ORD05:");
    AddServer(*info, "SRV1", "127.0.0.21");
    ASSERT_TRUE(FarlineDriver::Stop());
    OwnerWindow owner;

    EXPECT_FALSE(Apply(*info, &owner.wnd));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, boxes::OpenFailed(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(seen[0].owner, owner.wnd.m_hWnd);
    EXPECT_TRUE(seen[0].ok);
    EXPECT_FALSE(seen[0].retry || seen[0].cancel);
    EXPECT_TRUE(seen[0].errorIcon);
    // Nothing written; the user's choices wait in memory for the next try.
    EXPECT_EQ(StoredFlags(), "0000");
    EXPECT_EQ(testenv::GetString(testenv::Comm(), "COM2List"), "");
    EXPECT_EQ(testenv::GetString(testenv::Servers(), "SERVER1_NAME"), "<absent>");
    EXPECT_EQ(PortDevices(), "0000");
    EXPECT_EQ(MemoryFlags(*info), "0100");
    EXPECT_EQ(info->options.Modified, 1u);
    EXPECT_EQ(info->servers.Modified, 1u);

    ASSERT_TRUE(FarlineDriver::Start());
    EXPECT_TRUE(Apply(*info, &owner.wnd));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(StoredFlags(), "0100");
    EXPECT_EQ(PortDevices(), "0100");
}

TEST_F(ApplyConfiguration, PortsInUseAndTheUserCancels)
{
    auto info = Load();
    Redirect(*info, 2, "SRV1:ORD05:");
    FarlineDriver::SetAnswer(FARLINE_REQUEST_PORTS_IN_USE, 1);

    EXPECT_FALSE(Apply(*info, nullptr, {{IDCANCEL, {}}}));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, boxes::PortsInUse());
    EXPECT_EQ(seen[0].owner, nullptr);
    EXPECT_TRUE(seen[0].retry && seen[0].cancel);
    EXPECT_FALSE(seen[0].ok);
    EXPECT_TRUE(seen[0].errorIcon);
    EXPECT_EQ(FarlineDriver::Requests(), "2");
    FarlineDriver::Settle();
    EXPECT_EQ(FarlineDriver::Opens(), 1u);
    EXPECT_EQ(FarlineDriver::Closes(), 1u);
    EXPECT_EQ(StoredFlags(), "0000");
    EXPECT_EQ(testenv::GetString(testenv::Comm(), "COM2List"), "");
    EXPECT_EQ(MemoryFlags(*info), "0100");
    EXPECT_EQ(info->options.Modified, 1u);
}

TEST_F(ApplyConfiguration, PortsInUseAndTheUserRetriesUntilTheyAreClosed)
{
    auto info = Load();
    Redirect(*info, 2, "SRV1:ORD05:");
    FarlineDriver::SetAnswer(FARLINE_REQUEST_PORTS_IN_USE, 1);

    // Retry while the port is still open asks again; the user then closes the other program.
    EXPECT_TRUE(Apply(*info, nullptr,
                      {{IDRETRY, {}}, {IDRETRY, [] { FarlineDriver::SetAnswer(FARLINE_REQUEST_PORTS_IN_USE, 0); }}}));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, boxes::PortsInUse());
    EXPECT_EQ(FarlineDriver::Requests(), "2,2,2,1,1");
    FarlineDriver::Settle();
    EXPECT_EQ(FarlineDriver::Opens(), 2u);
    EXPECT_EQ(FarlineDriver::Closes(), 2u);
    EXPECT_EQ(StoredFlags(), "0100");
}

// A failure after the first save: the message, then the user's flags are still in memory and in
// the registry, and the next apply runs the whole sequence again.
struct DriverFailure {
    const char* name;
    void (*cause)();
    void (*mend)();
    std::string message;
    const char* requests;         // what the driver was asked up to the failure
    const char* reconfigurations;
    DWORD opens;                  // every one of them closed again
    const char* portDevices;      // after the failure
};

void PrintTo(const DriverFailure& f, std::ostream* os) { *os << f.name; }

class ApplyAfterADriverFailure : public ApplyConfiguration, public ::testing::WithParamInterface<DriverFailure> {};

TEST_P(ApplyAfterADriverFailure, KeepsTheUsersPortsAndSucceedsNextTime)
{
    const DriverFailure& f = GetParam();
    auto info = Load();
    Redirect(*info, 2, "SRV1:ORD05:");
    AddServer(*info, "SRV1", "127.0.0.21");
    f.cause();

    EXPECT_FALSE(Apply(*info));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, f.message);
    EXPECT_TRUE(seen[0].errorIcon);
    EXPECT_EQ(FarlineDriver::Requests(), f.requests);
    EXPECT_EQ(FarlineDriver::Reconfigurations(), f.reconfigurations);
    FarlineDriver::Settle();
    EXPECT_EQ(FarlineDriver::Opens(), f.opens);
    EXPECT_EQ(FarlineDriver::Closes(), f.opens);
    EXPECT_EQ(PortDevices(), f.portDevices);
    EXPECT_EQ(MemoryFlags(*info), "0100");
    EXPECT_EQ(StoredFlags(), "0100");
    EXPECT_EQ(testenv::GetString(testenv::Comm(), "COM2List"), "SRV1:ORD05:");
    EXPECT_EQ(info->options.Modified, 1u);

    // The driver answers 0 again: the next OK runs everything and succeeds.
    f.mend();
    EXPECT_TRUE(Apply(*info));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(FarlineDriver::Requests(), f.requests + std::string(",2,1,1"));
    std::string reconfigurations = FarlineDriver::Reconfigurations();
    EXPECT_EQ(reconfigurations.substr(reconfigurations.size() - 19), "0000/" + std::string(f.portDevices) + ",0100/0100");
    EXPECT_EQ(StoredFlags(), "0100");
    EXPECT_EQ(PortDevices(), "0100");
    EXPECT_EQ(info->options.Modified, 0u);
    EXPECT_EQ(info->servers.Modified, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ApplyAfterADriverFailure,
    ::testing::Values(
        DriverFailure{"FirstReconfigurationAnswers5", [] { FarlineDriver::SetAnswers(FARLINE_REQUEST_RECONFIGURE, {5}); },
                      [] {}, boxes::IoctlFailed(5), "2,1", "0000/0000", 2, "0000"},
        DriverFailure{"FirstReconfigurationRequestFails",
                      [] { FarlineDriver::SetFailing(FARLINE_REQUEST_RECONFIGURE, true); },
                      [] { FarlineDriver::SetFailing(FARLINE_REQUEST_RECONFIGURE, false); }, boxes::IoctlFailed(-1),
                      "2,1", "0000/0000", 2, "0000"},
        DriverFailure{"SecondReconfigurationAnswersMinus7",
                      [] { FarlineDriver::SetAnswers(FARLINE_REQUEST_RECONFIGURE, {0, -7}); }, [] {},
                      boxes::IoctlFailed(-7), "2,1,1", "0000/0000,0100/0100", 2, "0100"},
        // The driver goes away after the in-use question, so the second open finds no device.
        DriverFailure{"DriverGoneAtTheSecondOpen",
                      [] { FarlineDriver::SetUnlinkAfter(FARLINE_REQUEST_PORTS_IN_USE, true); },
                      [] {
                          FarlineDriver::SetUnlinkAfter(FARLINE_REQUEST_PORTS_IN_USE, false);
                          FarlineDriver::Stop();
                          FarlineDriver::Start();
                      },
                      boxes::OpenFailed(ERROR_FILE_NOT_FOUND), "2", "", 1, "0000"}),
    [](const ::testing::TestParamInfo<DriverFailure>& info) { return std::string(info.param.name); });

// A save that fails (the registry refuses the write): no message, the flags stay in memory and
// the options stay modified; once the registry takes writes again the next apply stores them.
struct SaveFailure {
    const char* name;
    const char* lockedKey;       // which key becomes read-only
    bool duringReconfiguration;  // locked while the driver handles the first reconfiguration
    const char* requests;
    const char* storedFlagsAfterFailure;
};

void PrintTo(const SaveFailure& f, std::ostream* os) { *os << f.name; }

class ApplyAfterASaveFailure : public ApplyConfiguration, public ::testing::WithParamInterface<SaveFailure> {};

TEST_P(ApplyAfterASaveFailure, KeepsTheUsersPortsAndSucceedsNextTime)
{
    const SaveFailure& f = GetParam();
    auto info = Load();
    Redirect(*info, 2, "SRV1:ORD05:");
    AddServer(*info, "SRV1", "127.0.0.21");
    std::string key = std::string(testenv::AppletKey()) + "\\" + f.lockedKey;
    std::function<bool()> tick;
    if (f.duringReconfiguration) {
        FarlineDriver::SetDelay(FARLINE_REQUEST_RECONFIGURE, 1000);
        tick = [&] {
            if (FarlineDriver::Count(FARLINE_REQUEST_RECONFIGURE) == 0) return false;
            LockKey(key);
            return true;
        };
    } else {
        LockKey(key);
    }

    EXPECT_FALSE(Apply(*info, nullptr, {}, tick));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(FarlineDriver::Requests(), f.requests);
    FarlineDriver::Settle();
    EXPECT_EQ(FarlineDriver::Closes(), FarlineDriver::Opens());
    EXPECT_EQ(MemoryFlags(*info), "0100");
    EXPECT_EQ(StoredFlags(), f.storedFlagsAfterFailure);
    EXPECT_EQ(info->options.Modified, 1u);

    UnlockKeys();
    FarlineDriver::SetDelay(FARLINE_REQUEST_RECONFIGURE, 0);
    EXPECT_TRUE(Apply(*info));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(FarlineDriver::Requests(), f.requests + std::string(",2,1,1"));
    EXPECT_EQ(StoredFlags(), "0100");
    EXPECT_EQ(testenv::GetString(testenv::Servers(), "SERVER1_NAME"), "SRV1");
    EXPECT_EQ(PortDevices(), "0100");
    EXPECT_EQ(info->options.Modified, 0u);
    EXPECT_EQ(info->servers.Modified, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ApplyAfterASaveFailure,
    ::testing::Values(
        // The first options save: nothing could be written, the stored flags are the old ones.
        SaveFailure{"FirstOptionsSave", "COMM", false, "2", "0000"},
        // The server list: the options could be written, so the user's flags are stored again.
        SaveFailure{"ServerListSave", "SERVERS", false, "2", "0100"},
        // The second options save: the registry refuses every write from then on, so only memory
        // keeps the flags until the registry takes writes again.
        SaveFailure{"SecondOptionsSave", "COMM", true, "2,1", "0000"}),
    [](const ::testing::TestParamInfo<SaveFailure>& info) { return std::string(info.param.name); });

}  // namespace
