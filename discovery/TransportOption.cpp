#include "discovery/TransportOption.h"
#include "applet/QuilletApp.h"
#include "config/RegistryInfo.h"

static const COptions* LoadedOptions()
{
    if (!AfxGetApp()) return nullptr;
    const CRegistryInfo* info = GetApplet().m_pRegistryInfo;
    return info ? &info->options : nullptr;
}

CString TransportOption()
{
    const COptions* options = LoadedOptions();
    return options ? options->Transport : CString();
}

bool IsIpxTransportOption() { return TransportOption().Compare("IPX") == 0; }

bool ShowUsableOnlyOption()
{
    const COptions* options = LoadedOptions();
    return options && options->ShowUsableOnly != 0;
}
