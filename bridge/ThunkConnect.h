// Connects QXLNK32 to the discovery engine on each notification of its entry point.
#pragma once
#include <windows.h>

// With DLL_PROCESS_ATTACH: loads the engine module (first from this library's own directory, then by
// the normal search), finds its exported record named thunk16, checks it and copies its entry points
// into thunkData (a BRIDGE_THUNK_DATA32). With DLL_PROCESS_DETACH: disconnects and, unless the process
// is ending, unloads the engine. Thread notifications only report whether the connection stands.
// Returns FALSE when the engine is missing or unusable; the failure reason is left in GetLastError.
BOOL ThunkConnect32(LPVOID thunkData, LPCSTR thunk16, LPCSTR dll16, LPCSTR dll32, HINSTANCE instance, DWORD reason,
                    LPVOID reserved);
