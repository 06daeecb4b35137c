#include "discovery/Device.h"

IMPLEMENT_DYNAMIC(CDevice, CObject)
IMPLEMENT_DYNAMIC(CDevicePort, CObject)

CDevicePort::CDevicePort(const char* name, CDevice* owner) : m_strName(name), m_pOwner(owner)
{
    owner->m_pPorts->Add(this);
}

CDevicePort* CDevicePortList::FindByName(const char* name) const
{
    if (!name || !*name) return nullptr;
    for (const auto& port : m_ports)
        if (port->m_strName.CompareNoCase(name) == 0) return port.get();
    return nullptr;
}
