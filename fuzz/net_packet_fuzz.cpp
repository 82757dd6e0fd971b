// The online game's packet decoder driven by the input. The whole input is
// decoded as one packet: whatever decodes must encode back to the very same
// bytes. Then the input is read as a series of packets (a length byte, then
// that many bytes) handed to a lockstep engine the way the connection does,
// with the engine running frames in between, to see that no series of
// hostile messages breaks its bookkeeping; the Keys of a game with rollback
// go to a rollback engine the same way. The whole input is also read as a
// stamped datagram (the keys' envelope): what decodes must encode back the
// same, and its stamps must feed a round trip without harm.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <variant>

#include "game/net/lockstep.h"
#include "game/net/protocol.h"
#include "game/net/round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace virexo::net;
    const DecodeResult whole = Decode(data, size);
    if (whole.ok()) {
        const auto again = Encode(whole.message);
        if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
    }

    Stamp stamp;
    std::size_t payloadAt = 0;
    if (DecodeStamped(data, size, &stamp, &payloadAt)) {
        if (payloadAt > size) std::abort();
        const std::vector<std::uint8_t> payload(data + payloadAt, data + size);
        const auto again = EncodeStamped(stamp, payload);
        if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
        RoundTrip rtt;
        rtt.Incoming(stamp, stamp.sentUs);
        rtt.Incoming(stamp, stamp.echoUs + 1000);
        if (rtt.RttMs() < 0.0 || rtt.RttMs() > RoundTrip::kMaxSampleUs / 1000.0 || rtt.JitterMs() < 0.0) std::abort();
    }

    DropCounts drops;
    Lockstep engine(Role::kHost, 3);
    Lockstep rollback(Role::kGuest, 0, kPredictWindow);
    std::size_t at = 0;
    while (at < size) {
        const std::size_t len = data[at++];
        const std::size_t n = len < size - at ? len : size - at;
        const DecodeResult r = Decode(data + at, n, drops);
        at += n;
        if (!r.ok()) continue;
        if (const auto* in = std::get_if<Input>(&r.message)) {
            const std::uint32_t before = engine.frame();
            if (engine.OnRemoteInput(*in) > in->keys.size()) std::abort();
            if (engine.frame() != before) std::abort();
        } else if (const auto* c = std::get_if<Checksum>(&r.message)) {
            engine.OnRemoteChecksum(c->frame, c->sum);
        } else if (const auto* k = std::get_if<Keys>(&r.message)) {
            // Keys never move the frame, never acknowledge what was not sent,
            // and a rollback only names a frame already run.
            const std::uint32_t before = rollback.frame();
            if (rollback.OnRemoteKeys(*k) > k->keys.size()) std::abort();
            if (rollback.frame() != before || rollback.ackedByPeer() > rollback.nextLocalFrame()) std::abort();
            if (auto from = rollback.TakeRollback(); from && *from >= rollback.frame()) std::abort();
        }
        if (rollback.NeedsLocal()) rollback.QueueLocal(0);
        rollback.Advance(0);
        while (engine.NeedsLocal()) engine.QueueLocal(0);
        if (auto f = engine.Advance(0)) {
            if (f->frame + 1 != engine.frame()) std::abort();
            if (Lockstep::IsChecksumFrame(f->frame)) engine.RecordLocalChecksum(f->frame, f->frame);
        }
    }
    return 0;
}
