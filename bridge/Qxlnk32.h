// The exports of QXLNK32.DLL and the pointer types a program that loads it by name calls them through.
// Value arguments are 32-bit (the engine keeps their low 16 bits); pointers are the caller's buffers.
#pragma once
#include <windows.h>
#include "discovery/HlpRecords.h"

extern "C" {
LONG __cdecl HLPCloseStack(DWORD transport);
LONG __cdecl HLPFindADevice(LPVOID address, LPSTR hostName, LPVOID found, DWORD wait, LPSTR community);
LONG __cdecl HLPFindDevices(DWORD transport, DWORD service, LPSTR name, LPSTR type, LPVOID table, DWORD tableSize,
                            LPVOID count, LPVOID reserved1, DWORD wait, LPVOID reserved2);
LONG __cdecl HLPFindVersionDevices(DWORD transport, DWORD service, LPSTR name, LPSTR type, LPVOID table,
                                   DWORD tableSize, LPVOID count, LPVOID reserved1, DWORD wait, LPVOID reserved2,
                                   LPVOID version);
LONG __cdecl HLPGetSerialNames(DWORD transport, DWORD service, LPVOID address, LPVOID names, DWORD namesSize,
                               LPVOID count, LPVOID reserved1, DWORD wait, LPVOID reserved2);
LONG __cdecl HLPGetServerInfo(LPVOID address, HLP_SERVER_INFO* info, DWORD wait, LPVOID reserved);
LONG __cdecl HLPInitStack(DWORD transport);
void __cdecl Test(void);
}

typedef decltype(&HLPCloseStack) QXLNK_CLOSE_STACK;
typedef decltype(&HLPFindADevice) QXLNK_FIND_A_DEVICE;
typedef decltype(&HLPFindDevices) QXLNK_FIND_DEVICES;
typedef decltype(&HLPFindVersionDevices) QXLNK_FIND_VERSION_DEVICES;
typedef decltype(&HLPGetSerialNames) QXLNK_GET_SERIAL_NAMES;
typedef decltype(&HLPGetServerInfo) QXLNK_GET_SERVER_INFO;
typedef decltype(&HLPInitStack) QXLNK_INIT_STACK;
typedef decltype(&Test) QXLNK_TEST;
