// The connection of an online game over ENet (UDP): one host that waits for
// one player, one guest that joins it. One reliable, sequenced channel
// carries every message but the keys of a game with rollback, which go
// unreliably as stamped datagrams of their own on the same socket. After
// ENet connects, each side sends a Hello with the protocol and program
// versions and its role; each side checks the other's, and a mismatch is
// refused with a Refuse message whose reason both sides report. The host
// then sends Welcome. From then on both sides stamp datagrams (the keys, or
// a bare stamp every 50 ms) and measure the round trip from them all the
// time (RoundTrip). Service() never blocks longer than it is asked to; the
// game calls it every frame and reads what happened with Next().
//
// Nothing a peer sends can crash or stall the session: undecodable packets,
// messages at the wrong moment (before the handshake, a second Hello, a Start
// from the guest...), a peer's flood past Options::maxMessagesPerSecond and a second
// player knocking at the host are dropped and counted in stats().
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/net/protocol.h"
#include "game/net/round_trip.h"

namespace virexo::net {

struct NetEvent {
    enum class Kind {
        kConnected,  // handshake done both ways
        kRefused,    // versions differ or the host is taken; text says why
        kFailed,     // the host could not be reached; text says why
        kMessage,    // a game message: Start, Choice, Input, Checksum, Pause, Resume, Desync
        kPeerLeft,   // the peer left the game (Leave, or a clean disconnect)
        kTimedOut,   // the connection dropped: no answer for the timeout
    };
    Kind kind = Kind::kConnected;
    std::string text;  // for the players, for every kind but kMessage
    Message message;   // for kMessage
};

struct SessionStats {
    std::uint64_t messagesSent = 0, payloadBytesSent = 0;
    std::uint64_t messagesReceived = 0, payloadBytesReceived = 0;
    // ENet's own counts: UDP datagrams and their payload bytes, headers and
    // acknowledgements and ENet's pings included (add 28 bytes of IPv4 + UDP
    // header per datagram for what goes on the wire).
    std::uint64_t datagramsSent = 0, udpBytesSent = 0;
    std::uint64_t datagramsReceived = 0, udpBytesReceived = 0;
    DropCounts undecodable;       // rejected by the decoder, by kind
    std::uint64_t outOfPhase = 0;  // well formed but not allowed at that moment
    std::uint64_t flood = 0;       // past the per-second limit
    std::uint64_t peersRefused = 0;  // extra players knocking at the host
    std::uint64_t silentPeers = 0;   // players let go for never saying Hello
};

class EnetSession {
public:
    struct Options {
        std::uint32_t timeoutMs = 3000;         // no answer this long: the peer is gone
        // The guest's wait for the host; and the host's for the Hello of a
        // player that connected (one that never says it is let go, and the
        // host waits for another).
        std::uint32_t connectTimeoutMs = 5000;
        std::uint16_t protocol = kProtocolVersion;
        std::string program = ProgramVersion();
        std::string bindAddress;  // host only; empty: every interface
        // Messages a second taken from the peer; the rest are dropped as a
        // flood. A game at 60 updates a second sends about 65. 0: no limit
        // (headless runs that go faster than the game's pace).
        std::uint32_t maxMessagesPerSecond = 1000;
    };

    // Binds the port (0: any free one, see port()) and waits for a player.
    static std::unique_ptr<EnetSession> Host(std::uint16_t port, const Options& options, std::string* why);
    // Connects to "HOST[:PORT]" (an IPv4 address or a name; kDefaultPort).
    static std::unique_ptr<EnetSession> Join(const std::string& hostPort, const Options& options,
                                             std::string* why);
    ~EnetSession();
    EnetSession(const EnetSession&) = delete;
    EnetSession& operator=(const EnetSession&) = delete;

    Role role() const { return role_; }
    std::uint16_t port() const;
    bool connected() const { return state_ == State::kConnected; }
    bool closed() const { return state_ == State::kClosed; }

    // Sends what is queued and takes what arrived, waiting up to waitMs for
    // the first event.
    void Service(std::uint32_t waitMs = 0);
    std::optional<NetEvent> Next();

    // Queues a game message (sent by the next Service); false when not
    // connected.
    bool Send(const Message& m);
    // The same, unreliably in a stamped datagram of its own, sent at once:
    // it may be lost or come out of order, and holds nothing else back (the
    // keys of a game with rollback, which every next datagram repeats). The
    // other side takes only Keys this way.
    bool SendUnreliable(const Message& m);
    // Tells the peer we leave and disconnects; no event follows. With
    // drainMs, waits up to that long for what is still queued (the Leave
    // among it) to be delivered: ENet holds reliable packets back while
    // earlier ones are unacknowledged, and closing the session drops them.
    void Leave(std::uint32_t drainMs = 0);

    // The round trip measured from the stamps (ms), as it stands now: the
    // median of the latest samples, and half the spread of their middle half
    // as the jitter. rttReady() once a few samples are in.
    bool rttReady() const { return roundTrip_.ready(); }
    std::size_t rttSamples() const { return roundTrip_.samples(); }
    double RttMs() const;
    double JitterMs() const;
    // ENet's own smoothed round trip (ms).
    std::uint32_t EnetRttMs() const;

    SessionStats stats() const;

    // Sends raw bytes as one packet on the channel, whatever the state: for
    // tests of how the other side copes with hostile packets.
    void SendRawForTest(const std::vector<std::uint8_t>& bytes);

    struct Impl;

private:
    enum class State { kWaiting, kHandshake, kConnected, kClosed };
    EnetSession(Role role, const Options& options);

    void OnConnect(void* peer);
    void OnDisconnect(void* peer, std::uint32_t data);
    void OnPacket(void* peer, const std::uint8_t* data, std::size_t size);
    void OnHello(const Hello& h);
    void Refuse(const std::string& reason);
    void Close(NetEvent::Kind kind, const std::string& text);
    void SendNow(const Message& m);
    // A stamped datagram with m (nullptr: the stamp alone).
    void SendStamped(const Message* m);
    void TakeStamped();
    void SendTo(void* peer, const Message& m);
    void CheckSilence();
    bool Flooding();
    void Emit(NetEvent::Kind kind, std::string text, Message m = {});

    Role role_;
    Options options_;
    std::unique_ptr<Impl> impl_;
    State state_ = State::kWaiting;
    bool helloOk_ = false;
    bool welcomed_ = false;
    std::string target_;  // "host:port" the guest joins, for messages
    std::int64_t startMs_ = 0;
    std::int64_t handshakeStartMs_ = 0;  // the host: when the player now in the handshake connected
    std::deque<NetEvent> events_;
    SessionStats stats_;

    RoundTrip roundTrip_;

    std::int64_t floodSecond_ = -1;
    std::uint32_t floodCount_ = 0;
};

// Splits "HOST[:PORT]"; false with a reason on an empty host or a bad port.
bool ParseHostPort(const std::string& text, std::string* host, std::uint16_t* port, std::string* why);

}  // namespace virexo::net
