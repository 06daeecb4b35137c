// Loads a QXLNK32.DLL by path and resolves its exports, for the tests and benchmarks that drive the
// real bridge and engine.
#pragma once
#include <windows.h>
#include <string>
#include "discovery/HlpRecords.h"

struct BridgeClient {
    typedef LONG(__cdecl* FN1)(DWORD);
    typedef LONG(__cdecl* FN_FIND_VERSION)(DWORD, DWORD, LPSTR, LPSTR, LPVOID, DWORD, LPVOID, LPVOID, DWORD, LPVOID,
                                           LPVOID);
    typedef LONG(__cdecl* FN_FIND)(DWORD, DWORD, LPSTR, LPSTR, LPVOID, DWORD, LPVOID, LPVOID, DWORD, LPVOID);
    typedef LONG(__cdecl* FN_SERIAL)(DWORD, DWORD, LPVOID, LPVOID, DWORD, LPVOID, LPVOID, DWORD, LPVOID);
    typedef LONG(__cdecl* FN_INFO)(LPVOID, HLP_SERVER_INFO*, DWORD, LPVOID);
    typedef LONG(__cdecl* FN_FIND_ONE)(LPVOID, LPSTR, LPVOID, DWORD, LPSTR);

    HMODULE module = nullptr;
    DWORD loadError = 0;
    FN1 InitStack = nullptr;
    FN1 CloseStack = nullptr;
    FN_FIND_VERSION FindVersionDevices = nullptr;
    FN_FIND FindDevices = nullptr;
    FN_SERIAL GetSerialNames = nullptr;
    FN_INFO GetServerInfo = nullptr;
    FN_FIND_ONE FindADevice = nullptr;

    // unixDir: the folder holding QXLNK32.DLL, as a Unix path.
    explicit BridgeClient(const std::string& unixDir)
    {
        std::string path = "Z:" + unixDir + "/QXLNK32.DLL";
        for (char& c : path)
            if (c == '/') c = '\\';
        module = LoadLibraryA(path.c_str());
        if (!module) {
            loadError = GetLastError();
            return;
        }
        InitStack = reinterpret_cast<FN1>(GetProcAddress(module, "HLPInitStack"));
        CloseStack = reinterpret_cast<FN1>(GetProcAddress(module, "HLPCloseStack"));
        FindVersionDevices = reinterpret_cast<FN_FIND_VERSION>(GetProcAddress(module, "HLPFindVersionDevices"));
        FindDevices = reinterpret_cast<FN_FIND>(GetProcAddress(module, "HLPFindDevices"));
        GetSerialNames = reinterpret_cast<FN_SERIAL>(GetProcAddress(module, "HLPGetSerialNames"));
        GetServerInfo = reinterpret_cast<FN_INFO>(GetProcAddress(module, "HLPGetServerInfo"));
        FindADevice = reinterpret_cast<FN_FIND_ONE>(GetProcAddress(module, "HLPFindADevice"));
    }
    ~BridgeClient()
    {
        if (module) FreeLibrary(module);
    }
    BridgeClient(const BridgeClient&) = delete;
    BridgeClient& operator=(const BridgeClient&) = delete;

    // The search as the applet makes it: transport 2, "*", "*", a 65313-byte table, wait 3, version 4.0.0.
    LONG Search(HLP_DEVICE_ENTRY* table, DWORD tableSize, WORD& count)
    {
        char any1[] = "*", any2[] = "*";
        HLP_VERSION version = {4, 0, 0, 0, 0};
        count = 0;
        return FindVersionDevices(2, 1, any1, any2, table, tableSize, &count, nullptr, 3, nullptr, &version);
    }

    static HLP_ADDRESS_IP Address(BYTE a, BYTE b, BYTE c, BYTE d, WORD port = 1549)
    {
        HLP_ADDRESS_IP address = {};
        address.wTransport = HLP_TRANSPORT_TCPIP;
        address.family = 2;
        address.port = port;
        address.ip[0] = a;
        address.ip[1] = b;
        address.ip[2] = c;
        address.ip[3] = d;
        return address;
    }
};
