#include "bridge/ThunkConnect.h"
#include <cstring>
#include "bridge/EngineThunk.h"

namespace {

// The engine beside this library, else wherever the normal search finds it.
HMODULE LoadEngine(LPCSTR dll16, HINSTANCE instance)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(instance, path, sizeof path);
    if (n > 0 && n < sizeof path) {
        char* slash = strrchr(path, '\\');
        if (slash && static_cast<size_t>(slash + 1 - path) + strlen(dll16) < sizeof path) {
            strcpy(slash + 1, dll16);
            if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
                return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        }
    }
    return LoadLibraryA(dll16);
}

bool PeerIsUsable(const ENGINE_THUNK_DATA16* peer)
{
    if (!peer || peer->signature != ENGINE_THUNK_SIGNATURE || peer->version != ENGINE_THUNK_VERSION ||
        peer->count != TARGET_COUNT)
        return false;
    for (FARPROC target : peer->targets)
        if (!target) return false;
    return true;
}

void Disconnect(BRIDGE_THUNK_DATA32& data, bool unload)
{
    HMODULE engine = data.engine;
    memset(&data, 0, sizeof data);
    if (engine && unload) FreeLibrary(engine);
}

}  // namespace

BOOL ThunkConnect32(LPVOID thunkData, LPCSTR thunk16, LPCSTR dll16, LPCSTR /*dll32*/, HINSTANCE instance,
                    DWORD reason, LPVOID reserved)
{
    BRIDGE_THUNK_DATA32& data = *static_cast<BRIDGE_THUNK_DATA32*>(thunkData);
    switch (reason) {
    case DLL_PROCESS_ATTACH: {
        Disconnect(data, true);
        HMODULE engine = LoadEngine(dll16, instance);
        if (!engine) return FALSE;  // GetLastError tells why (126: module not found)
        auto* peer = reinterpret_cast<const ENGINE_THUNK_DATA16*>(GetProcAddress(engine, thunk16));
        if (!PeerIsUsable(peer)) {
            FreeLibrary(engine);
            SetLastError(peer ? ERROR_INVALID_DATA : ERROR_PROC_NOT_FOUND);
            return FALSE;
        }
        data.engine = engine;
        data.peer = peer;
        memcpy(data.targets, peer->targets, sizeof data.targets);
        data.connected = 1;
        data.signature = ENGINE_THUNK_SIGNATURE;
        return TRUE;
    }
    case DLL_PROCESS_DETACH:
        // At process exit (reserved non-null) the engine is left to the loader.
        Disconnect(data, reserved == nullptr);
        return TRUE;
    default:
        return data.connected ? TRUE : FALSE;
    }
}
