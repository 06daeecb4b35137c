// The servers found by the last search: one list for the whole applet, owning every device and
// the device table that the devices' entries live in.
#pragma once
#include <memory>
#include <vector>
#include "discovery/Device.h"

class CWnd;

class CDeviceList {
public:
    CDeviceList() = default;
    // Deletes every device, then frees the table they point into.
    ~CDeviceList() { RemoveAll(); }
    CDeviceList(const CDeviceList&) = delete;
    CDeviceList& operator=(const CDeviceList&) = delete;

    // Searches the network on the configured transport and fills the list with the servers
    // found, each once (only usable ones when ShowUsableOnly is on). Shows the search progress
    // window when asked, and a message owned by the owner on every failure but a missing
    // transport setting.
    BOOL Discover(CWnd* owner, BOOL withProgress);

    // TRUE when no device in the list is the same server.
    BOOL IsNew(const CDevice* device) const;
    // The first device whose name equals the text ignoring case; null for a null or empty text.
    CDevice* FindByName(const char* name) const;

    // Takes ownership of the device and appends it.
    void AddTail(CDevice* device) { m_devices.emplace_back(device); }
    // Deletes every device and frees the table.
    void RemoveAll();
    int GetCount() const { return static_cast<int>(m_devices.size()); }
    bool IsEmpty() const { return m_devices.empty(); }
    CDevice* GetAt(int i) const { return m_devices.at(static_cast<size_t>(i)).get(); }

    // The next free slot of the table for a server added by address, counted as used;
    // null when the table is full or no search has succeeded.
    HLP_DEVICE_ENTRY* TakeFreeSlot();

    HLP_DEVICE_ENTRY* m_pTable = nullptr;  // the device table of the last search
    int m_nTableCount = 0;                 // table slots in use
    int m_nCapacity = 0;                   // 531 once a search has succeeded, else 0

private:
    std::vector<std::unique_ptr<CDevice>> m_devices;
};

// The applet's one device list.
CDeviceList& GetDeviceList();
