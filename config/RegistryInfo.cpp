#include "config/RegistryInfo.h"
#include "config/RegistryExchange.h"

IMPLEMENT_DYNCREATE(CRegistryInfo, CObject)

void CRegistryInfo::LoadAll()
{
    tables.Load();
    if (options.ExchangeOptions(XFER_LOAD)) ExchangeServers(XFER_LOAD);
}

bool CRegistryInfo::ExchangeServers(int mode)
{
    if (mode == XFER_DEFAULT) return false;
    if (mode == XFER_SAVE) ::RegDeleteKeyA(HKEY_CURRENT_USER, APPLET_SUBKEY_SERVERS);
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, APPLET_SUBKEY_SERVERS) != ERROR_SUCCESS) return false;
    if (mode == XFER_LOAD) mode = XFER_LOAD_STRICT;
    const bool saving = mode == XFER_SAVE;
    const bool ipx = options.Transport == "IPX";

    bool result = true;
    for (int n = 1;; ++n) {
        CServer* server;
        std::unique_ptr<CServer> loaded;
        if (saving) {
            if (n > servers.GetSize()) break;
            server = servers.GetAt(n - 1);
        } else {
            loaded.reset(new CServer);
            server = loaded.get();
        }
        auto exchange = [&](const char* pattern, CString& field, DWORD limit) {
            return ExchangeString(key, FormatText(pattern, n).c_str(), field, limit, "", mode);
        };
        result = exchange("SERVER%d_NAME", server->m_strName, 255);
        if (result) {
            if (ipx)
                result = exchange("SERVER%d_IPX_NET_ADDR", server->m_strIpxNetAddr, 11) &&
                         exchange("SERVER%d_IPX_NODE_ADDR", server->m_strIpxNodeAddr, 15) &&
                         exchange("SERVER%d_IPX_HOPS", server->m_strIpxHops, 7) &&
                         exchange("SERVER%d_IPX_SOCKET", server->m_strIpxSocket, 7);
            else
                result = exchange("SERVER%d_IP_ADDR", server->m_strIpAddr, 16) &&
                         exchange("SERVER%d_IP_SOCKET", server->m_strIpSocket, 7);
        }
        if (!result) break;  // a partly read server is dropped with `loaded`
        if (!saving) servers.Append(loaded.release());
    }
    if (!saving) servers.Modified = 0;
    return result;
}
