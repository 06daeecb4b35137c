// A remote access server found on the network: its device entry in the search's table and its
// port groups.
#pragma once
#include "framework/Framework.h"
#include "discovery/HlpRecords.h"
#include "discovery/DevicePort.h"
#include "discovery/DevicePortList.h"

class CDiscoveryLibrary;

class CDevice : public CObject {
    DECLARE_DYNAMIC(CDevice)
public:
    // The entry stays owned by the device table it points into; the port list is the device's own.
    explicit CDevice(HLP_DEVICE_ENTRY* entry) : m_pEntry(entry), m_pPorts(new CDevicePortList) {}
    ~CDevice() override { delete m_pPorts; }
    CDevice(const CDevice&) = delete;
    CDevice& operator=(const CDevice&) = delete;

    // The entry's texts, never read past their fields even when the engine left them unterminated.
    CString GetName() const;
    CString GetType() const;
    CString GetIdent() const;

    // The address block of a query about this server, built from the entry: the 14-byte IPX form
    // or the 18-byte TCP/IP form.
    HLP_ADDRESS MakeAddress(bool ipxForm) const;

    // True when the server may be used: always for TCP/IP; for IPX it must answer the server-info
    // query with version 4.0.2 or later and its usable flag set.
    BOOL IsUsable(CDiscoveryLibrary& library) const;
    // Same type, hardware code and name (ignoring case) and the same address.
    BOOL IsSameDevice(const CDevice& other) const;
    // Asks the server for its port groups and replaces the port list with them.
    // 0, or the failing result; shows no message.
    int RefreshPortGroups();

    HLP_DEVICE_ENTRY* m_pEntry;
    CDevicePortList* m_pPorts;
};

// A fixed-size text field as a string: up to its first NUL, at most the field's size.
CString FieldText(const char* field, size_t size);
