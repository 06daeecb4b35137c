#include "discovery/DeviceList.h"
#include <cstring>
#include <new>
#include "discovery/DiscoveryLibrary.h"
#include "discovery/DiscoveryStrings.h"
#include "discovery/SearchProgressDialog.h"
#include "discovery/TransportOption.h"

CDeviceList& GetDeviceList()
{
    static CDeviceList list;
    return list;
}

void CDeviceList::RemoveAll()
{
    // The devices point into the table, so they go first.
    m_devices.clear();
    delete[] reinterpret_cast<BYTE*>(m_pTable);
    m_pTable = nullptr;
    m_nTableCount = 0;
    m_nCapacity = 0;
}

HLP_DEVICE_ENTRY* CDeviceList::TakeFreeSlot()
{
    if (!m_pTable || m_nTableCount >= m_nCapacity) return nullptr;
    return &m_pTable[m_nTableCount++];
}

BOOL CDeviceList::IsNew(const CDevice* device) const
{
    if (!device) return FALSE;
    for (const auto& d : m_devices)
        if (d->IsSameDevice(*device)) return FALSE;
    return TRUE;
}

CDevice* CDeviceList::FindByName(const char* name) const
{
    if (!name || !*name) return nullptr;
    for (const auto& d : m_devices)
        if (d->GetName().CompareNoCase(name) == 0) return d.get();
    return nullptr;
}

namespace {

// The progress window's parent: the owner when there is none or it is visible; otherwise the
// first top-level window above it.
HWND ProgressParent(HWND owner)
{
    if (!owner || ::IsWindowVisible(owner)) return owner;
    HWND h = ::GetWindow(owner, GW_OWNER);
    if (!h) h = ::GetParent(owner);
    while (h && (::GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) h = ::GetParent(h);
    return h;
}

// The progress window for the length of one search; destroyed on every way out.
class ProgressWindow {
public:
    ProgressWindow(bool show, HWND owner)
    {
        if (!show) return;
        auto* dialog = new CSearchProgressDialog;
        if (!dialog->Create(ProgressParent(owner))) {
            delete dialog;
            return;
        }
        m_hWnd = dialog->m_hWnd;
        m_pDialog = dialog;
        m_pDialog->SetLowerText(CString::Load(IDS_PLEASE_WAIT).c_str());
        m_pDialog->ShowWindow(SW_SHOW);
        ::UpdateWindow(m_hWnd);
    }
    ~ProgressWindow()
    {
        // The window deletes its object when it goes.
        if (m_pDialog && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // The dialog while its window exists, else null.
    CSearchProgressDialog* operator->() const { return Get(); }
    CSearchProgressDialog* Get() const { return m_pDialog && ::IsWindow(m_hWnd) ? m_pDialog : nullptr; }

private:
    CSearchProgressDialog* m_pDialog = nullptr;
    HWND m_hWnd = nullptr;
};

}  // namespace

BOOL CDeviceList::Discover(CWnd* owner, BOOL withProgress)
{
    CString caption = CString::Load(IDS_DISCOVERY_FAILED);
    HWND ownerWnd = owner ? owner->m_hWnd : nullptr;
    auto fail = [&](const CString& text) {
        ShowMessageBox(ownerWnd, text.c_str(), caption.c_str(), MB_ICONERROR);
        return FALSE;
    };

    RemoveAll();

    CString transportText = TransportOption();
    int transport;
    if (transportText.Compare("IPX") == 0)
        transport = HLP_TRANSPORT_IPX;
    else if (transportText.Compare("TCP/IP") == 0)
        transport = HLP_TRANSPORT_TCPIP;
    else
        return FALSE;

    // The library is declared before the window, so on the way out the window goes first and the
    // library is closed after it.
    CDiscoveryLibrary library;
    ProgressWindow progress(withProgress != FALSE, ownerWnd);

    if (library.Open(transport) != 0) return fail(library.GetOpenErrorText());

    std::unique_ptr<BYTE[]> table(new (std::nothrow) BYTE[HLP_DEVICE_TABLE_SIZE]());
    if (!table) return fail(CString::Load(IDS_NO_BUFFER_SPACE));

    WORD returned = 0;
    HLP_VERSION version = {4, 0, 0, 0, 0};
    int result = library.FindVersionDevices(table.get(), &returned, &version);
    if (progress.Get()) progress->SetLowerText("");
    if (result != HLP_OK && result != HLP_ERR_MORE_DEVICES) return fail(library.GetErrorText());

    // An engine that claims more entries than the table holds is believed only up to the table's end.
    int count = returned < HLP_DEVICE_TABLE_ENTRIES ? static_cast<int>(returned) : static_cast<int>(HLP_DEVICE_TABLE_ENTRIES);
    m_pTable = reinterpret_cast<HLP_DEVICE_ENTRY*>(table.release());
    m_nCapacity = HLP_DEVICE_TABLE_ENTRIES;
    m_nTableCount = count;
    if (progress.Get()) {
        progress->SetRange(0, count);
        progress->SetPos(0);
        progress->SetUpperText(CString::Load(IDS_VALIDATING).c_str());
    }

    const bool usableOnly = ShowUsableOnlyOption();
    for (int i = 0; i < count; ++i) {
        if (progress.Get()) progress->SetPos(i);
        HLP_DEVICE_ENTRY* entry = &m_pTable[i];
        if (entry->wTransport != transport) return fail(CString::Load(IDS_CORRUPT_TABLE));
        // Every TCP/IP server is reached on the discovery port, whatever the engine wrote.
        if (transport == HLP_TRANSPORT_TCPIP) {
            BYTE* port = EntryBytes(*entry, HLP_OFS_IP_PORT);
            port[0] = HLP_DISCOVERY_PORT & 0xFF;
            port[1] = HLP_DISCOVERY_PORT >> 8;
        }
        std::unique_ptr<CDevice> device;
        try {
            device.reset(new CDevice(entry));
        } catch (const std::bad_alloc&) {
            return fail(CString::Load(IDS_NO_BUFFER_SPACE));
        }
        if (IsNew(device.get()) && (!usableOnly || device->IsUsable(library))) AddTail(device.release());
    }
    return TRUE;
}
