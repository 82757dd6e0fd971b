// The messages of an online game and their binary form. Every message is one
// ENet packet: a type byte, then the fields in order, integers little-endian,
// texts as a length byte (or two) and that many UTF-8 bytes. The decoder is
// strict: a packet must have exactly the size its type and counts call for,
// and any value out of range rejects the whole packet. It never throws; a
// rejected packet comes back as an error kind, and a DropCounts tallies them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "game/player_keys.h"

namespace virexo::net {

// Raised whenever the meaning of a message changes; both sides must agree.
inline constexpr std::uint16_t kProtocolVersion = 3;
inline constexpr std::uint16_t kDefaultPort = 7420;

// The program's version, from the build (CMake's project version).
const char* ProgramVersion();

// One player's keys for one game update: the hits of that update.
// The game's own bits (game/player_keys.h) are the wire form.
namespace keys {
inline constexpr std::uint8_t kLeft = teclas::kIzquierda;
inline constexpr std::uint8_t kRight = teclas::kDerecha;
inline constexpr std::uint8_t kUp = teclas::kArriba;   // throw
inline constexpr std::uint8_t kDown = teclas::kAbajo;  // pick up
// Escape: travels with the keys so that both machines pause after the same
// frame; the pause screen itself runs outside the lockstep (Resume).
inline constexpr std::uint8_t kPause = teclas::kPausa;
inline constexpr std::uint8_t kAll = teclas::kTodas;  // any other bit is refused
}  // namespace keys

enum class Role : std::uint8_t { kHost = 0, kGuest = 1 };

// Limits that bound what one packet can carry.
inline constexpr std::size_t kMaxVersionText = 64;
inline constexpr std::size_t kMaxReasonText = 200;
inline constexpr std::size_t kMaxInputRun = 64;       // frames in one Input
inline constexpr std::size_t kMaxDumpText = 48 * 1024;  // state dump in a Desync
inline constexpr int kMinDelay = 2;
inline constexpr int kMaxDelay = 8;
// With rollback each side's own keys act after 0..2 updates, and the other
// player's are predicted for up to kPredictWindow updates.
inline constexpr int kMaxRollbackDelay = 2;
inline constexpr int kPredictWindow = 12;

struct Hello {
    std::uint16_t protocol = kProtocolVersion;
    std::string program;  // ProgramVersion() of the sender
    Role role = Role::kHost;
};
struct Welcome {};
struct Refuse {
    std::string reason;
};
// A probe and its answer, timed by the sender. Games no longer send them
// (the round trip comes from the stamps, see Stamp) and a session drops
// them; they keep their wire numbers, and so do the messages after them.
struct Ping {
    std::uint32_t id = 0;
    std::uint32_t sentMs = 0;  // the sender's clock, echoed back
};
struct Pong {
    std::uint32_t id = 0;
    std::uint32_t sentMs = 0;
};
// The host starts a game: the generator's seed, the input delay both sides
// use, and the menu choices. In lockstep (rollback false) the delay is
// kMinDelay..kMaxDelay; with rollback it is 0..kMaxRollbackDelay, and the
// wire carries the rollback as the delay byte's top bit.
struct Start {
    std::uint32_t seed = 0;
    std::uint8_t delay = kMinDelay;
    std::uint8_t difficulty = 0;  // 0..2
    std::uint8_t players = 2;     // 1..2
    bool rollback = false;
};
// A menu choice of the host while the title is up, for the guest to show.
struct Choice {
    std::uint8_t item = 0;  // 0..15: which menu line
    std::uint8_t value = 0;
};
// Key hits of the sender's player for frames first, first + 1, ...
struct Input {
    std::uint32_t first = 0;
    std::vector<std::uint8_t> keys;  // 1..kMaxInputRun, each within keys::kAll
};
struct Checksum {
    std::uint32_t frame = 0;
    std::uint64_t sum = 0;
};
struct Pause {
    std::uint32_t frame = 0;
};
struct Resume {
    std::uint32_t frame = 0;
};
struct Leave {};
// The sender saw the checksums of a frame differ; it carries its own sum and
// its readable state of that frame for the bug report.
struct Desync {
    std::uint32_t frame = 0;
    std::uint64_t sum = 0;
    std::string dump;
};

// The keys of a game with rollback, sent unreliably once an update: every
// key of the sender's player not yet acknowledged (frames first, first + 1,
// ...; none when all are), and the acknowledgement of the receiver's keys:
// the sender holds all of them below frame ack. A lost datagram costs
// nothing when the next one comes, since that carries the same keys again.
struct Keys {
    std::uint32_t first = 0;
    std::vector<std::uint8_t> keys;  // 0..kMaxInputRun, each within keys::kAll
    std::uint32_t ack = 0;
    // How many frames the sender's own keys stand ahead of the last it had
    // from the receiver (-128..127): the two sides' leads together say which
    // of them runs ahead of the other, whatever the trip takes.
    std::int8_t lead = 0;
    // The sender's own input delay now (0..kMaxRollbackDelay): it follows
    // the round trip, and the leads above include it.
    std::uint8_t delay = 0;
};

using Message = std::variant<Hello, Welcome, Refuse, Ping, Pong, Start, Choice, Input, Checksum,
                             Pause, Resume, Leave, Desync, Keys>;

// Wire type bytes, in the order of the variant (index + 1); 0 is never sent.
enum class MessageType : std::uint8_t {
    kHello = 1, kWelcome, kRefuse, kPing, kPong, kStart, kChoice, kInput, kChecksum,
    kPause, kResume, kLeave, kDesync, kKeys,
};

enum class DecodeError : std::uint8_t {
    kNone = 0,
    kEmpty,        // no bytes at all
    kUnknownType,  // a type byte no message has
    kTruncated,    // fewer bytes than the fields need
    kTrailing,     // more bytes than the fields need
    kBadValue,     // a field out of its range (count, role, key bits, delay...)
};
inline constexpr std::size_t kDecodeErrorKinds = 6;

const char* DecodeErrorName(DecodeError e);

struct DecodeResult {
    DecodeError error = DecodeError::kNone;
    Message message;  // valid only when error is kNone
    bool ok() const { return error == DecodeError::kNone; }
};

// Rejected packets by kind.
struct DropCounts {
    std::array<std::uint64_t, kDecodeErrorKinds> byKind{};
    std::uint64_t Total() const;
    void Add(DecodeError e) { ++byKind[static_cast<std::size_t>(e)]; }
};

std::vector<std::uint8_t> Encode(const Message& m);
DecodeResult Decode(const std::uint8_t* data, std::size_t size);
// Decodes and counts a rejection in drops.
DecodeResult Decode(const std::uint8_t* data, std::size_t size, DropCounts& drops);

MessageType TypeOf(const Message& m);

// The clock stamps of a datagram sent outside ENet's channels (the keys of a
// game with rollback, and the stamps alone while no game runs), from which
// each side measures the round trip. Times are the sender's own clock in
// microseconds, modulo 2^32: when this datagram left, the newest stamp it
// had from the receiver (echoed back), and how long it held that stamp
// before sending this. The receiver takes its own time of arrival off the
// socket, so neither side's frame loop counts in the round trip.
struct Stamp {
    std::uint32_t sentUs = 0;
    bool echoed = false;  // false until the sender has heard a stamp
    std::uint32_t echoUs = 0;
    std::uint32_t heldUs = 0;
};

// A stamped datagram: four bytes no ENet datagram starts with (they would
// address ENet peer 4094, which no host has), a flags byte, the three times,
// then none or one encoded message.
inline constexpr std::size_t kStampedHeader = 17;
inline constexpr std::size_t kMaxStampedPayload = 512;
bool IsStamped(const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> EncodeStamped(const Stamp& stamp, const std::vector<std::uint8_t>& payload);
// The stamp, and where the payload starts (it may be empty); false when the
// datagram is not a well-formed stamped one.
bool DecodeStamped(const std::uint8_t* data, std::size_t size, Stamp* stamp, std::size_t* payloadAt);

}  // namespace virexo::net
