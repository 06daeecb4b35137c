// The binding to QXLNK32.DLL for one discovery operation: loads it, resolves the discovery entry
// points, attaches one transport, and turns a failed result into the text the user sees.
#pragma once
#include <windows.h>
#include "framework/String.h"
#include "discovery/HlpRecords.h"

// The discovery entry points. Value arguments are 32-bit; the engine keeps their low 16 bits.
extern "C" {
typedef int(__cdecl* PFN_HLPFindDevices)(int transport, int mode, const char* type, const char* name, void* table,
                                         int tableSize, WORD* count, void* reserved1, int flags, void* reserved2);
typedef int(__cdecl* PFN_HLPCloseStack)(int transport);
typedef int(__cdecl* PFN_HLPInitStack)(int transport);
typedef int(__cdecl* PFN_HLPGetSerialNames)(int transport, int mode, const HLP_ADDRESS* address, HLP_PORT_NAME* names,
                                            int namesSize, WORD* count, void* reserved1, int wait, void* reserved2);
typedef int(__cdecl* PFN_HLPFindADevice)(const HLP_ADDRESS* address, const char* hostName, HLP_FOUND_DEVICE* found,
                                         int flags, const char* community);
typedef int(__cdecl* PFN_HLPGetServerInfo)(const HLP_ADDRESS* address, HLP_SERVER_INFO* info, int flags,
                                           void* reserved);
typedef int(__cdecl* PFN_HLPFindVersionDevices)(int transport, int mode, const char* type, const char* name,
                                                void* table, int tableSize, WORD* count, void* reserved1, int flags,
                                                void* reserved2, HLP_VERSION* version);
}

enum : int {
    HLP_DEVICE_TABLE_SIZE = 65313,     // bytes of a search's device table
    HLP_DEVICE_TABLE_ENTRIES = 531,    // entries that fit in it
    HLP_PORT_NAMES_SIZE = 16384,       // bytes of a port-group listing
    HLP_PORT_NAMES_ENTRIES = 64,       // names that fit in it
    HLP_WAIT_IPX = 5,                  // wait value of a port-group listing over IPX
    HLP_DISCOVERY_PORT = 1549,         // the UDP port every TCP/IP server is asked on
};

enum : int {
    HLP_OK = 0,
    HLP_ERR_NO_ENTRY_POINT = -1,       // taken as the result when an entry point is missing
    HLP_ERR_NO_MEMORY = -3,            // the engine was busy; a find-one-device query is tried again
    HLP_ERR_MORE_DEVICES = -9,         // a search that returned entries, used as success
};

class CDiscoveryLibrary {
public:
    CDiscoveryLibrary() = default;
    ~CDiscoveryLibrary() { Close(); }
    CDiscoveryLibrary(const CDiscoveryLibrary&) = delete;
    CDiscoveryLibrary& operator=(const CDiscoveryLibrary&) = delete;

    // Loads QXLNK32.DLL, resolves the seven entry points and attaches the transport (2 or 200).
    // 0 on success; otherwise a system error code for load and resolve failures, the engine's
    // code when the transport was refused, or -1 for a transport other than 2 or 200.
    int Open(int transport);
    // Detaches the transport and unloads the library; safe at any time.
    void Close();
    // The message for the last result: the engine's text, or "Unknown Error (%ld)".
    CString GetErrorText() const;
    // The message for a failed Open: "Unable to load QXLNK32.DLL." and the error text.
    CString GetOpenErrorText() const;

    bool IsOpen() const { return m_transport != 0; }

    // The queries. Each shows the wait cursor, takes -1 when the entry point is missing, stores
    // its result as the last result and returns it.
    int FindVersionDevices(void* table, WORD* count, HLP_VERSION* version);
    int GetSerialNames(const HLP_ADDRESS* address, HLP_PORT_NAME* names, WORD* count, int wait);
    int GetServerInfo(const HLP_ADDRESS* address, HLP_SERVER_INFO* info);
    int FindADevice(const HLP_ADDRESS* address, const char* hostName, HLP_FOUND_DEVICE* found);

    int m_transport = 0;            // 0, or the attached transport
    HMODULE m_hModule = nullptr;    // the loaded QXLNK32, or null
    int m_lastResult = 0;           // the result of the last failed step or of the last query
    // The entry points, in the order they are resolved; null while the library is not loaded.
    PFN_HLPFindDevices m_pfnFindDevices = nullptr;
    PFN_HLPCloseStack m_pfnCloseStack = nullptr;
    PFN_HLPInitStack m_pfnInitStack = nullptr;
    PFN_HLPGetSerialNames m_pfnGetSerialNames = nullptr;
    PFN_HLPFindADevice m_pfnFindADevice = nullptr;
    PFN_HLPGetServerInfo m_pfnGetServerInfo = nullptr;
    PFN_HLPFindVersionDevices m_pfnFindVersionDevices = nullptr;

private:
    void ClearEntryPoints();
};

// The engine's text for a result code, or string 57451 formatted with the code.
CString DiscoveryErrorText(int code);
