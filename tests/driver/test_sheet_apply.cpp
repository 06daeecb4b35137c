// OK and Apply of the real property sheet: they run the apply sequence with the sheet as owner of
// its messages, and a failed apply keeps the sheet open with Apply enabled.
#include <gtest/gtest.h>
#include "ApplyFixture.h"
#include "tests/applet/CplLibrary.h"
#include "DriverBoxes.h"
#include "applet/QuilletApp.h"
#include "applet/QuilletPropertySheet.h"

namespace {

const char* kSheetCaption = "Zantu Quillet95";

class SheetApply : public ApplyFixture {
protected:
    // Runs the sheet as an opening of the applet does, over the given configuration, while the
    // script works it from the driver thread.
    void RunSheet(CRegistryInfo& info, const std::function<void(HWND)>& script)
    {
        GetApplet().m_pRegistryInfo = &info;
        CQuilletPropertySheet sheet(57344, nullptr, 0);
        ui::RunWithDriver([&] { sheet.DoModal(); },
                          [&] {
                              HWND h = ui::WaitForWindow(kSheetCaption);
                              ASSERT_NE(h, nullptr);
                              script(h);
                          });
        GetApplet().m_pRegistryInfo = nullptr;
    }

    // What a page does when the user edits it: the sheet's Apply button comes on.
    static void MarkEdited(HWND sheet)
    {
        SendMessageA(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(ui::SheetPage(sheet, 1)), 0);
    }
    static HWND ApplyButton(HWND sheet) { return ui::Control(sheet, ID_APPLY_NOW); }

    // Presses a sheet button and answers the driver box it brings up; returns the box's text.
    static std::string PressAndAnswer(HWND sheet, int buttonId, int answer, HWND* owner = nullptr)
    {
        ui::Click(ui::Control(sheet, buttonId));
        HWND box = ui::WaitForWindow(boxes::Caption());
        if (!box) return "<no message>";
        std::string text = ui::MessageBoxText(box);
        if (owner) *owner = GetWindow(box, GW_OWNER);
        ui::PressButton(box, answer);
        ui::WaitForWindowGone(boxes::Caption());
        return text;
    }
    // Waits until the click has been handled: the sheet's thread answers messages again.
    static void Settle(HWND sheet)
    {
        DWORD_PTR ignored;
        SendMessageTimeoutA(sheet, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
        Sleep(50);
    }
};

TEST_F(SheetApply, AFailedOkKeepsTheSheetOpenAndTheNextOkSucceeds)
{
    auto info = Load();
    FarlineDriver::SetAnswers(FARLINE_REQUEST_RECONFIGURE, {3});
    bool openAfterFailure = false, applyEnabledAfterFailure = false;
    std::string message;
    HWND owner = nullptr, sheetWindow = nullptr;
    RunSheet(*info, [&](HWND sheet) {
        sheetWindow = sheet;
        Redirect(*info, 2, "SRV1:ORD05:");
        MarkEdited(sheet);
        message = PressAndAnswer(sheet, IDOK, IDOK, &owner);
        Settle(sheet);
        openAfterFailure = IsWindow(sheet) && IsWindowVisible(sheet);
        applyEnabledAfterFailure = ui::IsEnabled(ApplyButton(sheet));
        // The driver answers 0 again; OK closes the sheet.
        ui::Click(ui::Control(sheet, IDOK));
        EXPECT_TRUE(ui::WaitForWindowGone(kSheetCaption));
    });
    EXPECT_EQ(message, boxes::IoctlFailed(3));
    EXPECT_EQ(owner, sheetWindow);
    EXPECT_TRUE(openAfterFailure);
    EXPECT_TRUE(applyEnabledAfterFailure);
    EXPECT_EQ(FarlineDriver::Requests(), "2,1,2,1,1");
    EXPECT_EQ(StoredFlags(), "0100");
    EXPECT_EQ(PortDevices(), "0100");
}

TEST_F(SheetApply, ApplyWithPortsInUseCancelledThenApplied)
{
    auto info = Load();
    FarlineDriver::SetAnswer(FARLINE_REQUEST_PORTS_IN_USE, 1);
    std::string message;
    bool enabledAfterCancel = false, disabledAfterApply = false, openAfterApply = false;
    std::string storedAfterCancel, requestsAfterCancel;
    RunSheet(*info, [&](HWND sheet) {
        Redirect(*info, 3, "SRV1:ORD05:");
        MarkEdited(sheet);
        message = PressAndAnswer(sheet, ID_APPLY_NOW, IDCANCEL);
        Settle(sheet);
        enabledAfterCancel = ui::IsEnabled(ApplyButton(sheet));
        storedAfterCancel = StoredFlags();
        requestsAfterCancel = FarlineDriver::Requests();

        FarlineDriver::SetAnswer(FARLINE_REQUEST_PORTS_IN_USE, 0);
        ui::Click(ApplyButton(sheet));
        Settle(sheet);
        disabledAfterApply = !ui::IsEnabled(ApplyButton(sheet));
        openAfterApply = IsWindow(sheet) && IsWindowVisible(sheet);
        ui::PressButton(sheet, IDCANCEL);
        EXPECT_TRUE(ui::WaitForWindowGone(kSheetCaption));
    });
    EXPECT_EQ(message, boxes::PortsInUse());
    EXPECT_TRUE(enabledAfterCancel);
    EXPECT_EQ(storedAfterCancel, "0000");
    EXPECT_EQ(requestsAfterCancel, "2");
    EXPECT_TRUE(disabledAfterApply);
    EXPECT_TRUE(openAfterApply);
    EXPECT_EQ(FarlineDriver::Requests(), "2,2,1,1");
    EXPECT_EQ(StoredFlags(), "0010");
    EXPECT_EQ(info->options.Modified, 0u);
}

// The whole applet, opened with a double-click: OK without an edit closes the sheet and leaves
// the driver alone.
TEST_F(SheetApply, OkWithoutEditsClosesWithoutTouchingTheDriver)
{
    CplLibrary cpl;
    ASSERT_NE(cpl.proc, nullptr);
    ASSERT_EQ(cpl(nullptr, CPL_INIT), 1);
    bool closed = false, boxSeen = false;
    ui::RunWithDriver([&] { cpl(nullptr, CPL_DBLCLK, 0, 0); },
                      [&] {
                          HWND sheet = ui::WaitForWindow(kSheetCaption);
                          ASSERT_NE(sheet, nullptr);
                          ui::Click(ui::Control(sheet, IDOK));
                          closed = ui::WaitForWindowGone(kSheetCaption);
                          boxSeen = boxes::FindBox() != nullptr;
                      });
    cpl(nullptr, CPL_EXIT);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(boxSeen);
    EXPECT_EQ(FarlineDriver::Opens(), 0u);
    EXPECT_EQ(FarlineDriver::Requests(), "");
}

}  // namespace
