// One port group of a discovered server.
#pragma once
#include "framework/Framework.h"

class CDevice;

class CDevicePort : public CObject {
    DECLARE_DYNAMIC(CDevicePort)
public:
    // Appends the new port to the owner's port list, which owns it from then on.
    CDevicePort(const char* name, CDevice* owner);

    CString m_strName;
    CDevice* m_pOwner;
};
