// The applet's string table: every entry loads with exactly the text the messages rely on.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "framework/String.h"

namespace {

struct Entry {
    UINT id;
    const char* text;
};

// Texts as the applet shows them; "\222" is the right single quotation mark in Windows-1252.
const Entry kEntries[] = {
    {101, "Windows sockets initialization failed."},
    {106, "Remote Access Server"},
    {107, "Server Type"},
    {57344, "Zantu Quillet95"},
    {57350, "Copy COM%d: Config to..."},
    {57357, "Unable to load QXLNK32.DLL.\n\n"},
    {57361, "Device Discovery Failed"},
    {57363, "Unable to allocate buffer space."},
    {57366, "HLPFindDevices() returned a corrupt device table."},
    {57367, "Looking for port groups. Please wait..."},
    {57368, "\"%s\" has %d port groups."},
    {57369, "Port Group"},
    {57375, "%s Properties"},
    {57376, "Quillet95 Environment Error"},
    {57377, "The ZANTU environment variable is invalid.\n\nZantu Farline for Windows 95 requires the ZANTU environment\nvariable to be set to the directory where your Zantu\nsoftware is installed. Please check your AUTOEXEC.BAT\nfile and ensure that your ZANTU environment variable\nis properly set."},
    {57379, "&Add Selection to COM%d:"},
    {57380, "All %s Zantu Remote Access Servers"},
    {57381, "Device Information"},
    {57382, "Port Information"},
    {57383, "This is a Zantu remote access device"},
    {57384, "This is a %s on device: '%s'"},
    {57386, "port group"},
    {57387, "Command Shell port"},
    {57388, "Searching for %s Zantu devices..."},
    {57389, "Device Port Enumeration Failed"},
    {57391, "Double-click a server to show its port groups"},
    {57392, "This device has no configured port groups."},
    {57393, "This operation will cause your current COM port redirection configuration to be removed.\n\nAre you sure you want to continue?"},
    {57394, "Switching Transports"},
    {57395, "Confirm %s"},
    {57396, "COM%d: already has the maximum number\nof configurable devices (%d) configured on it.\n\nYou may not add more devices to this port\nwithout deleting some first."},
    {57397, "Add Device to Port Error"},
    {57398, "Confirmation"},
    {57399, "COM%d: already has remote access\ndevices currently configured.\n\nContinuing will overwrite your COM%d: remote\naccess configuration with the configuration\nfrom COM%d:.\n\nAre you sure you want to do this?"},
    {57402, "The IP Address that you entered is invalid.\nPlease try again."},
    {57404, "Add Device Error"},
    {57406, "Unable to reconfigure Farline driver FARLINE.VXD (Error %d).\n\nPlease contact your System Administrator."},
    {57407, "Farline Reconfiguration Error"},
    {57408, "You are attempting to reconfigure Zantu Farline for Windows 95.\nQuillet95 has detected that Zantu Farline ports\nare currently in use. Zantu Farline for Windows 95\nis unable to reconfigure itself while Farline ports are in use.\n\nPlease close all applications using Zantu Farline\nports before proceeding."},
    {57409, "Unable to reconfigure Farline driver FARLINE.VXD (Ioctl Error %d).\n\nPlease contact your System Administrator."},
    {57410, "Zantu Farline for Windows 95 is setup to run over %s and %s is not\ncurrently configured on this computer.\n\nEither use the Windows Network Control Panel to configure %s\non this computer or reconfigure Zantu Farline for Windows 95 to use %s in the\nQuillet95 Options tab.\n\nZantu Farline for Windows 95 will not function correctly until this situation is rectified."},
    {57411, "Zantu Farline Configuration Warning"},
    {57413, "Upgrade Warning"},
    {57415, "Upgrading configuration options..."},
    {57416, "Upgrading COM port settings..."},
    {57417, "Updating Windows 95 System Registry..."},
    {57418, "The Farline for Windows 3.X configuration for port COM%d\nis invalid and will not be copied to Farline for Windows 95.\n\nYou will have to configure this port yourself using Zantu\nQuillet95 in the Windows Control Panel."},
    {57419, "Upgrade Complete"},
    {57420, "None"},
    {57421, "ZANTU.INI"},
    {57422, "ZANTU"},
    {57423, "Please wait..."},
    {57424, "Validating Zantu devices found"},
    {57425, "Zantu Farline for Windows 3.X is configured to run over\n%s and %s is not currently configured on this computer.\n\nYour Farline for Windows 3.X settings will not be copied to\nFarline for Windows 95. You will have to configure your\nFarline for Windows 95 settings yourself using Zantu Quillet95\nin the Windows Control Panel."},
    {57426, "Upgrade Error"},
    {57427, "No compatible networking software is configured on this\ncomputer.\n\nZantu Farline for Windows 95 requires either IPX/SPX or\nTCP/IP networking software to be configured on this\ncomputer. Neither was detected. Please use the Windows\nControl Panel to install appropriate networking software or\ncontact your Network Administrator."},
    {57428, "Unknown"},
    {57429, "'%s' Added"},
    {57430, "Searching..."},
    {57431, "'%s' Already Added"},
    {57432, "An unknown TCP/IP error has occurred. Verify that your\nTCP/IP networking is working correctly, then try again. If this\nproblem continues, contact your network administrator."},
    {57433, "There was not enough memory to complete the action you\nwere attempting. Try closing some unneeded programs, then\ntry this operation again."},
    {57434, "A required networking file (NWIPXSPX.DLL or WINSOCK.DLL)\ncould not be found. Verify that IPX/SPX or TCP/IP networking\nis working properly, then try again. If this problem continues,\ncontact your network administrator"},
    {57435, "An error occurred searching for Farline devices on your\nnetwork. (-7) If this problem continues, contact your network\nadministrator."},
    {57436, "An error occurred searching for Farline devices on your\nnetwork. (-8) If this problem continues, contact your network\nadministrator."},
    {57437, "An error occurred searching for Farline devices on your\nnetwork. (-9) If this problem continues, contact your network\nadministrator."},
    {57438, "Could not find the initialization (ZANTU.INI) file. Make sure the\ncorrect path and environment statements appear in your\nAUTOEXEC.BAT file, then restart your computer and try again."},
    {57439, "A TCP/IP networking file (WINSOCK.DLL) in use on your\nsystem is not the correct version. It must be version 1.1 or\nhigher. Reinstall a supported TCP/IP networking package,\nthen try again."},
    {57440, "A network error occurred when closing the connection to the\nFarline device. If this problem continues, contact your network \nadministrator."},
    {57441, "A network error occurred. Check your connections to the\nnetwork and make sure the network is working, then try again.\nIf this problem continues, contact your network administrator."},
    {57442, "The Farline device did not accept the TCP/IP network\nconnection for dialing out. If this problem continues, contact\nyour network administrator."},
    {57443, "The networking protocol currently selected for dialing out is not\nsupported on this computer. Select a different protocol\nfor dialing out in the control panel, then try again."},
    {57444, "The Farline device could not be found on the network at this\ntime. Wait a while, then try again. If this problem continues,\ncontact your network administrator for assistance."},
    {57445, "Could not send data to the Farline device over the network.\nCheck the device and your computer\222s connections to the\nnetwork, then try again."},
    {57446, "Could not receive data from the Farline device over the\nnetwork. Check the device and your computer\222s connections\nto the network, then try again."},
    {57447, "The TCP/IP Farline device name you specified could not be\nfound on the network. Check the exact device name and\nreenter it if necessary, then try again."},
    {57448, "A required setting could not be found in the Farline setting\nfiles. Reinstall the Farline software from the original disks, then \ntry again."},
    {57449, "A required section could not be found in the Farline setting\nfiles. Reinstall the Farline software from the original disks, then \ntry again."},
    {57450, "The Farline device you specified cannot be used with the\nTCP/IP networking protocol. Select a different protocol or a\ndifferent device for dialing out, then try again."},
    {57451, "Unknown Error (%ld)"},
    {57452, "%lu Minutes"},
    {57453, "Disabled"},
    {57454, "%lu Hours %lu Minutes"},
    {57455, "Until Windows Logout"},
    {57456, "Farline and Quillet95 are trademarks of Zantu."},
    {61714, "Please enter an integer between %1 and %2."},
    {61716, "Please enter no more than %1 characters."},
    {61719, "Please enter a positive integer."},
};

TEST(StringTable, EveryEntryLoadsWithItsExactText)
{
    for (const Entry& e : kEntries) {
        SCOPED_TRACE(testing::Message() << "string " << e.id);
        CString s;
        EXPECT_TRUE(s.LoadString(e.id));
        EXPECT_EQ(static_cast<const std::string&>(s), e.text);
    }
}

TEST(StringTable, RightQuotationMarkIsTheAnsiByte0x92)
{
    // The applet is an ANSI program: the apostrophe in "computer's" must reach it as
    // the single Windows-1252 byte 0x92, not as UTF-8 or as a plain apostrophe.
    ASSERT_EQ(GetACP(), 1252u) << "the test expects the Windows-1252 ANSI code page";
    for (UINT id : {57445u, 57446u}) {
        SCOPED_TRACE(testing::Message() << "string " << id);
        CString s = CString::Load(id);
        size_t at = s.find("computer");
        ASSERT_NE(at, std::string::npos);
        ASSERT_GE(s.size(), at + 10);
        EXPECT_EQ(static_cast<unsigned char>(s[at + 8]), 0x92);
        EXPECT_EQ(s[at + 9], 's');
        for (unsigned char c : s) {
            if (c >= 0x80) {
                EXPECT_EQ(c, 0x92) << "unexpected non-ASCII byte";
            }
        }

        // In the resource itself the character is stored as U+2019.
        wchar_t wide[512];
        int n = LoadStringW(GetModuleHandleW(nullptr), id, wide, 512);
        ASSERT_GT(n, 0);
        std::wstring w(wide, static_cast<size_t>(n));
        size_t wat = w.find(L"computer");
        ASSERT_NE(wat, std::wstring::npos);
        EXPECT_EQ(w[wat + 8], L'\x2019');
    }
}

}  // namespace
