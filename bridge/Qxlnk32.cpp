// QXLNK32: the discovery interface the applet loads, forwarding each call to the discovery engine.
// Value arguments travel on as their low 16 bits, pointers unchanged (the engine works on the caller's
// buffers in place), and the engine's 32-bit result comes back untouched. Only the server-info record
// is converted, to and from the engine's 10-byte form.
#include <windows.h>
#include <cstring>
#include "bridge/EngineThunk.h"
#include "bridge/Qxlnk32.h"
#include "bridge/ThunkConnect.h"

extern "C" {
// The connection record (exported as data).
BRIDGE_THUNK_DATA32 thk_ThunkData32;
}

namespace {

template <typename Fn>
Fn Target(EngineTarget index)
{
    return reinterpret_cast<Fn>(thk_ThunkData32.targets[index]);
}

WORD Low(DWORD value) { return static_cast<WORD>(value & 0xFFFF); }

// A non-zero 32-bit flag stays non-zero in 16 bits.
WORD Narrow(DWORD flag) { return static_cast<WORD>((flag >> 16) | (flag & 0xFFFF)); }

}  // namespace

extern "C" {

LONG __cdecl HLPCloseStack(DWORD transport)
{
    return Target<ENGINE_CLOSE_STACK>(TARGET_CLOSE_STACK)(Low(transport));
}

LONG __cdecl HLPFindADevice(LPVOID address, LPSTR hostName, LPVOID found, DWORD wait, LPSTR community)
{
    return Target<ENGINE_FIND_A_DEVICE>(TARGET_FIND_A_DEVICE)(address, hostName, found, Low(wait), community);
}

LONG __cdecl HLPFindDevices(DWORD transport, DWORD service, LPSTR name, LPSTR type, LPVOID table, DWORD tableSize,
                            LPVOID count, LPVOID reserved1, DWORD wait, LPVOID reserved2)
{
    return Target<ENGINE_FIND_DEVICES>(TARGET_FIND_DEVICES)(Low(transport), Low(service), name, type, table,
                                                            Low(tableSize), static_cast<LPWORD>(count), reserved1,
                                                            Low(wait), reserved2);
}

LONG __cdecl HLPFindVersionDevices(DWORD transport, DWORD service, LPSTR name, LPSTR type, LPVOID table,
                                   DWORD tableSize, LPVOID count, LPVOID reserved1, DWORD wait, LPVOID reserved2,
                                   LPVOID version)
{
    return Target<ENGINE_FIND_VERSION_DEVICES>(TARGET_FIND_VERSION_DEVICES)(
        Low(transport), Low(service), name, type, table, Low(tableSize), static_cast<LPWORD>(count), reserved1,
        Low(wait), reserved2, version);
}

LONG __cdecl HLPGetSerialNames(DWORD transport, DWORD service, LPVOID address, LPVOID names, DWORD namesSize,
                               LPVOID count, LPVOID reserved1, DWORD wait, LPVOID reserved2)
{
    return Target<ENGINE_GET_SERIAL_NAMES>(TARGET_GET_SERIAL_NAMES)(Low(transport), Low(service), address, names,
                                                                    Low(namesSize), static_cast<LPWORD>(count),
                                                                    reserved1, Low(wait), reserved2);
}

LONG __cdecl HLPGetServerInfo(LPVOID address, HLP_SERVER_INFO* info, DWORD wait, LPVOID reserved)
{
    auto call = Target<ENGINE_GET_SERVER_INFO>(TARGET_GET_SERVER_INFO);
    if (!info) return call(address, nullptr, Low(wait), reserved);
    HLP_SERVER_INFO16 narrow;
    memcpy(&narrow.version, &info->version, sizeof narrow.version);
    narrow.padding = 0;
    narrow.flag1 = Narrow(info->flag1);
    narrow.flag2 = Narrow(info->flag2);
    LONG result = call(address, &narrow, Low(wait), reserved);
    // Bytes 5 to 7 of the caller's record are left as they were.
    memcpy(&info->version, &narrow.version, sizeof narrow.version);
    info->flag1 = narrow.flag1;
    info->flag2 = narrow.flag2;
    return result;
}

LONG __cdecl HLPInitStack(DWORD transport)
{
    return Target<ENGINE_INIT_STACK>(TARGET_INIT_STACK)(Low(transport));
}

void __cdecl Test(void) { Target<ENGINE_TEST>(TARGET_TEST)(); }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    return ThunkConnect32(&thk_ThunkData32, "thk_ThunkData16", "QXLNK16.DLL", "QXLNK32.DLL", instance, reason,
                          reserved);
}

}  // extern "C"
