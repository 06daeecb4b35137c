#include "Settings.h"
#include <windows.h>
#include <cstring>
#include <vector>
#include "EngineCodes.h"

namespace engine {

long LoadSettings(Settings& settings)
{
    settings = Settings();
    char dir[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("ZANTU", dir, sizeof dir);
    if (n == 0 || n >= sizeof dir) return ENGINE_NO_INI;
    std::string directory(dir, n);
    if (!directory.empty() && directory.back() == '\\') directory.pop_back();
    if (directory.empty()) return ENGINE_NO_INI;
    std::string ini = directory + "\\ZANTU.INI";
    DWORD attributes = GetFileAttributesA(ini.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return ENGINE_NO_INI;

    char text[256];
    DWORD length = GetPrivateProfileStringA("COMM", "IPLookupMethods", "", text, sizeof text, ini.c_str());
    // A text cut short could end in a different address than the one written.
    if (length >= sizeof text - 1) return ENGINE_BAD_SETTING;
    std::vector<lookup::Item> items;
    if (!lookup::Parse(text, true, items, nullptr)) return ENGINE_BAD_SETTING;

    std::vector<lookup::Item> expanded;
    std::vector<char> section(32768);
    for (const lookup::Item& item : items) {
        if (item.kind != lookup::Item::kSection) {
            expanded.push_back(item);
            continue;
        }
        DWORD got = GetPrivateProfileSectionA(item.text.c_str(), section.data(), static_cast<DWORD>(section.size()),
                                              ini.c_str());
        if (got == 0) return ENGINE_NO_SECTION;
        if (got >= section.size() - 2) return ENGINE_BAD_SETTING;  // larger than the buffer: its last line is cut
        for (const char* line = section.data(); *line && line < section.data() + got; line += strlen(line) + 1) {
            if (!lookup::ParseSectionLine(line, expanded, nullptr)) return ENGINE_BAD_SETTING;
        }
    }
    if (lookup::CountAddresses(expanded) > lookup::kMaxTargets) return ENGINE_BAD_SETTING;
    settings.directory = directory;
    settings.items = std::move(expanded);
    return ENGINE_OK;
}

std::vector<uint32_t> RecordedServers(const std::string& directory, size_t limit)
{
    std::vector<uint32_t> servers;
    std::string file = directory + "\\ZNM.DEV";
    if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return servers;
    std::vector<char> names(65536);
    DWORD got = GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), file.c_str());
    for (const char* name = names.data(); *name && name < names.data() + got && servers.size() < limit;
         name += strlen(name) + 1) {
        char address[64];
        DWORD n = GetPrivateProfileStringA(name, "IPAddress", "", address, sizeof address, file.c_str());
        uint32_t a = 0;
        if (lookup::ParseIPv4(address, n, a)) servers.push_back(a);
    }
    return servers;
}

}  // namespace engine
