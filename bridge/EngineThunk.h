// The connection between QXLNK32 and the discovery engine QXLNK16.DLL.
//
// The engine exports one data record, "thk_ThunkData16", holding its entry points in a fixed order.
// QXLNK32 finds it when it loads, checks it and copies the entry points into its own record,
// "thk_ThunkData32"; every export then calls through that copy. Engine entry points take 16-bit values
// and plain pointers the caller owns for the length of the call.
#pragma once
#include <windows.h>
#include "discovery/HlpRecords.h"

#define ENGINE_THUNK_SIGNATURE 0x4B545851u  // "QXTK"
#define ENGINE_THUNK_VERSION 1u

// Positions in the target table.
enum EngineTarget {
    TARGET_FIND_VERSION_DEVICES,
    TARGET_GET_SERVER_INFO,
    TARGET_FIND_A_DEVICE,
    TARGET_GET_SERIAL_NAMES,
    TARGET_INIT_STACK,
    TARGET_CLOSE_STACK,
    TARGET_TEST,
    TARGET_FIND_DEVICES,
    TARGET_COUNT
};

#pragma pack(push, 1)
// The engine's server-info record (10 bytes): flags narrowed to 16 bits.
struct HLP_SERVER_INFO16 {
    HLP_VERSION version;
    BYTE padding;
    WORD flag1;
    WORD flag2;
};
#pragma pack(pop)
static_assert(sizeof(HLP_SERVER_INFO16) == 10, "engine server info layout");

// The engine's entry points.
typedef LONG(__cdecl* ENGINE_FIND_DEVICES)(WORD transport, WORD service, LPSTR name, LPSTR type, LPVOID table,
                                           WORD tableSize, LPWORD count, LPVOID reserved1, WORD wait,
                                           LPVOID reserved2);
typedef LONG(__cdecl* ENGINE_FIND_VERSION_DEVICES)(WORD transport, WORD service, LPSTR name, LPSTR type,
                                                   LPVOID table, WORD tableSize, LPWORD count, LPVOID reserved1,
                                                   WORD wait, LPVOID reserved2, LPVOID version);
typedef LONG(__cdecl* ENGINE_GET_SERIAL_NAMES)(WORD transport, WORD service, LPVOID address, LPVOID names,
                                               WORD namesSize, LPWORD count, LPVOID reserved1, WORD wait,
                                               LPVOID reserved2);
typedef LONG(__cdecl* ENGINE_GET_SERVER_INFO)(LPVOID address, HLP_SERVER_INFO16* info, WORD wait, LPVOID reserved);
typedef LONG(__cdecl* ENGINE_FIND_A_DEVICE)(LPVOID address, LPSTR hostName, LPVOID found, WORD wait,
                                            LPSTR community);
typedef LONG(__cdecl* ENGINE_INIT_STACK)(WORD transport);
typedef LONG(__cdecl* ENGINE_CLOSE_STACK)(WORD transport);
typedef void(__cdecl* ENGINE_TEST)(void);

// Exported by the engine as "thk_ThunkData16".
struct ENGINE_THUNK_DATA16 {
    DWORD signature;  // ENGINE_THUNK_SIGNATURE
    DWORD version;    // ENGINE_THUNK_VERSION
    DWORD count;      // TARGET_COUNT
    FARPROC targets[TARGET_COUNT];
};

// Exported by QXLNK32 as "thk_ThunkData32".
struct BRIDGE_THUNK_DATA32 {
    DWORD signature;                // ENGINE_THUNK_SIGNATURE once connected, else 0
    DWORD connected;                // non-zero while the engine is connected
    HMODULE engine;                 // the engine module
    const ENGINE_THUNK_DATA16* peer;
    FARPROC targets[TARGET_COUNT];  // copied from the peer when connecting
};
