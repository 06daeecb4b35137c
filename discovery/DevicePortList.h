// The port groups of one server, in listing order. The list owns its ports.
#pragma once
#include <memory>
#include <vector>
#include "discovery/DevicePort.h"

class CDevicePortList {
public:
    CDevicePortList() = default;
    ~CDevicePortList();
    CDevicePortList(const CDevicePortList&) = delete;
    CDevicePortList& operator=(const CDevicePortList&) = delete;

    // Takes ownership of the port.
    void AddTail(CDevicePort* port) { m_ports.emplace_back(port); }
    // Deletes every port.
    void RemoveAll() { m_ports.clear(); }
    int GetCount() const { return static_cast<int>(m_ports.size()); }
    bool IsEmpty() const { return m_ports.empty(); }
    CDevicePort* GetAt(int i) const { return m_ports.at(static_cast<size_t>(i)).get(); }

    // The first port whose name equals the text ignoring case; null for a null or empty text.
    CDevicePort* FindByName(const char* name) const;

private:
    std::vector<std::unique_ptr<CDevicePort>> m_ports;
};
