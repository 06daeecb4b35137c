// Window placement stored under the applet key.
#include <gtest/gtest.h>
#include "TestEnvironment.h"
#include "config/WindowPos.h"

using namespace testenv;

namespace {

class WindowPos : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppletKey();
        window = CreateWindowExA(0, "STATIC", "placement", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyWindow(window); }
    RECT Rect() const
    {
        RECT r;
        GetWindowRect(window, &r);
        return r;
    }
    HWND window = nullptr;
};

TEST_F(WindowPos, SavesTopLeftBottomRight)
{
    MoveWindow(window, 100, 50, 400, 350, FALSE);
    ASSERT_TRUE(CWindowPos::SaveWindowPos(window, "Quillet95Position"));
    EXPECT_EQ(GetString(AppletKey(), "Quillet95Position"), "50:100:400:500");
    MoveWindow(window, -30, -5, 200, 100, FALSE);
    ASSERT_TRUE(CWindowPos::SaveWindowPos(window, "BrowserPosition"));
    EXPECT_EQ(GetString(AppletKey(), "BrowserPosition"), "-5:-30:95:170");
}

TEST_F(WindowPos, RestoresPositionOnlyOrPositionAndSize)
{
    SetString(AppletKey(), "Quillet95Position", "50:100:400:500");
    ASSERT_TRUE(CWindowPos::RestoreWindowPos(window, "Quillet95Position", false));
    RECT r = Rect();
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);

    SetString(AppletKey(), "BrowserPosition", "-10:-20:90:230");
    ASSERT_TRUE(CWindowPos::RestoreWindowPos(window, "BrowserPosition", true));
    r = Rect();
    EXPECT_EQ(r.left, -20);
    EXPECT_EQ(r.top, -10);
    EXPECT_EQ(r.right, 230);
    EXPECT_EQ(r.bottom, 90);
}

TEST_F(WindowPos, UnusableValuesLeaveTheWindowWhereItIs)
{
    RECT before = Rect();
    const char* texts[] = {"50:100:400", "", "a:b:c:d", "50;100;400;500"};
    for (const char* t : texts) {
        SetString(AppletKey(), "Quillet95Position", t);
        EXPECT_FALSE(CWindowPos::RestoreWindowPos(window, "Quillet95Position", false)) << t;
    }
    SetDword(AppletKey(), "Quillet95Position", 5);
    EXPECT_FALSE(CWindowPos::RestoreWindowPos(window, "Quillet95Position", false));
    SetString(AppletKey(), "Quillet95Position", "50:100:400:500" + std::string(60, ' '));
    EXPECT_FALSE(CWindowPos::RestoreWindowPos(window, "Quillet95Position", false));
    EXPECT_FALSE(CWindowPos::RestoreWindowPos(window, "NeverSaved", false));
    RECT after = Rect();
    EXPECT_TRUE(EqualRect(&before, &after));

    // Text after the fourth number is ignored.
    SetString(AppletKey(), "Quillet95Position", " 7: 8:100:200 and more");
    EXPECT_TRUE(CWindowPos::RestoreWindowPos(window, "Quillet95Position", true));
    EXPECT_EQ(Rect().left, 8);
    EXPECT_EQ(Rect().top, 7);
}

TEST_F(WindowPos, MinimisedOrMaximisedWindowsSaveNothing)
{
    SetString(AppletKey(), "BrowserPosition", "1:2:3:4");
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(CWindowPos::SaveWindowPos(window, "BrowserPosition"));
    EXPECT_EQ(GetString(AppletKey(), "BrowserPosition"), "1:2:3:4");
    ShowWindow(window, SW_MAXIMIZE);
    EXPECT_TRUE(CWindowPos::SaveWindowPos(window, "BrowserPosition"));
    EXPECT_EQ(GetString(AppletKey(), "BrowserPosition"), "1:2:3:4");
}

}  // namespace
