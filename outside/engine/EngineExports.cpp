// QXLNK16.DLL: the discovery engine that QXLNK32 connects to. Its entry points are reached through
// the record "thk_ThunkData16"; the search figures through "QXLNK16GetSearchStats".
#include <windows.h>
#include "Engine.h"

namespace {

LONG __cdecl FindVersionDevices16(WORD transport, WORD service, LPSTR name, LPSTR type, LPVOID table, WORD tableSize,
                                  LPWORD count, LPVOID, WORD wait, LPVOID, LPVOID version)
{
    return engine::FindDevices(transport, service, name, type, static_cast<BYTE*>(table), tableSize, count, wait,
                               static_cast<const HLP_VERSION*>(version));
}

LONG __cdecl FindDevices16(WORD transport, WORD service, LPSTR name, LPSTR type, LPVOID table, WORD tableSize,
                           LPWORD count, LPVOID, WORD wait, LPVOID)
{
    return engine::FindDevices(transport, service, name, type, static_cast<BYTE*>(table), tableSize, count, wait,
                               nullptr);
}

LONG __cdecl GetServerInfo16(LPVOID address, HLP_SERVER_INFO16* info, WORD wait, LPVOID)
{
    return engine::GetServerInfo(static_cast<const BYTE*>(address), info, wait);
}

LONG __cdecl FindADevice16(LPVOID address, LPSTR hostName, LPVOID found, WORD wait, LPSTR community)
{
    return engine::FindADevice(static_cast<const BYTE*>(address), hostName, static_cast<BYTE*>(found), wait,
                               community);
}

LONG __cdecl GetSerialNames16(WORD transport, WORD service, LPVOID address, LPVOID names, WORD namesSize,
                              LPWORD count, LPVOID, WORD wait, LPVOID)
{
    return engine::GetSerialNames(transport, service, static_cast<const BYTE*>(address), static_cast<BYTE*>(names),
                                  namesSize, count, wait);
}

LONG __cdecl InitStack16(WORD transport) { return engine::InitStack(transport); }
LONG __cdecl CloseStack16(WORD transport) { return engine::CloseStack(transport); }
void __cdecl Test16(void) { OutputDebugStringA("QXLNK16: connected\n"); }

}  // namespace

extern "C" const ENGINE_THUNK_DATA16 thk_ThunkData16;
extern "C" void __cdecl QXLNK16GetSearchStats(ENGINE_SEARCH_STATS* stats);

const ENGINE_THUNK_DATA16 thk_ThunkData16 = {
    ENGINE_THUNK_SIGNATURE,
    ENGINE_THUNK_VERSION,
    TARGET_COUNT,
    {
        reinterpret_cast<FARPROC>(FindVersionDevices16),
        reinterpret_cast<FARPROC>(GetServerInfo16),
        reinterpret_cast<FARPROC>(FindADevice16),
        reinterpret_cast<FARPROC>(GetSerialNames16),
        reinterpret_cast<FARPROC>(InitStack16),
        reinterpret_cast<FARPROC>(CloseStack16),
        reinterpret_cast<FARPROC>(Test16),
        reinterpret_cast<FARPROC>(FindDevices16),
    },
};

void __cdecl QXLNK16GetSearchStats(ENGINE_SEARCH_STATS* stats) { engine::LastSearchStats(stats); }

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    // Windows Sockets stays loaded for the rest of the process once the engine has been: the bridge loads
    // and unloads the engine for every operation, and sockets made after Windows Sockets itself was
    // unloaded and loaded again do not work under Wine.
    if (reason == DLL_PROCESS_ATTACH) {
        HMODULE sockets = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, "ws2_32.dll", &sockets);
    }
    return TRUE;
}
