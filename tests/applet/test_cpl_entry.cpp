// The Control Panel host's view of the applet: the answers of its CPlApplet export.
#include <gtest/gtest.h>
#include <cstring>
#include "CplLibrary.h"

TEST(CplEntry, AnswersTheHostMessagesAsTheDispatchTableSays)
{
    CplLibrary cpl;
    ASSERT_NE(cpl.module, nullptr);
    ASSERT_NE(cpl.proc, nullptr);
    struct Case {
        UINT msg;
        LONG expected;
    } cases[] = {
        {CPL_INIT, 1}, {CPL_GETCOUNT, 1}, {CPL_SELECT, 1}, {CPL_STOP, 1}, {CPL_EXIT, 0},
        {0, 1},       // outside 1 to 8
        {11, 1}, {0x7FFF, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(cpl(nullptr, c.msg), c.expected) << "message " << c.msg;
}

TEST(CplEntry, InquireReturnsOneWithoutTouchingTheRecord)
{
    CplLibrary cpl;
    ASSERT_NE(cpl.proc, nullptr);
    CPLINFO info;
    memset(&info, 0xAB, sizeof info);
    CPLINFO before = info;
    EXPECT_EQ(cpl(nullptr, CPL_INQUIRE, 0, reinterpret_cast<LPARAM>(&info)), 1);
    EXPECT_EQ(memcmp(&info, &before, sizeof info), 0);
}

TEST(CplEntry, StartWithParametersIsLeftToTheDoubleClick)
{
    // A host that offers parameters first must still double-click the applet.
    CplLibrary cpl;
    ASSERT_NE(cpl.proc, nullptr);
    EXPECT_EQ(cpl(nullptr, CPL_STARTWPARMSA, 0, reinterpret_cast<LPARAM>("x")), 0);
    EXPECT_EQ(cpl(nullptr, CPL_STARTWPARMSW, 0, reinterpret_cast<LPARAM>(L"x")), 0);
}

TEST(CplEntry, NewInquireFillsNameInformationIconAndHelpFile)
{
    CplLibrary cpl;
    ASSERT_NE(cpl.proc, nullptr);
    NEWCPLINFOA info;
    memset(&info, 0xCD, sizeof info);
    EXPECT_EQ(cpl(nullptr, CPL_NEWINQUIRE, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.dwSize, sizeof(NEWCPLINFOA));
    EXPECT_EQ(info.dwSize, 252u);
    EXPECT_EQ(info.dwFlags, 0u);
    EXPECT_EQ(info.dwHelpContext, 0u);
    EXPECT_EQ(info.lData, 0);
    EXPECT_NE(info.hIcon, nullptr);
    EXPECT_STREQ(info.szName, "Zantu Farline Quillet95");
    EXPECT_STREQ(info.szInfo, "Configures Zantu Farline for Windows 95");

    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(std::string(info.szHelpFile), std::string(windows) + "\\HELP\\FARL_95.HLP");
}
