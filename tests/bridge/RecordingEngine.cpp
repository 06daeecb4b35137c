// A stand-in for the discovery engine that records every argument it gets and returns what the test
// scripted, so that the bridge's forwarding can be checked byte for byte.
#include <windows.h>
#include <cstring>
#include "RecordingEngine.h"
#include "bridge/EngineThunk.h"

namespace {

RecordedCall g_state;

template <typename... Args>
LONG Record(const char* function, Args... args)
{
    strncpy(g_state.function, function, sizeof g_state.function - 1);
    ULONGLONG values[] = {(ULONGLONG)(args)...};
    g_state.argumentCount = sizeof...(args);
    memset(g_state.values, 0, sizeof g_state.values);
    memcpy(g_state.values, values, sizeof values);
    ++g_state.calls;
    return g_state.result;
}

LONG __cdecl FindVersionDevices(WORD a, WORD b, LPSTR c, LPSTR d, LPVOID e, WORD f, LPWORD g, LPVOID h, WORD i,
                                LPVOID j, LPVOID k)
{
    return Record("FindVersionDevices", a, b, c, d, e, f, g, h, i, j, k);
}
LONG __cdecl FindDevices(WORD a, WORD b, LPSTR c, LPSTR d, LPVOID e, WORD f, LPWORD g, LPVOID h, WORD i, LPVOID j)
{
    return Record("FindDevices", a, b, c, d, e, f, g, h, i, j);
}
LONG __cdecl GetServerInfo(LPVOID a, HLP_SERVER_INFO16* b, WORD c, LPVOID d)
{
    if (b) {
        memcpy(g_state.serverInfo, b, sizeof g_state.serverInfo);
        memcpy(b, g_state.serverInfoOut, sizeof g_state.serverInfoOut);
    }
    return Record("GetServerInfo", a, b, c, d);
}
LONG __cdecl FindADevice(LPVOID a, LPSTR b, LPVOID c, WORD d, LPSTR e) { return Record("FindADevice", a, b, c, d, e); }
LONG __cdecl GetSerialNames(WORD a, WORD b, LPVOID c, LPVOID d, WORD e, LPWORD f, LPVOID g, WORD h, LPVOID i)
{
    return Record("GetSerialNames", a, b, c, d, e, f, g, h, i);
}
LONG __cdecl InitStack(WORD a) { return Record("InitStack", a); }
LONG __cdecl CloseStack(WORD a) { return Record("CloseStack", a); }
void __cdecl TestEntry(void) { Record("Test"); }

}  // namespace

extern "C" __declspec(dllexport) const ENGINE_THUNK_DATA16 thk_ThunkData16;
const ENGINE_THUNK_DATA16 thk_ThunkData16 = {
#ifdef WRONG_SIGNATURE
    0x12345678,
#else
    ENGINE_THUNK_SIGNATURE,
#endif
    ENGINE_THUNK_VERSION,
    TARGET_COUNT,
    {
        reinterpret_cast<FARPROC>(FindVersionDevices),
        reinterpret_cast<FARPROC>(GetServerInfo),
        reinterpret_cast<FARPROC>(FindADevice),
        reinterpret_cast<FARPROC>(GetSerialNames),
        reinterpret_cast<FARPROC>(InitStack),
        reinterpret_cast<FARPROC>(CloseStack),
        reinterpret_cast<FARPROC>(TestEntry),
        reinterpret_cast<FARPROC>(FindDevices),
    },
};

extern "C" __declspec(dllexport) RecordedCall* __cdecl RecordingEngineState(void) { return &g_state; }
