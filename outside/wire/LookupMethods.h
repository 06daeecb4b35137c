// The IPLookupMethods text of ZANTU.INI: where the engine looks for servers.
//
//   item { sep item }       sep: ',' ';' or blanks; keywords ignore case
//   BCAST                   directed broadcast on every IPv4 interface but loopback
//   a.b.c.d                 one host
//   a.b.c.d-e               the hosts a.b.c.d to a.b.c.e
//   a.b.c.d-w.x.y.z         every address from the first to the second
//   a.b.c.d/n               every host address of that subnet (n from 16 to 32)
//   name                    a DNS host name, resolved when the search starts
//   @section                every item listed in that section of ZANTU.INI, one per line,
//                           as "key=item" or "item" (no @ there)
// An empty text means BCAST. The servers recorded in ZNM.DEV are always asked as well.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lookup {

// Most unicast addresses one search sends to, all items together.
constexpr size_t kMaxTargets = 4096;

struct Item {
    enum Kind { kBroadcast, kRange, kHost, kSection } kind = kRange;
    uint32_t first = 0, last = 0;  // kRange: inclusive, host order (a.b.c.d = a<<24 | ...)
    std::string text;              // kHost: the name; kSection: the section name
};

// Splits and checks a text. false (with a short reason) for any item that is not one of the forms above,
// for a range whose end lies before its start, and for more than kMaxTargets addresses in all.
bool Parse(const std::string& text, bool allowSections, std::vector<Item>& items, std::string* reason);

// One line of a section: "key=item" or "item"; blank lines and lines starting with ';' give nothing.
bool ParseSectionLine(const std::string& line, std::vector<Item>& items, std::string* reason);

// A dotted quad: four decimal numbers 0..255, each of one to three digits.
bool ParseIPv4(const char* text, size_t size, uint32_t& address);

// Letters, digits and '-' in dot-separated labels of 1..63 characters, not starting or ending with '-',
// at most 253 characters, with a trailing dot allowed, and not all digits and dots.
bool IsHostName(const char* text, size_t size);

// Number of unicast addresses the items name (hosts count one each).
uint64_t CountAddresses(const std::vector<Item>& items);

}  // namespace lookup
