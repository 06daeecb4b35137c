// A remote access server found on the network: its device entry and its port groups.
#pragma once
#include <memory>
#include <vector>
#include "framework/Framework.h"
#include "discovery/HlpRecords.h"

class CDevice;

// One port group of a server.
class CDevicePort : public CObject {
    DECLARE_DYNAMIC(CDevicePort)
public:
    // Appends the new port to the owner's port list, which owns it.
    CDevicePort(const char* name, CDevice* owner);
    CString m_strName;
    CDevice* m_pOwner;
};

// The port groups of one server, in listing order; owns its ports.
class CDevicePortList {
public:
    void Add(CDevicePort* port) { m_ports.emplace_back(port); }
    void RemoveAll() { m_ports.clear(); }
    size_t GetCount() const { return m_ports.size(); }
    CDevicePort* GetAt(size_t i) const { return m_ports.at(i).get(); }
    // The first port whose name equals the text ignoring case; null for an empty text.
    CDevicePort* FindByName(const char* name) const;

private:
    std::vector<std::unique_ptr<CDevicePort>> m_ports;
};

class CDevice : public CObject {
    DECLARE_DYNAMIC(CDevice)
public:
    // The entry stays owned by the device table it points into.
    explicit CDevice(HLP_DEVICE_ENTRY* entry) : m_pEntry(entry), m_pPorts(new CDevicePortList) {}
    ~CDevice() override { delete m_pPorts; }
    CDevice(const CDevice&) = delete;
    CDevice& operator=(const CDevice&) = delete;

    HLP_DEVICE_ENTRY* m_pEntry;
    CDevicePortList* m_pPorts;
};
