// The discovery engine's operations, behind the entry points QXLNK32 calls.
#pragma once
#include <windows.h>
#include "bridge/EngineThunk.h"
#include "EngineStats.h"

namespace engine {

LONG InitStack(WORD transport);
LONG CloseStack(WORD transport);
LONG FindDevices(WORD transport, WORD service, LPCSTR name, LPCSTR type, BYTE* table, WORD tableSize, WORD* count,
                 WORD wait, const HLP_VERSION* minimum);
LONG GetSerialNames(WORD transport, WORD service, const BYTE* address, BYTE* names, WORD namesSize, WORD* count,
                    WORD wait);
LONG GetServerInfo(const BYTE* address, HLP_SERVER_INFO16* info, WORD wait);
LONG FindADevice(const BYTE* address, LPCSTR hostName, BYTE* found, WORD wait, LPCSTR community);
void LastSearchStats(ENGINE_SEARCH_STATS* stats);

}  // namespace engine
