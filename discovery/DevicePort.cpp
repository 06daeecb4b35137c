#include "discovery/DevicePort.h"
#include "discovery/Device.h"

IMPLEMENT_DYNAMIC(CDevicePort, CObject)

CDevicePort::CDevicePort(const char* name, CDevice* owner) : m_strName(name), m_pOwner(owner)
{
    owner->m_pPorts->AddTail(this);
}
