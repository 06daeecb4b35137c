// String-table numbers of the discovery messages.
#pragma once

#define IDS_QXLNK_LOAD_FAILED 57357      // "Unable to load QXLNK32.DLL.\n\n", put before the error text
#define IDS_DISCOVERY_FAILED 57361       // caption of every search message
#define IDS_NO_BUFFER_SPACE 57363        // the device table could not be allocated
#define IDS_CORRUPT_TABLE 57366          // a table entry of the other transport
#define IDS_SEARCHING_FOR 57388          // "Searching for %s Zantu devices..."
#define IDS_PLEASE_WAIT 57423
#define IDS_VALIDATING 57424
#define IDS_ENGINE_ERROR_FIRST 57432     // texts of the engine codes: 57432 to 57450
#define IDS_UNKNOWN_ERROR 57451          // "Unknown Error (%ld)"
