#include "config/Options.h"
#include "applet/NetworkProbe.h"
#include "config/IniFile.h"
#include "config/RegistryExchange.h"

IMPLEMENT_DYNCREATE(COptions, CObject)

bool COptions::GetPortConfig(int port, DWORD*& redirect, CString*& list)
{
    switch (port) {
    case 1: redirect = &COM1Redir; list = &COM1List; return true;
    case 2: redirect = &COM2Redir; list = &COM2List; return true;
    case 3: redirect = &COM3Redir; list = &COM3List; return true;
    case 4: redirect = &COM4Redir; list = &COM4List; return true;
    default: return false;
    }
}

bool COptions::ClearPorts()
{
    for (int port = 1; port <= 4; ++port) {
        DWORD* redirect;
        CString* list;
        GetPortConfig(port, redirect, list);
        *redirect = 0;
        list->Empty();
    }
    return ExchangeOptions(XFER_SAVE);
}

DWORD ModemLocationFromText(const char* text)
{
    CString t(text);
    return t.CompareNoCase("OFF") == 0 || t.CompareNoCase("0") == 0 || t.CompareNoCase("FALSE") == 0 ? 0 : 1;
}

bool COptions::ExchangeComm(HKEY key, int mode)
{
    if (!ExchangeString(key, "Username", Username, 32, "", mode)) return false;
    if (!ExchangeDword(key, "Narrate", Narrate, 0, 1, 0, mode)) return false;
    // The default network is IPX where an IPX datagram socket can be made.
    bool ipx;
    {
        CNetworkProbe probe;
        ipx = probe.IsProtocolAvailable(AF_IPX) != 0;
    }
    if (!ExchangeString(key, "Transport", Transport, 7, ipx ? "IPX" : "TCP/IP", mode)) return false;
    if (!ExchangeDword(key, "ShowUsableOnly", ShowUsableOnly, 0, 1, 1, mode)) return false;
    for (int port = 1; port <= 4; ++port) {
        DWORD* redirect;
        CString* list;
        GetPortConfig(port, redirect, list);
        if (!ExchangeDword(key, FormatText("COM%dRedir", port).c_str(), *redirect, 0, 1, 0, mode)) return false;
        if (!ExchangeString(key, FormatText("COM%dList", port).c_str(), *list, 255, "", mode)) return false;
    }
    return true;
}

bool COptions::ExchangeZfarline(HKEY key, int mode)
{
    return ExchangeDword(key, "receive", receive, 1, 255, 16, mode) &&
           ExchangeDword(key, "send", send, 1, 255, 40, mode) &&
           ExchangeDword(key, "transmit", transmit, 1, 255, 40, mode) &&
           ExchangeDword(key, "buffer", buffer, 1, 255, 8, mode) &&
           ExchangeDword(key, "reopen", reopen, 1, 65535, 12000, mode) &&
           ExchangeDword(key, "silent_auth", silent_auth, 0, 1, 1, mode) &&
           ExchangeDword(key, "addroute", addroute, 0, 1, 1, mode) &&
           ExchangeDword(key, "passcache", passcache, 0, 0xFFFFFFFF, 3600000, mode);
}

void COptions::ExchangeIni(int mode)
{
    CIniFile ini;
    if (mode == XFER_LOAD) {
        IPLookupMethods = ini.GetString("COMM", "IPLookupMethods", "");
        Modem_Location = ModemLocationFromText(ini.GetString("COMM", "Modem_Location", "ON").c_str());
    } else if (mode == XFER_SAVE) {
        ini.WriteString("COMM", "IPLookupMethods", IPLookupMethods.c_str());
        ini.WriteString("COMM", "Modem_Location", Modem_Location ? "ON" : "OFF");
    }
}

bool COptions::ExchangeOptions(int mode)
{
    // A key that did not exist yet gets every one of its values at the default.
    bool created = false;
    {
        CRegKey comm;
        if (comm.Create(HKEY_CURRENT_USER, APPLET_SUBKEY_COMM, &created) != ERROR_SUCCESS) return false;
        if (!ExchangeComm(comm, created ? XFER_DEFAULT : mode)) return false;
    }
    {
        CRegKey zfarline;
        if (zfarline.Create(HKEY_CURRENT_USER, APPLET_SUBKEY_ZFARLINE, &created) != ERROR_SUCCESS) return false;
        if (!ExchangeZfarline(zfarline, created ? XFER_DEFAULT : mode)) return false;
    }
    ExchangeIni(mode);
    return true;
}
