// Registers redirected COM ports as root-enumerated port devices under HKEY_LOCAL_MACHINE, so
// programs that list serial ports (the modem set-up) find them, and removes them again.
#pragma once
#include <windows.h>

class CPortRegistration {
public:
    enum Result : int {
        RESULT_OK = 0,
        RESULT_BAD_PORT = -1,       // port number not 1 to 4
        RESULT_REGISTRY = -4,       // a key could not be opened or created, or a value written
        RESULT_DELETE_FAILED = -5,  // the port device key could not be deleted
    };

    // The port device key of COMn exists.
    bool IsRegistered(int port) const;
    // A device named COMn exists: it can be opened, or it is there but busy.
    bool PortExists(int port) const;
    // Writes the port device key of COMn and the port class key; keys already present are kept.
    int Register(int port);
    // Deletes the port device key of COMn; the port class key stays.
    int Unregister(int port);

private:
    static int WriteDeviceKey(int port);
    static int WriteClassKey();
};
