#include "Wire.h"
#include <cstring>

namespace wire {

namespace {

const uint8_t kMagic0 = 'Z';
const uint8_t kMagic1 = 'F';
const uint8_t kProtocol = 1;

// Appends to a bounded buffer; any overflow makes the whole write fail.
class Writer {
public:
    Writer(uint8_t* out, size_t capacity) : m_out(out), m_capacity(capacity < kMaxDatagram ? capacity : kMaxDatagram) {}
    void U8(uint8_t v) { Put(&v, 1); }
    void U16(uint16_t v)
    {
        uint8_t b[2] = {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
        Put(b, 2);
    }
    void U32(uint32_t v)
    {
        uint8_t b[4] = {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                        static_cast<uint8_t>(v)};
        Put(b, 4);
    }
    void Text(const std::string& s, size_t max)
    {
        if (s.size() > max || s.size() > 255) {
            m_failed = true;
            return;
        }
        U8(static_cast<uint8_t>(s.size()));
        Put(s.data(), s.size());
    }
    void Put(const void* p, size_t n)
    {
        if (m_failed || n > m_capacity - m_size) {
            m_failed = true;
            return;
        }
        memcpy(m_out + m_size, p, n);
        m_size += n;
    }
    bool Fits(size_t n) const { return !m_failed && n <= m_capacity - m_size; }
    size_t Size() const { return m_size; }
    bool Failed() const { return m_failed; }
    // Fills in the body length of the header once the body is written.
    size_t Finish()
    {
        if (m_failed || m_size < kHeaderSize) return 0;
        size_t body = m_size - kHeaderSize;
        m_out[10] = static_cast<uint8_t>(body >> 8);
        m_out[11] = static_cast<uint8_t>(body);
        return m_size;
    }

private:
    uint8_t* m_out;
    size_t m_capacity;
    size_t m_size = 0;
    bool m_failed = false;
};

// Reads from a bounded buffer; any read past its end makes the reader fail.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint8_t U8()
    {
        uint8_t v = 0;
        Get(&v, 1);
        return v;
    }
    uint16_t U16()
    {
        uint8_t b[2] = {0, 0};
        Get(b, 2);
        return static_cast<uint16_t>((b[0] << 8) | b[1]);
    }
    uint32_t U32()
    {
        uint8_t b[4] = {0, 0, 0, 0};
        Get(b, 4);
        return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
    }
    // A text of at most max bytes that passes the text checks; false leaves the reader failed.
    bool Text(std::string& s, size_t max, bool listSafe)
    {
        size_t n = U8();
        if (m_failed || n > max || n > m_size - m_pos) {
            m_failed = true;
            return false;
        }
        const char* p = reinterpret_cast<const char*>(m_data + m_pos);
        m_pos += n;
        if (!IsCleanText(p, n, listSafe)) return false;
        s.assign(p, n);
        return true;
    }
    void Get(void* p, size_t n)
    {
        if (m_failed || n > m_size - m_pos) {
            m_failed = true;
            memset(p, 0, n);
            return;
        }
        memcpy(p, m_data + m_pos, n);
        m_pos += n;
    }
    bool Failed() const { return m_failed; }
    bool AtEnd() const { return !m_failed && m_pos == m_size; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_failed = false;
};

void Header(Writer& w, Kind kind, uint32_t id, Status status)
{
    w.U8(kMagic0);
    w.U8(kMagic1);
    w.U8(kProtocol);
    w.U8(kind);
    w.U32(id);
    w.U8(status);
    w.U8(0);
    w.U16(0);  // body length, set by Finish
}

// Checks the header; on success the reader stands at the body.
bool ReadHeader(Reader& r, size_t size, uint8_t& kind, uint32_t& id, uint8_t& status)
{
    if (size < kHeaderSize || size > kMaxDatagram) return false;
    uint8_t m0 = r.U8(), m1 = r.U8(), protocol = r.U8();
    kind = r.U8();
    id = r.U32();
    status = r.U8();
    uint8_t reserved = r.U8();
    uint16_t body = r.U16();
    return !r.Failed() && m0 == kMagic0 && m1 == kMagic1 && protocol == kProtocol && reserved == 0 &&
           body == size - kHeaderSize;
}

void WriteVersion(Writer& w, const Version& v)
{
    w.U8(v.major);
    w.U8(v.minor);
    w.U8(v.revision);
    w.U8(v.releaseCode);
    w.U8(v.releaseNumber);
}

}  // namespace

bool IsCleanText(const char* text, size_t size, bool listSafe)
{
    for (size_t i = 0; i < size; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) return false;
        if (listSafe && (c == ',' || c == ':')) return false;
    }
    return true;
}

size_t EncodeRequest(const Request& request, uint8_t* out, size_t capacity)
{
    Writer w(out, capacity);
    Header(w, request.kind, request.id, kOk);
    switch (request.kind) {
    case kSearch:
        break;
    case kInfo:
        w.Text(request.community, kCommunityMax);
        break;
    case kPorts:
        w.U16(request.first);
        break;
    default:
        return 0;
    }
    return w.Finish();
}

size_t EncodeDescription(uint32_t id, Status status, const Description* d, uint8_t* out, size_t capacity)
{
    Writer w(out, capacity);
    Header(w, kDescription, id, status);
    if (status == kOk) {
        if (!d) return 0;
        w.Text(d->type, kTypeMax);
        w.Text(d->ident, kIdentMax);
        w.Text(d->name, kNameMax);
        WriteVersion(w, d->version);
        w.U32(d->flags);
        w.U16(d->groups);
    }
    return w.Finish();
}

size_t EncodePortList(uint32_t id, Status status, const std::vector<std::string>& names, uint16_t first,
                      uint8_t* out, size_t capacity)
{
    Writer w(out, capacity);
    Header(w, kPortList, id, status);
    if (status != kOk) return w.Finish();
    size_t total = names.size() > 0xFFFF ? 0xFFFF : names.size();
    w.U16(static_cast<uint16_t>(total));
    w.U16(first);
    size_t countAt = w.Size();
    w.U8(0);  // names in this page, set below
    uint8_t count = 0;
    for (size_t i = first; i < total && count < 255; ++i) {
        const std::string& n = names[i];
        if (n.size() > kGroupMax) return 0;
        if (!w.Fits(1 + n.size())) break;
        w.Text(n, kGroupMax);
        ++count;
    }
    if (w.Failed()) return 0;
    out[countAt] = count;
    return w.Finish();
}

bool DecodeRequest(const uint8_t* data, size_t size, Request& request)
{
    Reader r(data, size);
    uint8_t kind, status;
    uint32_t id;
    if (!ReadHeader(r, size, kind, id, status) || status != kOk) return false;
    request = Request();
    request.kind = static_cast<Kind>(kind);
    request.id = id;
    switch (kind) {
    case kSearch:
        break;
    case kInfo:
        if (!r.Text(request.community, kCommunityMax, false)) return false;
        break;
    case kPorts:
        request.first = r.U16();
        break;
    default:
        return false;
    }
    return r.AtEnd();
}

bool DecodeAnswer(const uint8_t* data, size_t size, Answer& answer)
{
    Reader r(data, size);
    uint8_t kind, status;
    uint32_t id;
    if (!ReadHeader(r, size, kind, id, status)) return false;
    if (status != kOk && status != kRefused && status != kNoTcpDialOut) return false;
    answer = Answer();
    answer.kind = static_cast<Kind>(kind);
    answer.id = id;
    answer.status = static_cast<Status>(status);
    if (kind != kDescription && kind != kPortList) return false;
    if (status != kOk) return r.AtEnd();
    if (kind == kDescription) {
        Description& d = answer.description;
        if (!r.Text(d.type, kTypeMax, false) || !r.Text(d.ident, kIdentMax, true) || !r.Text(d.name, kNameMax, true))
            return false;
        d.version.major = r.U8();
        d.version.minor = r.U8();
        d.version.revision = r.U8();
        d.version.releaseCode = r.U8();
        d.version.releaseNumber = r.U8();
        d.flags = r.U32();
        d.groups = r.U16();
        return r.AtEnd();
    }
    PortPage& p = answer.page;
    p.total = r.U16();
    p.first = r.U16();
    p.count = r.U8();
    if (r.Failed() || p.first > p.total || p.count > p.total - p.first) return false;
    for (uint16_t i = 0; i < p.count; ++i) {
        std::string name;
        if (r.Text(name, kGroupMax, true))
            p.names.push_back(std::move(name));
        else if (r.Failed())
            return false;
        // A name that fails only the text checks is left out; the rest of the page stands.
    }
    // A page that carries no names although more remain would make the reader ask forever.
    if (p.count == 0 && p.first < p.total) return false;
    return r.AtEnd();
}

bool GlobMatch(const char* pattern, const char* text)
{
    if (!pattern || !*pattern) return true;
    if (!text) text = "";
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    // Iterative matching with one back-tracking point: linear in practice, never exponential.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*text) {
        if (*pattern == '*') {
            star = pattern++;
            resume = text;
        } else if (*pattern == '?' || (*pattern && lower(*pattern) == lower(*text))) {
            ++pattern;
            ++text;
        } else if (star) {
            pattern = star + 1;
            text = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

bool AtLeast(const Version& a, const Version& b)
{
    if (a.major != b.major) return a.major > b.major;
    if (a.minor != b.minor) return a.minor > b.minor;
    return a.revision >= b.revision;
}

}  // namespace wire
