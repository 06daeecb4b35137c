// The applet object and a loaded configuration, as the discovery classes find them in the applet.
#pragma once
#include "applet/QuilletApp.h"
#include "config/RegistryInfo.h"

// Makes a configuration the applet's current one for the scope (the earlier one returns after it), with the given network options.
class ConfigScope {
public:
    explicit ConfigScope(const char* transport, DWORD showUsableOnly = 0)
    {
        info.options.Transport = transport;
        info.options.ShowUsableOnly = showUsableOnly;
        m_previous = GetApplet().m_pRegistryInfo;
        GetApplet().m_pRegistryInfo = &info;
    }
    ~ConfigScope() { GetApplet().m_pRegistryInfo = m_previous; }
    ConfigScope(const ConfigScope&) = delete;
    ConfigScope& operator=(const ConfigScope&) = delete;

    CRegistryInfo info;

private:
    CRegistryInfo* m_previous;
};
