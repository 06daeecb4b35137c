// One opening of the applet from the host's double-click, driven through its real windows.
#include <gtest/gtest.h>
#include "CplLibrary.h"
#include "TestEnvironment.h"

namespace {

const char* kEnvironmentText =
    "The ZANTU environment variable is invalid.\n\nZantu Farline for Windows 95 requires the ZANTU environment\n"
    "variable to be set to the directory where your Zantu\nsoftware is installed. Please check your AUTOEXEC.BAT\n"
    "file and ensure that your ZANTU environment variable\nis properly set.";

class DoubleClick : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::ResetAppletKey();
        ASSERT_NE(cpl.proc, nullptr);
        ASSERT_EQ(cpl(nullptr, CPL_INIT), 1);
    }
    void TearDown() override { cpl(nullptr, CPL_EXIT); }

    LONG Open() { return cpl(nullptr, CPL_DBLCLK, 0, 0); }

    CplLibrary cpl;
};

TEST_F(DoubleClick, WithoutZantuShowsTheEnvironmentErrorAndNoSheet)
{
    for (const char* value : {static_cast<const char*>(nullptr), ""}) {
        SetEnvironmentVariableA("ZANTU", value);
        bool sheetSeen = false;
        LONG result = -1;
        ui::RunWithDriver([&] { result = Open(); },
                          [&] {
                              HWND box = ui::WaitForWindow("Quillet95 Environment Error");
                              ASSERT_NE(box, nullptr);
                              EXPECT_EQ(ui::MessageBoxText(box), kEnvironmentText);
                              sheetSeen = ui::WaitForWindow("Zantu Quillet95", 0) != nullptr;
                              ui::PressButton(box, IDOK);
                          });
        EXPECT_EQ(result, 0);
        EXPECT_FALSE(sheetSeen);
        // Nothing was loaded, so nothing was written.
        EXPECT_FALSE(testenv::KeyExists(testenv::AppletKey()));
    }
}

std::string FormatPosition(int top, int left, int bottom, int right)
{
    char text[64];
    snprintf(text, sizeof text, "%d:%d:%d:%d", top, left, bottom, right);
    return text;
}

struct SheetState {
    int pages = 0;
    std::string tabs[5];
    int images[4] = {-2, -2, -2, -2};
    int active = -1;
    bool allPagesExist = false;
};

// Opens the applet, reads the sheet as the user first sees it, and cancels.
SheetState OpenAndReadSheet(CplLibrary& cpl)
{
    SheetState state;
    LONG result = -1;
    ui::RunWithDriver([&] { result = cpl(nullptr, CPL_DBLCLK, 0, 0); },
                      [&] {
                          HWND sheet = ui::WaitForWindow("Zantu Quillet95");
                          ASSERT_NE(sheet, nullptr);
                          state.pages = ui::SheetPageCount(sheet);
                          for (int i = 0; i < 5; ++i) state.tabs[i] = ui::SheetTabText(sheet, i);
                          for (int i = 0; i < 4; ++i) state.images[i] = ui::SheetTabImage(sheet, i);
                          state.active = ui::SheetActiveIndex(sheet);
                          state.allPagesExist = true;
                          for (int i = 0; i < 5; ++i) state.allPagesExist &= ui::SheetPage(sheet, i) != nullptr;
                          ui::PressButton(sheet, IDCANCEL);
                          EXPECT_TRUE(ui::WaitForWindowGone("Zantu Quillet95"));
                      });
    EXPECT_EQ(result, 0);
    return state;
}

TEST_F(DoubleClick, ShowsTheSheetOnOptionsWhenNoPortIsRedirected)
{
    testenv::MakeZantuDirectory("dblclk");
    SheetState s = OpenAndReadSheet(cpl);
    EXPECT_EQ(s.pages, 5);
    const char* expected[] = {"COM1", "COM2", "COM3", "COM4", "Options"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(s.tabs[i], expected[i]);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s.images[i], 0) << "tab " << i;
    EXPECT_EQ(s.active, 4);
    EXPECT_TRUE(s.allPagesExist);
}

TEST_F(DoubleClick, OpensOnTheFirstRedirectedPortWithItsTabImage)
{
    testenv::MakeZantuDirectory("dblclk");
    // A first opening writes the defaults; then the user's earlier choices are stored.
    OpenAndReadSheet(cpl);
    testenv::SetDword(testenv::Comm(), "COM3Redir", 1);
    SheetState s = OpenAndReadSheet(cpl);
    EXPECT_EQ(s.active, 2);
    int expected[] = {0, 0, 1, 0};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s.images[i], expected[i]) << "tab " << i;

    testenv::SetDword(testenv::Comm(), "COM2Redir", 1);
    testenv::SetDword(testenv::Comm(), "COM4Redir", 1);
    s = OpenAndReadSheet(cpl);
    EXPECT_EQ(s.active, 1);
    int expected2[] = {0, 1, 1, 1};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s.images[i], expected2[i]) << "tab " << i;
}

TEST_F(DoubleClick, CancelledFirstOpeningLeavesEveryDefaultStored)
{
    testenv::MakeZantuDirectory("dblclk");
    OpenAndReadSheet(cpl);
    using testenv::GetDword;
    using testenv::GetString;
    struct Dword {
        std::string key;
        const char* name;
        DWORD value;
    } dwords[] = {
        {testenv::Comm(), "Narrate", 0},         {testenv::Comm(), "ShowUsableOnly", 1},
        {testenv::Comm(), "COM1Redir", 0},       {testenv::Comm(), "COM4Redir", 0},
        {testenv::Zfarline(), "receive", 16},    {testenv::Zfarline(), "send", 40},
        {testenv::Zfarline(), "transmit", 40},   {testenv::Zfarline(), "buffer", 8},
        {testenv::Zfarline(), "reopen", 12000},  {testenv::Zfarline(), "silent_auth", 1},
        {testenv::Zfarline(), "addroute", 1},    {testenv::Zfarline(), "passcache", 3600000},
    };
    for (const auto& d : dwords) EXPECT_EQ(GetDword(d.key, d.name), d.value) << d.name;
    EXPECT_EQ(GetString(testenv::Comm(), "Transport"), "TCP/IP");
    EXPECT_EQ(GetString(testenv::Comm(), "COM3List"), "");
    EXPECT_TRUE(testenv::KeyExists(testenv::Servers()));

    // A damaged value stored by hand is repaired by the next opening.
    testenv::SetDword(testenv::Zfarline(), "reopen", 0);
    OpenAndReadSheet(cpl);
    EXPECT_EQ(GetDword(testenv::Zfarline(), "reopen"), 12000u);
}

TEST_F(DoubleClick, SheetReopensWhereItWasLeftWithItsOwnSize)
{
    testenv::MakeZantuDirectory("dblclk");
    OpenAndReadSheet(cpl);
    // Closing stored four numbers.
    int t, l, b, r;
    ASSERT_EQ(sscanf(testenv::GetString(testenv::AppletKey(), "Quillet95Position").c_str(), "%d:%d:%d:%d", &t, &l,
                     &b, &r),
              4);
    int width = r - l, height = b - t;

    testenv::SetString(testenv::AppletKey(), "Quillet95Position", "50:100:60:110");
    RECT seen{};
    ui::RunWithDriver([&] { cpl(nullptr, CPL_DBLCLK, 0, 0); },
                      [&] {
                          HWND sheet = ui::WaitForWindow("Zantu Quillet95");
                          ASSERT_NE(sheet, nullptr);
                          GetWindowRect(sheet, &seen);
                          ui::PressButton(sheet, IDCANCEL);
                      });
    EXPECT_EQ(seen.left, 100);
    EXPECT_EQ(seen.top, 50);
    EXPECT_EQ(seen.right - seen.left, width);
    EXPECT_EQ(seen.bottom - seen.top, height);
    EXPECT_EQ(testenv::GetString(testenv::AppletKey(), "Quillet95Position"),
              FormatPosition(50, 100, 50 + height, 100 + width));
}

}  // namespace
