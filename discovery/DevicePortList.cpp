#include "discovery/DevicePortList.h"

CDevicePortList::~CDevicePortList() = default;

CDevicePort* CDevicePortList::FindByName(const char* name) const
{
    if (!name || !*name) return nullptr;
    for (const auto& port : m_ports)
        if (port->m_strName.CompareNoCase(name) == 0) return port.get();
    return nullptr;
}
