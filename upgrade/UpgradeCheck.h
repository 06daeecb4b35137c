// The check, at each opening, whether the earlier Windows 3.x configuration is to be carried over.
#pragma once

class CRegistryInfo;

// Runs the carry-over when the registry asks for it; true when it took over this opening
// (the property sheet is then not shown).
bool RunUpgradeCheck(CRegistryInfo& config);
