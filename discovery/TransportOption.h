// The discovery options of the configuration being edited, read where no configuration may exist.
#pragma once
#include "framework/String.h"

// The Transport option ("IPX" or "TCP/IP"); empty when no configuration is loaded.
CString TransportOption();
// True when the Transport option is exactly "IPX".
bool IsIpxTransportOption();
// The ShowUsableOnly option; off when no configuration is loaded.
bool ShowUsableOnlyOption();
