// The one configuration being edited: options, remembered servers and hardware type tables.
#pragma once
#include "config/Options.h"
#include "config/ServerList.h"
#include "config/TypeTables.h"

class CWnd;

class CRegistryInfo : public CObject {
    DECLARE_DYNCREATE(CRegistryInfo)
public:
    // Loads the type tables, then the options, then (when the options loaded) the servers.
    void LoadAll();
    // Moves the server list between memory and the SERVERS key.
    bool ExchangeServers(int mode);

    COptions options;
    CServerList servers;
    CTypeTables tables;
};
