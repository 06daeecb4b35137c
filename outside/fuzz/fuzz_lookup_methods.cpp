// The IPLookupMethods text and section lines: whatever the text, parsing ends, and what it accepts
// names at most the allowed number of addresses with ranges that do not run backwards.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>
#include "wire/LookupMethods.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<lookup::Item> items;
    for (bool sections : {true, false}) {
        if (lookup::Parse(text, sections, items, nullptr)) {
            if (items.empty() || lookup::CountAddresses(items) > lookup::kMaxTargets) abort();
            for (const lookup::Item& item : items) {
                if (item.kind == lookup::Item::kRange && item.last < item.first) abort();
                if (item.kind == lookup::Item::kSection && !sections) abort();
            }
        }
    }
    items.clear();
    if (lookup::ParseSectionLine(text, items, nullptr) && lookup::CountAddresses(items) > lookup::kMaxTargets) abort();
    uint32_t address;
    lookup::ParseIPv4(text.data(), text.size(), address);
    lookup::IsHostName(text.data(), text.size());
    return 0;
}
