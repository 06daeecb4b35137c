// QXLNK32.DLL as a module: its exports by name and ordinal, the connection record exported as data,
// its version information, and its refusal to load without a usable engine.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <string>
#include "WindowDriver.h"
#include "bridge/EngineThunk.h"

namespace {

const std::string kDist = ui::WindowsPath(DIST_DIR);

// Copies QXLNK32.DLL alone into a folder of its own and returns the copy's path.
std::string LonelyCopy()
{
    std::string dir = ui::WindowsPath(std::string(BUILD_DIR) + "/test-bridge");
    CreateDirectoryA(dir.c_str(), nullptr);
    dir += "\\lonely";
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string copy = dir + "\\QXLNK32.DLL";
    EXPECT_TRUE(CopyFileA((kDist + "\\QXLNK32.DLL").c_str(), copy.c_str(), FALSE)) << GetLastError();
    DeleteFileA((dir + "\\QXLNK16.DLL").c_str());
    return copy;
}

// These run first, while no engine is loaded in this process.
TEST(BridgeModule, RefusesToLoadWithoutItsEngine)
{
    ASSERT_EQ(GetModuleHandleA("QXLNK16.DLL"), nullptr);
    std::string copy = LonelyCopy();
    SetLastError(0);
    HMODULE module = LoadLibraryA(copy.c_str());
    DWORD error = GetLastError();
    EXPECT_EQ(module, nullptr);
    EXPECT_NE(error, 0u) << "the failed load leaves a system error code";
    if (module) FreeLibrary(module);
    EXPECT_EQ(GetModuleHandleA("QXLNK32.DLL"), nullptr);
}

TEST(BridgeModule, RefusesAnEngineWhoseConnectionRecordIsWrong)
{
    std::string path = ui::WindowsPath(std::string(ENGINES_DIR) + "/wrongsig/QXLNK32.DLL");
    SetLastError(0);
    HMODULE module = LoadLibraryA(path.c_str());
    DWORD error = GetLastError();
    EXPECT_EQ(module, nullptr);
    EXPECT_NE(error, 0u);
    if (module) FreeLibrary(module);
    EXPECT_EQ(GetModuleHandleA("QXLNK16.DLL"), nullptr) << "the refused engine is unloaded again";
}

class LoadedBridge : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_module = LoadLibraryA((kDist + "\\QXLNK32.DLL").c_str());
        ASSERT_NE(m_module, nullptr) << GetLastError();
    }
    void TearDown() override
    {
        if (m_module) FreeLibrary(m_module);
    }
    HMODULE m_module = nullptr;
};

TEST_F(LoadedBridge, ExportsEachNameAtItsOrdinalAndNothingElse)
{
    const char* names[] = {"HLPCloseStack",    "HLPFindADevice",   "HLPFindDevices", "HLPFindVersionDevices",
                           "HLPGetSerialNames", "HLPGetServerInfo", "HLPInitStack",   "Test",
                           "thk_ThunkData32"};
    for (int i = 0; i < 9; ++i) {
        FARPROC byName = GetProcAddress(m_module, names[i]);
        FARPROC byOrdinal = GetProcAddress(m_module, MAKEINTRESOURCEA(i + 1));
        EXPECT_NE(byName, nullptr) << names[i];
        EXPECT_EQ(byName, byOrdinal) << names[i] << " is not ordinal " << i + 1;
    }
    auto base = reinterpret_cast<const BYTE*>(m_module);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    EXPECT_EQ(exports->NumberOfNames, 9u);
    EXPECT_EQ(exports->NumberOfFunctions, 9u);
    EXPECT_EQ(exports->Base, 1u);
}

TEST_F(LoadedBridge, TheConnectionRecordIsWritableDataHoldingTheConnectedEngine)
{
    auto record = reinterpret_cast<const BRIDGE_THUNK_DATA32*>(GetProcAddress(m_module, "thk_ThunkData32"));
    ASSERT_NE(record, nullptr);
    auto base = reinterpret_cast<const BYTE*>(m_module);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    DWORD rva = static_cast<DWORD>(reinterpret_cast<const BYTE*>(record) - base);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    bool found = false;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (rva < section->VirtualAddress || rva >= section->VirtualAddress + section->Misc.VirtualSize) continue;
        found = true;
        EXPECT_TRUE(section->Characteristics & IMAGE_SCN_MEM_WRITE);
        EXPECT_FALSE(section->Characteristics & IMAGE_SCN_MEM_EXECUTE);
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(record->signature, ENGINE_THUNK_SIGNATURE);
    EXPECT_NE(record->connected, 0u);
    EXPECT_EQ(record->engine, GetModuleHandleA("QXLNK16.DLL"));
    for (FARPROC target : record->targets) EXPECT_NE(target, nullptr);
}

TEST(BridgeVersion, CarriesTheProductsVersionInformation)
{
    std::string path = kDist + "\\QXLNK32.DLL";
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::string data(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &data[0]));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(&data[0], "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00040005u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00040002u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00040005u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00040002u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

    struct {
        const char* key;
        const char* value;
    } strings[] = {{"FileDescription", "Win32 QXCOMLNK Thunk DLL"},
                   {"FileVersion", "Version 4.5p2"},
                   {"ProductVersion", "Version 4.5p2"},
                   {"InternalName", "QXLNK32"},
                   {"OriginalFilename", "QXLNK32.DLL"},
                   {"ProductName", "Farline for Windows 95"}};
    for (const auto& s : strings) {
        char* text = nullptr;
        std::string query = std::string("\\StringFileInfo\\040904E4\\") + s.key;
        ASSERT_TRUE(VerQueryValueA(&data[0], query.c_str(), reinterpret_cast<void**>(&text), &length)) << s.key;
        EXPECT_STREQ(text, s.value) << s.key;
    }
}

}  // namespace
