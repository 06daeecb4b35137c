// QXLNK32 against a recording engine: each export reaches the right engine entry point, values arrive
// as their low 16 bits, pointers arrive unchanged, results come back unchanged, and the server-info
// record is converted to the engine's 10-byte form and back.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <functional>
#include <vector>
#include <string>
#include "RecordingEngine.h"
#include "WindowDriver.h"
#include "bridge/Qxlnk32.h"

namespace {

class BridgeForwarding : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_module = LoadLibraryA(ui::WindowsPath(std::string(RECORDING_DIR) + "/QXLNK32.DLL").c_str());
        ASSERT_NE(m_module, nullptr) << "error " << GetLastError();
        HMODULE engine = GetModuleHandleA("QXLNK16.DLL");
        ASSERT_NE(engine, nullptr);
        auto state = reinterpret_cast<RECORDING_ENGINE_STATE>(GetProcAddress(engine, "RecordingEngineState"));
        ASSERT_NE(state, nullptr) << "the recording engine was not the one connected";
        m_state = state();
        memset(m_state, 0, sizeof *m_state);
    }
    void TearDown() override
    {
        if (m_module) FreeLibrary(m_module);
    }
    template <typename Fn>
    Fn Export(const char* name)
    {
        return reinterpret_cast<Fn>(GetProcAddress(m_module, name));
    }
    ULONGLONG Arg(int i) const { return m_state->values[i]; }
    static ULONGLONG P(const void* p) { return reinterpret_cast<ULONGLONG>(p); }

    HMODULE m_module = nullptr;
    RecordedCall* m_state = nullptr;
};

TEST_F(BridgeForwarding, EachExportReachesItsEngineEntryPointWithValuesCutTo16Bits)
{
    char name[] = "*", type[] = "*", community[] = "marlow", host[] = "ras1";
    BYTE table[64], address[18], names[32], found[132];
    WORD count = 0;
    HLP_VERSION version = {4, 0, 0, 0, 0};
    int reserved = 0;

    struct Case {
        const char* exportName;
        const char* engineFunction;
        std::function<LONG()> call;
        std::vector<ULONGLONG> expected;
    };
    const std::vector<Case> cases = {
        {"HLPInitStack", "InitStack", [&] { return Export<QXLNK_INIT_STACK>("HLPInitStack")(0xABCD0002); }, {2}},
        {"HLPCloseStack", "CloseStack", [&] { return Export<QXLNK_CLOSE_STACK>("HLPCloseStack")(0x000100C8); }, {200}},
        {"HLPFindVersionDevices", "FindVersionDevices",
         [&] {
             return Export<QXLNK_FIND_VERSION_DEVICES>("HLPFindVersionDevices")(0x10002, 0xFFFF0001, name, type, table, 65313,
                                                                     &count, nullptr, 0x7FFF0003, &reserved,
                                                                     &version);
         },
         {2, 1, P(name), P(type), P(table), 65313, P(&count), 0, 3, P(&reserved), P(&version)}},
        {"HLPFindDevices", "FindDevices",
         [&] {
             return Export<QXLNK_FIND_DEVICES>("HLPFindDevices")(2, 1, name, type, table, 0x1FF14, &count, &reserved, 3,
                                                      nullptr);
         },
         {2, 1, P(name), P(type), P(table), 0xFF14, P(&count), P(&reserved), 3, 0}},
        {"HLPGetSerialNames", "GetSerialNames",
         [&] {
             return Export<QXLNK_GET_SERIAL_NAMES>("HLPGetSerialNames")(200, 1, address, names, 16384, &count, nullptr,
                                                           0xFFFFFFFF, nullptr);
         },
         {200, 1, P(address), P(names), 16384, P(&count), 0, 0xFFFF, 0}},
        {"HLPFindADevice by address", "FindADevice",
         [&] { return Export<QXLNK_FIND_A_DEVICE>("HLPFindADevice")(address, nullptr, found, 0x00050000, community); },
         {P(address), 0, P(found), 0, P(community)}},
        {"HLPFindADevice by name", "FindADevice",
         [&] { return Export<QXLNK_FIND_A_DEVICE>("HLPFindADevice")(nullptr, host, found, 7, community); },
         {0, P(host), P(found), 7, P(community)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exportName);
        memset(m_state, 0, sizeof *m_state);
        c.call();
        EXPECT_STREQ(m_state->function, c.engineFunction);
        ASSERT_EQ(m_state->argumentCount, static_cast<int>(c.expected.size()));
        for (size_t i = 0; i < c.expected.size(); ++i) EXPECT_EQ(Arg(static_cast<int>(i)), c.expected[i]) << "argument " << i;
    }

    memset(m_state, 0, sizeof *m_state);
    Export<QXLNK_TEST>("Test")();
    EXPECT_STREQ(m_state->function, "Test");
    EXPECT_EQ(m_state->calls, 1);
}

TEST_F(BridgeForwarding, TheEnginesResultComesBackUnchanged)
{
    for (LONG result : {0L, -9L, -131L, 0x7FFF0001L, static_cast<LONG>(0x80000000u), 0x00010000L}) {
        m_state->result = result;
        EXPECT_EQ(Export<QXLNK_INIT_STACK>("HLPInitStack")(2), result);
        EXPECT_EQ(Export<QXLNK_CLOSE_STACK>("HLPCloseStack")(2), result);
        HLP_SERVER_INFO info = {};
        EXPECT_EQ(Export<QXLNK_GET_SERVER_INFO>("HLPGetServerInfo")(nullptr, &info, 5, nullptr), result);
    }
}

TEST_F(BridgeForwarding, ServerInfoFlagsAreNarrowedOnTheWayInAndWidenedOnTheWayBack)
{
    struct Case {
        DWORD flag1, flag2;          // in the caller's record
        WORD engine1, engine2;       // what the engine sees
        WORD answer1, answer2;       // what the engine writes back
    };
    const Case cases[] = {
        {0x00010000, 0, 1, 0, 0, 1},
        {0, 0x00010000, 0, 1, 0xFFFF, 0x8000},
        {0x12340001, 0xFFFF0000, 0x1235, 0xFFFF, 7, 0},
        {0x0000ABCD, 0xFFFFFFFF, 0xABCD, 0xFFFF, 0x1234, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.flag1 << " " << c.flag2);
        HLP_SERVER_INFO info;
        memset(&info, 0xAB, sizeof info);
        info.version = {4, 1, 2, 0x90, 7};
        info.flag1 = c.flag1;
        info.flag2 = c.flag2;
        BYTE out[10] = {5, 6, 7, 0x20, 3, 0xEE, 0, 0, 0, 0};
        memcpy(out + 6, &c.answer1, 2);
        memcpy(out + 8, &c.answer2, 2);
        memcpy(m_state->serverInfoOut, out, sizeof out);
        BYTE address[18] = {2, 0, 2, 0};

        ASSERT_EQ(Export<QXLNK_GET_SERVER_INFO>("HLPGetServerInfo")(address, &info, 0x10005, nullptr), 0);

        EXPECT_STREQ(m_state->function, "GetServerInfo");
        EXPECT_EQ(Arg(0), P(address));
        EXPECT_NE(Arg(1), P(&info)) << "the record is converted, not passed through";
        EXPECT_EQ(Arg(2), 5u);
        const BYTE* seen = m_state->serverInfo;
        const BYTE versionIn[5] = {4, 1, 2, 0x90, 7};
        EXPECT_EQ(memcmp(seen, versionIn, 5), 0);
        EXPECT_EQ(seen[5], 0) << "padding byte";
        WORD seen1, seen2;
        memcpy(&seen1, seen + 6, 2);
        memcpy(&seen2, seen + 8, 2);
        EXPECT_EQ(seen1, c.engine1);
        EXPECT_EQ(seen2, c.engine2);

        const BYTE versionOut[5] = {5, 6, 7, 0x20, 3};
        EXPECT_EQ(memcmp(&info.version, versionOut, 5), 0);
        const BYTE* raw = reinterpret_cast<const BYTE*>(&info);
        EXPECT_EQ(raw[5], 0xAB);
        EXPECT_EQ(raw[6], 0xAB);
        EXPECT_EQ(raw[7], 0xAB);
        EXPECT_EQ(info.flag1, static_cast<DWORD>(c.answer1));
        EXPECT_EQ(info.flag2, static_cast<DWORD>(c.answer2));
    }
}

TEST_F(BridgeForwarding, ANullServerInfoRecordStaysNull)
{
    BYTE address[18] = {2, 0, 2, 0};
    Export<QXLNK_GET_SERVER_INFO>("HLPGetServerInfo")(address, nullptr, 5, nullptr);
    EXPECT_STREQ(m_state->function, "GetServerInfo");
    EXPECT_EQ(Arg(1), 0u);
}

TEST_F(BridgeForwarding, CallsFromAThreadStartedAfterLoadingAreForwarded)
{
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID module) -> DWORD {
            auto init = reinterpret_cast<QXLNK_INIT_STACK>(GetProcAddress(static_cast<HMODULE>(module), "HLPInitStack"));
            return static_cast<DWORD>(init(2));
        },
        m_module, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    EXPECT_STREQ(m_state->function, "InitStack");
    EXPECT_EQ(m_state->calls, 1);
}

}  // namespace
