// Runs something on this thread that may show the driver's message boxes, and answers each box
// from a second thread as the user would, recording what it said.
#pragma once
#include <windows.h>
#include <atomic>
#include <functional>
#include <string>
#include <vector>
#include "WindowDriver.h"

namespace boxes {

inline const char* Caption() { return "Farline Reconfiguration Error"; }

inline std::string OpenFailed(int error)
{
    return "Unable to reconfigure Farline driver FARLINE.VXD (Error " + std::to_string(error) +
           ").\n\nPlease contact your System Administrator.";
}
inline std::string IoctlFailed(int error)
{
    return "Unable to reconfigure Farline driver FARLINE.VXD (Ioctl Error " + std::to_string(error) +
           ").\n\nPlease contact your System Administrator.";
}
inline const char* PortsInUse()
{
    return "You are attempting to reconfigure Zantu Farline for Windows 95.\nQuillet95 has detected that Zantu "
           "Farline ports\nare currently in use. Zantu Farline for Windows 95\nis unable to reconfigure itself while "
           "Farline ports are in use.\n\nPlease close all applications using Zantu Farline\nports before proceeding.";
}

struct Seen {
    std::string text;
    HWND owner = nullptr;
    bool ok = false, retry = false, cancel = false;  // its buttons
    bool errorIcon = false;
};

// One answer: the button to press, and what the user does before pressing it.
struct Answer {
    int button;
    std::function<void()> before;
};

// The visible window captioned like the driver's boxes, or null.
inline HWND FindBox()
{
    for (HWND h : ui::TopLevelWindows())
        if (ui::ClassName(h) == "#32770" && ui::Text(h) == Caption()) return h;
    return nullptr;
}

inline bool HasErrorIcon(HWND box)
{
    HICON expected = LoadIconA(nullptr, IDI_HAND);
    bool found = false;
    std::pair<HICON, bool*> ctx(expected, &found);
    EnumChildWindows(
        box,
        [](HWND child, LPARAM l) -> BOOL {
            auto* ctx = reinterpret_cast<std::pair<HICON, bool*>*>(l);
            if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) == ctx->first)
                *ctx->second = true;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return found;
}

// Runs operation on this thread. Each driver box that appears is recorded and answered with the
// next answer (Cancel, or OK when there is none, once the list is used up). tick, when given, runs
// every few milliseconds on the answering thread until it returns true (to act while the
// operation is under way).
inline std::vector<Seen> Run(const std::function<void()>& operation, std::vector<Answer> answers = {},
                             std::function<bool()> tick = {})
{
    std::vector<Seen> seen;
    std::atomic<bool> done{false};
    ui::RunWithDriver(
        [&] {
            operation();
            done = true;
        },
        [&] {
            while (!done) {
                if (tick && tick()) tick = nullptr;
                HWND box = FindBox();
                if (!box) {
                    Sleep(5);
                    continue;
                }
                Seen s;
                s.text = ui::MessageBoxText(box);
                s.owner = GetWindow(box, GW_OWNER);
                s.ok = GetDlgItem(box, IDOK) != nullptr;
                s.retry = GetDlgItem(box, IDRETRY) != nullptr;
                s.cancel = GetDlgItem(box, IDCANCEL) != nullptr;
                s.errorIcon = HasErrorIcon(box);
                size_t index = seen.size();
                seen.push_back(s);
                int button = s.ok ? IDOK : IDCANCEL;
                if (index < answers.size()) {
                    if (answers[index].before) answers[index].before();
                    button = answers[index].button;
                }
                ui::PressButton(box, button);
                while (!done && IsWindow(box) && IsWindowVisible(box)) Sleep(5);
            }
        });
    return seen;
}

}  // namespace boxes
