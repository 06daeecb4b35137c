// The in-use check and the apply sequence of the configuration: save, reconfigure the redirector
// driver, keep the port devices in step, save the real redirect flags, reconfigure again.
#include "config/RegistryExchange.h"
#include "config/RegistryInfo.h"
#include "driver/PortRegistration.h"
#include "driver/RedirectorDriver.h"

namespace {

enum : UINT {
    IDS_DRIVER_OPEN_FAILED = 57406,
    IDS_DRIVER_ERROR_CAPTION = 57407,
    IDS_DRIVER_PORTS_IN_USE = 57408,
    IDS_DRIVER_IOCTL_FAILED = 57409,
};

int ShowDriverMessage(CWnd* owner, const CString& text, UINT type)
{
    return ShowMessageBox(owner ? owner->m_hWnd : nullptr, text.c_str(),
                          CString::Load(IDS_DRIVER_ERROR_CAPTION).c_str(), type);
}

// Error codes are shown as signed numbers, so a failed request reads -1.
void ShowDriverError(CWnd* owner, UINT formatId, long code)
{
    CString text;
    text.Format(formatId, static_cast<int>(code));
    ShowDriverMessage(owner, text, MB_OK | MB_ICONERROR);
}

// The first save stores every port as not redirected. Whenever the sequence stops after that,
// the user's redirect flags go back into memory and into the registry, and the options stay
// marked modified, so nothing the user chose is lost and the next OK or Apply runs it all again.
void RestoreRedirectFlags(COptions& options, const DWORD (&flags)[4])
{
    for (int port = 1; port <= 4; ++port) {
        DWORD* redirect;
        CString* list;
        options.GetPortConfig(port, redirect, list);
        *redirect = flags[port - 1];
    }
    options.Modified = 1;
    options.ExchangeOptions(XFER_SAVE);  // best effort: memory keeps the flags in any case
    options.Modified = 1;
}

}  // namespace

bool CRegistryInfo::CheckPortsIdle(CWnd* pOwner)
{
    CRedirectorDriver driver;
    if (DWORD error = driver.Open()) {
        ShowDriverError(pOwner, IDS_DRIVER_OPEN_FAILED, static_cast<long>(error));
        return false;
    }
    while (driver.PortsInUse() != 0) {
        if (ShowDriverMessage(pOwner, CString::Load(IDS_DRIVER_PORTS_IN_USE), MB_RETRYCANCEL | MB_ICONERROR) != IDRETRY)
            return false;
    }
    return true;
}

bool CRegistryInfo::ApplyConfiguration(CWnd* pOwner)
{
    // 1. Nothing changed: nothing is saved and the driver is not asked.
    if (!options.Modified && !servers.Modified) return true;
    // 2. The driver cannot reconfigure while a redirected port is open.
    if (!CheckPortsIdle(pOwner)) return false;

    // 3. Save with every port switched off (the lists unchanged), so the first reconfiguration
    //    releases all ports before the port devices change.
    DWORD remembered[4];
    for (int port = 1; port <= 4; ++port) {
        DWORD* redirect;
        CString* list;
        options.GetPortConfig(port, redirect, list);
        remembered[port - 1] = *redirect;
        *redirect = 0;
    }
    CRedirectorDriver driver;
    auto fail = [&] {
        driver.Close();
        RestoreRedirectFlags(options, remembered);
        return false;
    };
    options.Modified = 1;
    if (!options.ExchangeOptions(XFER_SAVE)) return fail();
    options.Modified = 0;

    // 4. The server list, when it changed.
    if (servers.Modified) {
        if (!ExchangeServers(XFER_SAVE)) return fail();
        servers.Modified = 0;
    }

    // 5 and 6. The driver reloads a configuration without redirected ports.
    if (DWORD error = driver.Open()) {
        ShowDriverError(pOwner, IDS_DRIVER_OPEN_FAILED, static_cast<long>(error));
        return fail();
    }
    if (LONG result = driver.Reconfigure()) {
        ShowDriverError(pOwner, IDS_DRIVER_IOCTL_FAILED, result);
        return fail();
    }

    // 7. Port devices: a redirected port without hardware gets one, a port no longer redirected
    //    loses it. The results do not stop the sequence.
    CPortRegistration registration;
    for (int port = 1; port <= 4; ++port) {
        if (remembered[port - 1]) {
            if (!registration.IsRegistered(port) && !registration.PortExists(port)) registration.Register(port);
        } else if (registration.IsRegistered(port)) {
            registration.Unregister(port);
        }
    }

    // 8. The real redirect flags.
    for (int port = 1; port <= 4; ++port) {
        DWORD* redirect;
        CString* list;
        options.GetPortConfig(port, redirect, list);
        *redirect = remembered[port - 1];
    }
    options.Modified = 1;
    if (!options.ExchangeOptions(XFER_SAVE)) return fail();
    options.Modified = 0;

    // 9 and 10. The driver takes up the redirected ports.
    if (LONG result = driver.Reconfigure()) {
        ShowDriverError(pOwner, IDS_DRIVER_IOCTL_FAILED, result);
        return fail();
    }
    driver.Close();
    return true;
}
