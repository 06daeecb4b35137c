#include "upgrade/UpgradeCheck.h"

// The carry-over of the Windows 3.x settings is not built yet: no opening is taken over.
bool RunUpgradeCheck(CRegistryInfo&) { return false; }
