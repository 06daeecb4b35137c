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
    // True when the redirector driver opens and no redirected port is in use (the user may wait
    // and retry); messages are owned by pOwner, or by no window when it is null.
    bool CheckPortsIdle(CWnd* pOwner);
    // Saves the configuration, keeps the port devices in step and reconfigures the driver (what
    // OK and Apply do). True when there was nothing to do or everything succeeded.
    bool ApplyConfiguration(CWnd* pOwner);

    COptions options;
    CServerList servers;
    CTypeTables tables;
};
