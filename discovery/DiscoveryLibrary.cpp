#include "discovery/DiscoveryLibrary.h"
#include "discovery/DiscoveryStrings.h"
#include "framework/WaitCursor.h"

namespace {

// The engine codes that have a text of their own, with the string that holds it.
struct ErrorText {
    int code;
    UINT stringId;
};
const ErrorText kErrorTexts[] = {
    {-2, 57432},  {-3, 57433},  {-5, 57434},  {-7, 57435},  {-8, 57436},  {-9, 57437},  {-10, 57438},
    {-50, 57439}, {-51, 57440}, {-52, 57441}, {-53, 57442}, {-54, 57443}, {-55, 57444}, {-56, 57445},
    {-57, 57446}, {-58, 57447}, {-80, 57448}, {-81, 57449}, {-131, 57450},
};

// The community name a find-one-device query carries.
const char kCommunity[] = "marlow";

// Fixed arguments of the search: the version it asks for is 4.0.0.
const int kSearchMode = 1;
const int kSearchFlags = 3;
const int kServerInfoFlags = 5;

}  // namespace

CString DiscoveryErrorText(int code)
{
    for (const ErrorText& e : kErrorTexts)
        if (e.code == code) return CString::Load(e.stringId);
    CString text;
    text.Format(IDS_UNKNOWN_ERROR, static_cast<long>(code));
    return text;
}

int CDiscoveryLibrary::Open(int transport)
{
    if (transport != HLP_TRANSPORT_TCPIP && transport != HLP_TRANSPORT_IPX) return -1;
    if (m_transport != 0) Close();

    if (!m_hModule) {
        m_hModule = ::LoadLibraryA("QXLNK32.DLL");
        if (!m_hModule) {
            m_lastResult = static_cast<int>(::GetLastError());
            return m_lastResult;
        }
    }

    // Every one of the seven names must be there, the never-called HLPFindDevices included.
    struct Binding {
        const char* name;
        FARPROC* slot;
    };
    const Binding bindings[] = {
        {"HLPFindDevices", reinterpret_cast<FARPROC*>(&m_pfnFindDevices)},
        {"HLPCloseStack", reinterpret_cast<FARPROC*>(&m_pfnCloseStack)},
        {"HLPInitStack", reinterpret_cast<FARPROC*>(&m_pfnInitStack)},
        {"HLPGetSerialNames", reinterpret_cast<FARPROC*>(&m_pfnGetSerialNames)},
        {"HLPFindADevice", reinterpret_cast<FARPROC*>(&m_pfnFindADevice)},
        {"HLPGetServerInfo", reinterpret_cast<FARPROC*>(&m_pfnGetServerInfo)},
        {"HLPFindVersionDevices", reinterpret_cast<FARPROC*>(&m_pfnFindVersionDevices)},
    };
    for (const Binding& b : bindings) {
        *b.slot = ::GetProcAddress(m_hModule, b.name);
        if (!*b.slot) {
            m_lastResult = static_cast<int>(::GetLastError());
            ::FreeLibrary(m_hModule);
            m_hModule = nullptr;
            ClearEntryPoints();
            return m_lastResult;
        }
        m_lastResult = 0;
    }

    int result = m_pfnInitStack(transport);
    if (result != 0) {
        Close();  // nothing is attached yet, so this only unloads
        m_lastResult = result;
        return result;
    }
    m_transport = transport;
    return 0;
}

void CDiscoveryLibrary::Close()
{
    if (m_transport != 0 && m_pfnCloseStack) m_pfnCloseStack(m_transport);
    m_transport = 0;
    if (m_hModule) {
        ::FreeLibrary(m_hModule);
        m_hModule = nullptr;
    }
    // The addresses pointed into the unloaded library; a later query finds them missing.
    ClearEntryPoints();
}

void CDiscoveryLibrary::ClearEntryPoints()
{
    m_pfnFindDevices = nullptr;
    m_pfnCloseStack = nullptr;
    m_pfnInitStack = nullptr;
    m_pfnGetSerialNames = nullptr;
    m_pfnFindADevice = nullptr;
    m_pfnGetServerInfo = nullptr;
    m_pfnFindVersionDevices = nullptr;
}

CString CDiscoveryLibrary::GetErrorText() const { return DiscoveryErrorText(m_lastResult); }

CString CDiscoveryLibrary::GetOpenErrorText() const
{
    return CString::Load(IDS_QXLNK_LOAD_FAILED) + GetErrorText();
}

int CDiscoveryLibrary::FindVersionDevices(void* table, WORD* count, HLP_VERSION* version)
{
    CWaitCursor wait;
    m_lastResult = m_pfnFindVersionDevices
                       ? m_pfnFindVersionDevices(m_transport, kSearchMode, "*", "*", table, HLP_DEVICE_TABLE_SIZE,
                                                 count, nullptr, kSearchFlags, nullptr, version)
                       : HLP_ERR_NO_ENTRY_POINT;
    return m_lastResult;
}

int CDiscoveryLibrary::GetSerialNames(const HLP_ADDRESS* address, HLP_PORT_NAME* names, WORD* count, int wait)
{
    CWaitCursor cursor;
    m_lastResult = m_pfnGetSerialNames ? m_pfnGetSerialNames(m_transport, kSearchMode, address, names,
                                                             HLP_PORT_NAMES_SIZE, count, nullptr, wait, nullptr)
                                       : HLP_ERR_NO_ENTRY_POINT;
    return m_lastResult;
}

int CDiscoveryLibrary::GetServerInfo(const HLP_ADDRESS* address, HLP_SERVER_INFO* info)
{
    CWaitCursor wait;
    m_lastResult = m_pfnGetServerInfo ? m_pfnGetServerInfo(address, info, kServerInfoFlags, nullptr)
                                      : HLP_ERR_NO_ENTRY_POINT;
    return m_lastResult;
}

int CDiscoveryLibrary::FindADevice(const HLP_ADDRESS* address, const char* hostName, HLP_FOUND_DEVICE* found)
{
    CWaitCursor wait;
    m_lastResult = m_pfnFindADevice ? m_pfnFindADevice(address, hostName, found, 0, kCommunity)
                                    : HLP_ERR_NO_ENTRY_POINT;
    return m_lastResult;
}
