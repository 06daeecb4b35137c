#include "LookupMethods.h"
#include <cctype>
#include <cstring>

namespace lookup {

namespace {

bool IsSeparator(char c) { return c == ',' || c == ';' || c == ' ' || c == '\t'; }

bool EqualsNoCase(const std::string& a, const char* b)
{
    size_t n = strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

bool Fail(std::string* reason, const std::string& text)
{
    if (reason) *reason = text;
    return false;
}

// One item that is not a keyword or section reference.
bool ParseTarget(const std::string& token, std::vector<Item>& items, std::string* reason)
{
    Item item;
    size_t dash = token.find('-');
    size_t slash = token.find('/');
    uint32_t a = 0;
    if (slash != std::string::npos) {
        if (!ParseIPv4(token.data(), slash, a)) return Fail(reason, "bad address in " + token);
        std::string bits = token.substr(slash + 1);
        if (bits.empty() || bits.size() > 2 || !isdigit(static_cast<unsigned char>(bits[0])) ||
            (bits.size() == 2 && !isdigit(static_cast<unsigned char>(bits[1]))))
            return Fail(reason, "bad prefix length in " + token);
        int n = std::stoi(bits);
        if (n < 16 || n > 32) return Fail(reason, "prefix length out of 16..32 in " + token);
        uint32_t mask = n == 32 ? 0xFFFFFFFFu : ~((1u << (32 - n)) - 1);
        item.first = a & mask;
        item.last = item.first | ~mask;
        if (n <= 30) {  // leave out the subnet's own address and its broadcast address
            ++item.first;
            --item.last;
        }
    } else if (dash != std::string::npos && ParseIPv4(token.data(), dash, a)) {
        std::string end = token.substr(dash + 1);
        uint32_t b = 0;
        if (ParseIPv4(end.data(), end.size(), b)) {
            item.last = b;
        } else {
            if (end.empty() || end.size() > 3) return Fail(reason, "bad range end in " + token);
            for (char c : end)
                if (!isdigit(static_cast<unsigned char>(c))) return Fail(reason, "bad range end in " + token);
            int last = std::stoi(end);
            if (last > 255) return Fail(reason, "bad range end in " + token);
            item.last = (a & 0xFFFFFF00u) | static_cast<uint32_t>(last);
        }
        item.first = a;
        if (item.last < item.first) return Fail(reason, "range ends before it starts: " + token);
    } else if (ParseIPv4(token.data(), token.size(), a)) {
        item.first = item.last = a;
    } else if (IsHostName(token.data(), token.size())) {
        item.kind = Item::kHost;
        item.text = token;
    } else {
        return Fail(reason, "not an address, range or host name: " + token);
    }
    items.push_back(item);
    return true;
}

bool ParseItem(const std::string& token, bool allowSections, std::vector<Item>& items, std::string* reason)
{
    if (EqualsNoCase(token, "BCAST")) {
        Item item;
        item.kind = Item::kBroadcast;
        items.push_back(item);
        return true;
    }
    if (token[0] == '@') {
        if (!allowSections) return Fail(reason, "section reference inside a section: " + token);
        if (token.size() == 1 || token.size() > 64) return Fail(reason, "bad section name: " + token);
        Item item;
        item.kind = Item::kSection;
        item.text = token.substr(1);
        items.push_back(item);
        return true;
    }
    return ParseTarget(token, items, reason);
}

bool ParseList(const std::string& text, bool allowSections, std::vector<Item>& items, std::string* reason)
{
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSeparator(text[i])) ++i;
        size_t start = i;
        while (i < text.size() && !IsSeparator(text[i])) ++i;
        if (i > start && !ParseItem(text.substr(start, i - start), allowSections, items, reason)) return false;
    }
    if (CountAddresses(items) > kMaxTargets) return Fail(reason, "more than 4096 addresses");
    return true;
}

}  // namespace

bool ParseIPv4(const char* text, size_t size, uint32_t& address)
{
    uint32_t result = 0;
    size_t i = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (i >= size || text[i] != '.') return false;
            ++i;
        }
        size_t digits = 0;
        uint32_t value = 0;
        while (i < size && text[i] >= '0' && text[i] <= '9' && digits < 4) {
            value = value * 10 + static_cast<uint32_t>(text[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) return false;
        result = (result << 8) | value;
    }
    if (i != size) return false;
    address = result;
    return true;
}

bool IsHostName(const char* text, size_t size)
{
    if (size > 0 && text[size - 1] == '.') --size;  // a fully qualified name may end in a dot
    if (size == 0 || size > 253) return false;
    bool onlyDigits = true;
    size_t label = 0;
    for (size_t i = 0; i < size; ++i) {
        char c = text[i];
        if (c == '.') {
            if (label == 0 || text[i - 1] == '-') return false;
            label = 0;
            continue;
        }
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        bool digit = c >= '0' && c <= '9';
        if (!letter && !digit && c != '-') return false;
        if (c == '-' && label == 0) return false;
        if (!digit) onlyDigits = false;
        if (++label > 63) return false;
    }
    if (label == 0 || text[size - 1] == '-') return false;
    return !onlyDigits;
}

uint64_t CountAddresses(const std::vector<Item>& items)
{
    uint64_t n = 0;
    for (const Item& item : items) {
        if (item.kind == Item::kRange) n += uint64_t(item.last) - item.first + 1;
        if (item.kind == Item::kHost) n += 1;
    }
    return n;
}

bool Parse(const std::string& text, bool allowSections, std::vector<Item>& items, std::string* reason)
{
    items.clear();
    if (!ParseList(text, allowSections, items, reason)) return false;
    if (items.empty()) {
        Item item;
        item.kind = Item::kBroadcast;
        items.push_back(item);
    }
    return true;
}

bool ParseSectionLine(const std::string& line, std::vector<Item>& items, std::string* reason)
{
    size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    if (start == line.size() || line[start] == ';') return true;
    size_t eq = line.find('=');
    std::string value = eq == std::string::npos ? line.substr(start) : line.substr(eq + 1);
    size_t before = items.size();
    if (!ParseList(value, false, items, reason)) {
        items.resize(before);
        return false;
    }
    return true;
}

}  // namespace lookup
