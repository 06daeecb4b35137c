#include "SimConfig.h"
#include <cctype>
#include <cstdlib>
#include <set>
#include <utility>
#include "wire/LookupMethods.h"

namespace sim {

namespace {

std::string Trim(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

std::string Lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

bool ParseUnsigned(const std::string& text, unsigned long max, unsigned long& value)
{
    if (text.empty() || text.size() > 10) return false;
    int base = 10;
    size_t start = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        start = 2;
    }
    for (size_t i = start; i < text.size(); ++i)
        if (!isxdigit(static_cast<unsigned char>(text[i])) || (base == 10 && !isdigit(static_cast<unsigned char>(text[i]))))
            return false;
    value = strtoul(text.c_str() + start, nullptr, base);
    return value <= max;
}

bool ParseBool(const std::string& text, bool& value)
{
    std::string t = Lower(text);
    if (t == "yes" || t == "on" || t == "true" || t == "1") return value = true, true;
    if (t == "no" || t == "off" || t == "false" || t == "0") return value = false, true;
    return false;
}

uint8_t CodeOfLetter(char letter)
{
    switch (letter) {
    case 'u': return 0x10;
    case 'b': return 0x20;
    case 'a': return 0x40;
    case 'f': return 0x70;
    case 'p': return 0x90;
    default: return 0;
    }
}

bool ParseCorruption(const std::string& text, Corruption& c)
{
    static const std::pair<const char*, Corruption> kinds[] = {
        {"truncate", Corruption::kTruncate}, {"length", Corruption::kLength}, {"magic", Corruption::kMagic},
        {"id", Corruption::kId},             {"text", Corruption::kText},     {"control", Corruption::kControl},
        {"garbage", Corruption::kGarbage},   {"any", Corruption::kAny}};
    for (const auto& k : kinds)
        if (text == k.first) return c = k.second, true;
    return false;
}

// Applies one "key = value" line to a server; false with a reason.
bool SetKey(Server& s, const std::string& key, const std::string& value, std::string& why)
{
    unsigned long n = 0;
    if (key == "address") {
        uint32_t a = 0;
        if (!lookup::ParseIPv4(value.data(), value.size(), a)) return why = "bad address", false;
        if ((a >> 24) != 127) return why = "address outside 127.0.0.0/8", false;
        s.address = a;
    } else if (key == "port") {
        if (!ParseUnsigned(value, 65535, n) || n == 0) return why = "bad port", false;
        s.port = static_cast<uint16_t>(n);
    } else if (key == "name" || key == "type" || key == "ident") {
        std::string& field = key == "name" ? s.description.name : key == "type" ? s.description.type : s.description.ident;
        size_t max = key == "name" ? wire::kNameMax : key == "type" ? wire::kTypeMax : wire::kIdentMax;
        if (value.size() > max) return why = key + " longer than " + std::to_string(max) + " characters", false;
        if (!wire::IsCleanText(value.data(), value.size(), key != "type")) return why = "bad characters in " + key, false;
        field = value;
    } else if (key == "version") {
        if (!ParseVersion(value, s.description.version)) return why = "bad version", false;
    } else if (key == "release_code") {
        if (!ParseUnsigned(value, 255, n)) return why = "bad release code", false;
        s.description.version.releaseCode = static_cast<uint8_t>(n);
    } else if (key == "usable") {
        bool b;
        if (!ParseBool(value, b)) return why = "usable is yes or no", false;
        s.description.flags = b ? (s.description.flags | wire::kFlagUsable) : (s.description.flags & ~wire::kFlagUsable);
    } else if (key == "groups") {
        s.groups.clear();
        size_t start = 0;
        while (start <= value.size()) {
            size_t comma = value.find(',', start);
            if (comma == std::string::npos) comma = value.size();
            std::string g = Trim(value.substr(start, comma - start));
            if (!g.empty()) {
                if (g.size() > wire::kGroupMax) return why = "port group name too long", false;
                if (!wire::IsCleanText(g.data(), g.size(), true)) return why = "bad characters in a port group", false;
                if (s.groups.size() >= 0xFFFF) return why = "too many port groups", false;
                s.groups.push_back(g);
            }
            start = comma + 1;
        }
    } else if (key == "community") {
        if (value.size() > wire::kCommunityMax) return why = "community too long", false;
        s.community = value;
    } else if (key == "tcpip") {
        if (!ParseBool(value, s.tcpip)) return why = "tcpip is yes or no", false;
    } else if (key == "delay") {
        if (!ParseUnsigned(value, 600000, n)) return why = "bad delay", false;
        s.delayMs = static_cast<unsigned>(n);
    } else if (key == "loss") {
        if (!ParseUnsigned(value, 100, n)) return why = "loss is a percentage", false;
        s.lossPercent = static_cast<unsigned>(n);
    } else if (key == "malformed") {
        size_t space = value.find(' ');
        std::string percent = value.substr(0, space);
        if (!ParseUnsigned(percent, 100, n)) return why = "malformed starts with a percentage", false;
        s.malformedPercent = static_cast<unsigned>(n);
        s.corruption = Corruption::kAny;
        if (space != std::string::npos && !ParseCorruption(Lower(Trim(value.substr(space + 1))), s.corruption))
            return why = "unknown kind of corruption", false;
    } else if (key == "repeat") {
        if (!ParseUnsigned(value, 16, n) || n == 0) return why = "repeat is 1 to 16", false;
        s.repeat = static_cast<unsigned>(n);
    } else {
        return why = "unknown key " + key, false;
    }
    return true;
}

Server DefaultServer()
{
    Server s;
    s.description.type = "Farline Remote Access Server";
    s.description.ident = "ORD1";
    s.description.version = wire::Version{4, 5, 4, 0x80, 0};
    s.description.flags = wire::kFlagUsable;
    s.groups = {"Command_Shell", "All_Ports"};
    return s;
}

bool Finish(Server& s, std::string& why)
{
    if (s.address == 0) return why = "server without address", false;
    if (s.description.name.empty()) return why = "server without name", false;
    s.description.groups = static_cast<uint16_t>(s.groups.size());
    return true;
}

}  // namespace

bool ParseVersion(const std::string& text, wire::Version& version)
{
    unsigned parts[3] = {0, 0, 0};
    size_t i = 0;
    for (int p = 0; p < 3; ++p) {
        if (p > 0) {
            if (i >= text.size() || text[i] != '.') return false;
            ++i;
        }
        size_t digits = 0;
        while (i < text.size() && isdigit(static_cast<unsigned char>(text[i])) && digits < 3) {
            parts[p] = parts[p] * 10 + static_cast<unsigned>(text[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || parts[p] > 255) return false;
    }
    wire::Version v;
    v.major = static_cast<uint8_t>(parts[0]);
    v.minor = static_cast<uint8_t>(parts[1]);
    v.revision = static_cast<uint8_t>(parts[2]);
    if (i == text.size()) {
        v.releaseCode = 0x80;
        v.releaseNumber = 0;
    } else {
        v.releaseCode = CodeOfLetter(text[i]);
        if (v.releaseCode == 0) return false;
        ++i;
        unsigned number = 0;
        size_t digits = 0;
        while (i < text.size() && isdigit(static_cast<unsigned char>(text[i])) && digits < 3) {
            number = number * 10 + static_cast<unsigned>(text[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || number > 255 || i != text.size()) return false;
        v.releaseNumber = static_cast<uint8_t>(number);
    }
    version = v;
    return true;
}

bool ParseConfig(const std::string& text, Config& config, std::string& error)
{
    config = Config();
    bool inServer = false;
    Server current;
    std::set<std::pair<uint32_t, uint16_t>> taken;
    size_t lineNo = 0, pos = 0;
    std::string why;
    auto fail = [&](const std::string& reason) {
        error = "line " + std::to_string(lineNo) + ": " + reason;
        return false;
    };
    auto close = [&]() {
        if (!inServer) return true;
        if (!Finish(current, why)) return false;
        if (!taken.insert({current.address, current.port}).second) return why = "address and port used twice", false;
        if (config.servers.size() >= kMaxServers) return why = "too many servers", false;
        config.servers.push_back(current);
        return true;
    };
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        ++lineNo;
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        if (line[0] == '[') {
            if (Lower(line) != "[server]") return fail("unknown section " + line);
            if (!close()) return fail(why);
            current = DefaultServer();
            inServer = true;
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos) return fail("expected key = value");
        std::string key = Lower(Trim(line.substr(0, eq)));
        std::string value = Trim(line.substr(eq + 1));
        if (!inServer) {
            unsigned long n = 0;
            if (key != "seed" || !ParseUnsigned(value, 0xFFFFFFFFul, n)) return fail("only seed may come before [server]");
            config.seed = static_cast<uint32_t>(n);
            continue;
        }
        if (!SetKey(current, key, value, why)) return fail(why);
    }
    if (!close()) return fail(why);
    return true;
}

}  // namespace sim
