// Loads a QXLNK32.DLL by path and resolves its exports, for the tests and benchmarks that drive the
// real bridge and engine.
#pragma once
#include <windows.h>
#include <string>
#include "bridge/Qxlnk32.h"

struct BridgeClient {
    HMODULE module = nullptr;
    DWORD loadError = 0;
    QXLNK_INIT_STACK InitStack = nullptr;
    QXLNK_CLOSE_STACK CloseStack = nullptr;
    QXLNK_FIND_VERSION_DEVICES FindVersionDevices = nullptr;
    QXLNK_FIND_DEVICES FindDevices = nullptr;
    QXLNK_GET_SERIAL_NAMES GetSerialNames = nullptr;
    QXLNK_GET_SERVER_INFO GetServerInfo = nullptr;
    QXLNK_FIND_A_DEVICE FindADevice = nullptr;

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
        InitStack = reinterpret_cast<QXLNK_INIT_STACK>(GetProcAddress(module, "HLPInitStack"));
        CloseStack = reinterpret_cast<QXLNK_CLOSE_STACK>(GetProcAddress(module, "HLPCloseStack"));
        FindVersionDevices = reinterpret_cast<QXLNK_FIND_VERSION_DEVICES>(GetProcAddress(module, "HLPFindVersionDevices"));
        FindDevices = reinterpret_cast<QXLNK_FIND_DEVICES>(GetProcAddress(module, "HLPFindDevices"));
        GetSerialNames = reinterpret_cast<QXLNK_GET_SERIAL_NAMES>(GetProcAddress(module, "HLPGetSerialNames"));
        GetServerInfo = reinterpret_cast<QXLNK_GET_SERVER_INFO>(GetProcAddress(module, "HLPGetServerInfo"));
        FindADevice = reinterpret_cast<QXLNK_FIND_A_DEVICE>(GetProcAddress(module, "HLPFindADevice"));
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
