#include "game/net/protocol.h"

#include <algorithm>
#include <stdexcept>
#include <type_traits>

#ifndef VIREXO_PROGRAM_VERSION
#define VIREXO_PROGRAM_VERSION "0"
#endif

namespace virexo::net {

const char* ProgramVersion() { return VIREXO_PROGRAM_VERSION; }

const char* DecodeErrorName(DecodeError e) {
    switch (e) {
        case DecodeError::kNone: return "none";
        case DecodeError::kEmpty: return "empty";
        case DecodeError::kUnknownType: return "unknown type";
        case DecodeError::kTruncated: return "truncated";
        case DecodeError::kTrailing: return "trailing bytes";
        case DecodeError::kBadValue: return "bad value";
    }
    return "?";
}

std::uint64_t DropCounts::Total() const {
    std::uint64_t n = 0;
    for (std::size_t i = 1; i < byKind.size(); ++i) n += byKind[i];
    return n;
}

MessageType TypeOf(const Message& m) { return static_cast<MessageType>(m.index() + 1); }

namespace {

class Writer {
public:
    void U8(std::uint8_t v) { out_.push_back(v); }
    void U16(std::uint16_t v) { Le(v, 2); }
    void U32(std::uint32_t v) { Le(v, 4); }
    void U64(std::uint64_t v) { Le(v, 8); }
    void Text8(const std::string& s, std::size_t max) {
        if (s.size() > max) throw std::invalid_argument("net: text longer than its message allows");
        U8(static_cast<std::uint8_t>(s.size()));
        out_.insert(out_.end(), s.begin(), s.end());
    }
    void Text16(const std::string& s, std::size_t max) {
        if (s.size() > max) throw std::invalid_argument("net: text longer than its message allows");
        U16(static_cast<std::uint16_t>(s.size()));
        out_.insert(out_.end(), s.begin(), s.end());
    }
    std::vector<std::uint8_t> Take() { return std::move(out_); }

private:
    void Le(std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    std::vector<std::uint8_t> out_;
};

// Reads fields off the packet; the first read past the end sets truncated
// and every read after it returns zeros, so a decoder checks once at the end.
class Reader {
public:
    Reader(const std::uint8_t* p, std::size_t n) : p_(p), n_(n) {}
    std::uint8_t U8() { return static_cast<std::uint8_t>(Le(1)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Le(2)); }
    std::uint32_t U32() { return static_cast<std::uint32_t>(Le(4)); }
    std::uint64_t U64() { return Le(8); }
    std::string Bytes(std::size_t len) {
        if (truncated_ || n_ - at_ < len) {
            truncated_ = true;
            return {};
        }
        std::string s(reinterpret_cast<const char*>(p_ + at_), len);
        at_ += len;
        return s;
    }
    bool truncated() const { return truncated_; }
    bool atEnd() const { return at_ == n_; }

private:
    std::uint64_t Le(std::size_t len) {
        if (truncated_ || n_ - at_ < len) {
            truncated_ = true;
            return 0;
        }
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < len; ++i) v |= static_cast<std::uint64_t>(p_[at_ + i]) << (8 * i);
        at_ += len;
        return v;
    }
    const std::uint8_t* p_;
    std::size_t n_;
    std::size_t at_ = 0;
    bool truncated_ = false;
};

void Put(Writer& w, const Hello& m) {
    w.U16(m.protocol);
    w.Text8(m.program, kMaxVersionText);
    w.U8(static_cast<std::uint8_t>(m.role));
}
void Put(Writer&, const Welcome&) {}
void Put(Writer& w, const Refuse& m) { w.Text8(m.reason, kMaxReasonText); }
void Put(Writer& w, const Ping& m) {
    w.U32(m.id);
    w.U32(m.sentMs);
}
void Put(Writer& w, const Pong& m) {
    w.U32(m.id);
    w.U32(m.sentMs);
}
constexpr std::uint8_t kRollbackBit = 0x80;

bool DelayInRange(int delay, bool rollback) {
    return rollback ? delay >= 0 && delay <= kMaxRollbackDelay : delay >= kMinDelay && delay <= kMaxDelay;
}

void Put(Writer& w, const Start& m) {
    if (!DelayInRange(m.delay, m.rollback) || m.difficulty > 2 || m.players < 1 || m.players > 2)
        throw std::invalid_argument("net: start message out of range");
    w.U32(m.seed);
    w.U8(static_cast<std::uint8_t>(m.delay | (m.rollback ? kRollbackBit : 0)));
    w.U8(m.difficulty);
    w.U8(m.players);
}
void Put(Writer& w, const Choice& m) {
    if (m.item > 15) throw std::invalid_argument("net: menu item out of range");
    w.U8(m.item);
    w.U8(m.value);
}
void Put(Writer& w, const Input& m) {
    if (m.keys.empty() || m.keys.size() > kMaxInputRun)
        throw std::invalid_argument("net: input run of 0 or more than 64 frames");
    w.U32(m.first);
    w.U8(static_cast<std::uint8_t>(m.keys.size()));
    for (std::uint8_t k : m.keys) {
        if (k & ~keys::kAll) throw std::invalid_argument("net: key bits out of range");
        w.U8(k);
    }
}
void Put(Writer& w, const Keys& m) {
    if (m.keys.size() > kMaxInputRun) throw std::invalid_argument("net: more than 64 frames of keys");
    w.U32(m.first);
    w.U8(static_cast<std::uint8_t>(m.keys.size()));
    for (std::uint8_t k : m.keys) {
        if (k & ~keys::kAll) throw std::invalid_argument("net: key bits out of range");
        w.U8(k);
    }
    w.U32(m.ack);
    w.U8(static_cast<std::uint8_t>(m.lead));
    if (m.delay > kMaxRollbackDelay) throw std::invalid_argument("net: keys' delay out of range");
    w.U8(m.delay);
}
void Put(Writer& w, const Checksum& m) {
    w.U32(m.frame);
    w.U64(m.sum);
}
void Put(Writer& w, const Pause& m) { w.U32(m.frame); }
void Put(Writer& w, const Resume& m) { w.U32(m.frame); }
void Put(Writer&, const Leave&) {}
void Put(Writer& w, const Desync& m) {
    w.U32(m.frame);
    w.U64(m.sum);
    w.Text16(m.dump, kMaxDumpText);
}

// Each Get returns false on a value out of range; truncation and trailing
// bytes are checked by the caller.
bool Get(Reader& r, Hello& m) {
    m.protocol = r.U16();
    const std::size_t len = r.U8();
    if (len > kMaxVersionText) return false;
    m.program = r.Bytes(len);
    const std::uint8_t role = r.U8();
    m.role = static_cast<Role>(role);
    return r.truncated() || role <= 1;
}
bool Get(Reader&, Welcome&) { return true; }
bool Get(Reader& r, Refuse& m) {
    const std::size_t len = r.U8();
    if (len > kMaxReasonText) return false;
    m.reason = r.Bytes(len);
    return true;
}
bool Get(Reader& r, Ping& m) {
    m.id = r.U32();
    m.sentMs = r.U32();
    return true;
}
bool Get(Reader& r, Pong& m) {
    m.id = r.U32();
    m.sentMs = r.U32();
    return true;
}
bool Get(Reader& r, Start& m) {
    m.seed = r.U32();
    const std::uint8_t delay = r.U8();
    m.rollback = (delay & kRollbackBit) != 0;
    m.delay = static_cast<std::uint8_t>(delay & ~kRollbackBit);
    m.difficulty = r.U8();
    m.players = r.U8();
    if (r.truncated()) return true;
    return DelayInRange(m.delay, m.rollback) && m.difficulty <= 2 && m.players >= 1 && m.players <= 2;
}
bool Get(Reader& r, Choice& m) {
    m.item = r.U8();
    m.value = r.U8();
    return r.truncated() || m.item <= 15;
}
bool Get(Reader& r, Input& m) {
    m.first = r.U32();
    const std::size_t count = r.U8();
    if (r.truncated()) return true;
    if (count == 0 || count > kMaxInputRun) return false;
    m.keys.resize(count);
    for (auto& k : m.keys) {
        k = r.U8();
        if (!r.truncated() && (k & ~keys::kAll)) return false;
    }
    return true;
}
bool Get(Reader& r, Keys& m) {
    m.first = r.U32();
    const std::size_t count = r.U8();
    if (r.truncated()) return true;
    if (count > kMaxInputRun) return false;
    m.keys.resize(count);
    bool ok = true;
    for (auto& k : m.keys) {
        k = r.U8();
        if (!r.truncated() && (k & ~keys::kAll)) ok = false;
    }
    m.ack = r.U32();
    m.lead = static_cast<std::int8_t>(r.U8());
    m.delay = r.U8();
    return ok && m.delay <= kMaxRollbackDelay;
}
bool Get(Reader& r, Checksum& m) {
    m.frame = r.U32();
    m.sum = r.U64();
    return true;
}
bool Get(Reader& r, Pause& m) {
    m.frame = r.U32();
    return true;
}
bool Get(Reader& r, Resume& m) {
    m.frame = r.U32();
    return true;
}
bool Get(Reader&, Leave&) { return true; }
bool Get(Reader& r, Desync& m) {
    m.frame = r.U32();
    m.sum = r.U64();
    const std::size_t len = r.U16();
    if (r.truncated()) return true;
    if (len > kMaxDumpText) return false;
    m.dump = r.Bytes(len);
    return true;
}

template <std::size_t I>
DecodeResult DecodeAs(std::size_t index, Reader& r) {
    if constexpr (I == std::variant_size_v<Message>) {
        (void)index;
        (void)r;
        return {DecodeError::kUnknownType, {}};
    } else {
        if (index != I) return DecodeAs<I + 1>(index, r);
        std::variant_alternative_t<I, Message> m;
        const bool inRange = Get(r, m);
        if (r.truncated()) return {DecodeError::kTruncated, {}};
        if (!inRange) return {DecodeError::kBadValue, {}};
        if (!r.atEnd()) return {DecodeError::kTrailing, {}};
        return {DecodeError::kNone, Message(std::in_place_index<I>, std::move(m))};
    }
}

}  // namespace

std::vector<std::uint8_t> Encode(const Message& m) {
    Writer w;
    w.U8(static_cast<std::uint8_t>(TypeOf(m)));
    std::visit([&w](const auto& x) { Put(w, x); }, m);
    return w.Take();
}

DecodeResult Decode(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size == 0) return {DecodeError::kEmpty, {}};
    const std::size_t type = data[0];
    if (type == 0 || type > std::variant_size_v<Message>) return {DecodeError::kUnknownType, {}};
    Reader r(data + 1, size - 1);
    return DecodeAs<0>(type - 1, r);
}

namespace {
constexpr std::uint8_t kStampMagic[4] = {0xFF, 0xFE, 'V', 'X'};
constexpr std::uint8_t kEchoedFlag = 0x01;
}  // namespace

bool IsStamped(const std::uint8_t* data, std::size_t size) {
    return data != nullptr && size >= sizeof kStampMagic && std::equal(kStampMagic, kStampMagic + 4, data);
}

std::vector<std::uint8_t> EncodeStamped(const Stamp& stamp, const std::vector<std::uint8_t>& payload) {
    if (payload.size() > kMaxStampedPayload) throw std::invalid_argument("net: stamped payload too long");
    Writer w;
    for (std::uint8_t b : kStampMagic) w.U8(b);
    w.U8(stamp.echoed ? kEchoedFlag : 0);
    w.U32(stamp.sentUs);
    w.U32(stamp.echoed ? stamp.echoUs : 0);
    w.U32(stamp.echoed ? stamp.heldUs : 0);
    std::vector<std::uint8_t> out = w.Take();
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

bool DecodeStamped(const std::uint8_t* data, std::size_t size, Stamp* stamp, std::size_t* payloadAt) {
    if (!IsStamped(data, size) || size < kStampedHeader || size > kStampedHeader + kMaxStampedPayload) return false;
    Reader r(data + 4, size - 4);
    const std::uint8_t flags = r.U8();
    if (flags & ~kEchoedFlag) return false;
    stamp->echoed = (flags & kEchoedFlag) != 0;
    stamp->sentUs = r.U32();
    stamp->echoUs = r.U32();
    stamp->heldUs = r.U32();
    if (!stamp->echoed && (stamp->echoUs != 0 || stamp->heldUs != 0)) return false;
    *payloadAt = kStampedHeader;
    return true;
}

DecodeResult Decode(const std::uint8_t* data, std::size_t size, DropCounts& drops) {
    DecodeResult r = Decode(data, size);
    if (!r.ok()) drops.Add(r.error);
    return r;
}

}  // namespace virexo::net
