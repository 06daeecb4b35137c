// Drives the applet's real windows from a second thread, as a user would: finds windows and
// controls, clicks, reads texts and states, and answers message boxes.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>

namespace ui {

// A top-level window of this process whose caption equals the text (class optional), waiting up
// to timeoutMs for it to appear; null when none did.
HWND WaitForWindow(const std::string& caption, DWORD timeoutMs = 5000, const char* className = nullptr);
// True when no window with that caption exists after waiting up to timeoutMs for it to go.
bool WaitForWindowGone(const std::string& caption, DWORD timeoutMs = 5000);
// The visible top-level windows of this process (dialogs, sheets, message boxes).
std::vector<HWND> TopLevelWindows();

std::string Text(HWND hwnd);
std::string ClassName(HWND hwnd);
HWND Control(HWND parent, int id);               // a direct child by id
HWND FindDescendant(HWND parent, int id);        // any descendant by id (pages inside a sheet)
bool IsChecked(HWND button);
bool IsEnabled(HWND hwnd);

// Clicks a button without waiting for what the click does (it may open a modal window).
void Click(HWND button);
// Clicks and waits until the click has been handled.
void ClickAndWait(HWND button);
// Sets the text of an edit control as typing would (EN_CHANGE is sent).
void TypeText(HWND edit, const std::string& text);

// A message box: its text and the press of one of its buttons (IDOK, IDYES, IDNO, IDRETRY...).
std::string MessageBoxText(HWND box);
void PressButton(HWND dialog, int id);

// Property sheets.
int SheetPageCount(HWND sheet);
int SheetActiveIndex(HWND sheet);
std::string SheetTabText(HWND sheet, int index);
int SheetTabImage(HWND sheet, int index);
HWND SheetPage(HWND sheet, int index);           // the window of page index (null before it exists)
void SelectSheetPage(HWND sheet, int index);

// List views.
int ListCount(HWND list);
std::string ListText(HWND list, int item, int sub);
int ListImage(HWND list, int item);

// Runs uiCall on this thread (it may run modal loops) while script runs on a second thread.
// When the script ends, any window it left open is closed so uiCall can return.
void RunWithDriver(const std::function<void()>& uiCall, const std::function<void()>& script);

// "Z:\..." path of a file of the Unix file system, for Windows calls.
std::string WindowsPath(const std::string& unixPath);

}  // namespace ui
