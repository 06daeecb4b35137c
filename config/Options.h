// The user's options and the configuration of COM1 to COM4, named after the values that store them.
#pragma once
#include "framework/Framework.h"

class COptions : public CObject {
    DECLARE_DYNCREATE(COptions)
public:
    // Moves every option between the fields and the registry (keys COMM and ZFARLINE) and ZANTU.INI.
    bool ExchangeOptions(int mode);
    // References to port n's redirect flag and list, for n = 1 to 4; false for any other n.
    bool GetPortConfig(int port, DWORD*& redirect, CString*& list);
    // Switches every port off, empties its list and saves the options.
    bool ClearPorts();

    CString Username;           // at most 31 characters
    DWORD Narrate = 0;
    CString Transport;          // "IPX" or "TCP/IP"
    DWORD ShowUsableOnly = 0;
    DWORD COM1Redir = 0;
    CString COM1List;
    DWORD COM2Redir = 0;
    CString COM2List;
    DWORD COM3Redir = 0;
    CString COM3List;
    DWORD COM4Redir = 0;
    CString COM4List;
    DWORD receive = 0;
    DWORD send = 0;
    DWORD transmit = 0;
    DWORD buffer = 0;
    DWORD reopen = 0;           // milliseconds
    DWORD silent_auth = 0;
    DWORD passcache = 0;        // milliseconds; 0 disabled, 0xFFFFFFFF until Windows logout
    DWORD addroute = 0;
    CString IPLookupMethods;    // kept in ZANTU.INI
    DWORD Modem_Location = 0;   // kept in ZANTU.INI as "ON" or "OFF"
    DWORD Modified = 0;         // some option or port changed since the last save

private:
    bool ExchangeComm(HKEY key, int mode);
    bool ExchangeZfarline(HKEY key, int mode);
    void ExchangeIni(int mode);
};

// "OFF", "0" and "FALSE" in any case read as 0; every other text, the empty one included, as 1.
DWORD ModemLocationFromText(const char* text);
