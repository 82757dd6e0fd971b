#include "game/net/enet_session.h"

#include <enet/enet.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <mutex>

namespace virexo::net {

namespace {

// Disconnect data: why a side closed the connection on purpose.
constexpr std::uint32_t kByeLeave = 0x4C45;   // left the game
constexpr std::uint32_t kByeRefuse = 0x5245;  // refused the peer

// Channel 0 is reliable and in order: everything but the keys of a game with
// rollback, which go as stamped datagrams of their own on the same socket
// (outside ENet, so that ENet's throttle never drops them and each carries
// its send time). Channel 1 is kept so that the number of channels, which
// ENet checks on connecting, stays as it was.
constexpr std::size_t kChannels = 2;
constexpr std::uint8_t kReliableChannel = 0;

// While nothing else stamped goes out (the title, the pause), a bare stamp
// leaves this often, so the round trip is known before a game starts.
constexpr std::int64_t kStampIntervalMs = 50;

// ENet's global start-up, counted so any number of sessions can live.
std::mutex g_enetMutex;
int g_enetUsers = 0;

bool EnetAcquire() {
    std::lock_guard<std::mutex> lock(g_enetMutex);
    if (g_enetUsers == 0 && enet_initialize() != 0) return false;
    ++g_enetUsers;
    return true;
}

void EnetRelease() {
    std::lock_guard<std::mutex> lock(g_enetMutex);
    if (--g_enetUsers == 0) enet_deinitialize();
}

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The clock of the stamps: the kernel stamps arriving datagrams with the
// real-time clock, so sends are stamped with it too (µs, modulo 2^32).
std::uint32_t StampNowUs() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(t.tv_sec) * 1000000u +
                                      static_cast<std::uint64_t>(t.tv_nsec / 1000));
}

// When the datagram the socket handed over last arrived, as the kernel
// stamped it; now, where the kernel does not stamp. The first ask turns the
// stamping on (and fails), so it is asked once when the socket opens.
std::uint32_t ArrivalUs(ENetSocket socket) {
    timespec t{};
    if (ioctl(socket, SIOCGSTAMPNS, &t) != 0) return StampNowUs();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(t.tv_sec) * 1000000u +
                                      static_cast<std::uint64_t>(t.tv_nsec / 1000));
}

std::string VersionText(std::uint16_t protocol, const std::string& program) {
    return program + " (protocol " + std::to_string(protocol) + ")";
}

}  // namespace

struct EnetSession::Impl {
    ENetHost* host = nullptr;
    ENetPeer* peer = nullptr;  // the one peer of the game
    bool enetUp = false;
    // The host: peers connected but not yet heard from with a Hello, and
    // when each connected. The first to say Hello is the player; the others
    // are let go then, or after the connect wait.
    struct Candidate {
        ENetPeer* peer;
        std::int64_t sinceMs;
    };
    std::vector<Candidate> candidates;
    // Stamped datagrams read off the socket during the service, with their
    // senders and arrival times, handled once it returns.
    struct Stamped {
        ENetAddress from;
        std::uint32_t arrivalUs;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Stamped> stamped;
    std::uint64_t stampedSent = 0, stampedBytesSent = 0;
    std::uint64_t stampedReceived = 0, stampedBytesReceived = 0;
    std::int64_t lastStampMs = 0;
    bool IsCandidate(const ENetPeer* p) const {
        for (const auto& c : candidates)
            if (c.peer == p) return true;
        return false;
    }
    void DropCandidate(const ENetPeer* p) {
        for (auto it = candidates.begin(); it != candidates.end(); ++it)
            if (it->peer == p) {
                candidates.erase(it);
                return;
            }
    }
};

// ENet places of the host: more than the one player, so that connection
// requests that never complete the handshake (forged, or a stuck client)
// cannot keep the real player out while they wait to be let go.
constexpr std::size_t kHostPeers = 8;

// ENet's own timeouts sit past the session's silence timeout, so that the
// session alone decides when the peer is gone: after exactly timeoutMs of
// hearing nothing, on both sides alike. (ENet's retransmission limit could
// otherwise give up on a peer after 1.5 s of a short outage, or only after
// several seconds.)
constexpr std::uint32_t kEnetTimeoutSlackMs = 1000;
constexpr std::uint32_t kPingIntervalMs = 250;

// ENet hands every datagram it reads to this first. Stamped ones are ours:
// kept for the session (bounded) and hidden from ENet.
thread_local EnetSession::Impl* t_servicing = nullptr;
constexpr std::size_t kMaxStampedPerService = 256;

int ENET_CALLBACK InterceptStamped(ENetHost* host, ENetEvent*) {
    if (!IsStamped(host->receivedData, host->receivedDataLength)) return 0;
    EnetSession::Impl* impl = t_servicing;
    if (impl && impl->stamped.size() < kMaxStampedPerService && host->receivedDataLength <= kStampedHeader + kMaxStampedPayload) {
        impl->stamped.push_back({host->receivedAddress, ArrivalUs(host->socket),
                                 std::vector<std::uint8_t>(host->receivedData, host->receivedData + host->receivedDataLength)});
    }
    return 1;
}

// Runs ENet's service with the intercept able to reach this session.
int ServiceHost(EnetSession::Impl* impl, ENetHost* host, ENetEvent* e, enet_uint32 waitMs) {
    t_servicing = impl;
    const int r = enet_host_service(host, e, waitMs);
    t_servicing = nullptr;
    return r;
}

void PrepareHost(ENetHost* host) {
    host->maximumPacketSize = 64 * 1024;
    host->intercept = InterceptStamped;
    timespec t{};
    (void)ioctl(host->socket, SIOCGSTAMPNS, &t);  // turns the kernel's arrival stamps on
}

void SetPeerTimeouts(ENetPeer* peer, std::uint32_t timeoutMs) {
    enet_peer_timeout(peer, 0, timeoutMs + kEnetTimeoutSlackMs, timeoutMs + kEnetTimeoutSlackMs);
    enet_peer_ping_interval(peer, kPingIntervalMs);
}

bool ParseHostPort(const std::string& text, std::string* host, std::uint16_t* port, std::string* why) {
    std::string h = text;
    std::uint16_t p = kDefaultPort;
    const std::size_t colon = text.rfind(':');
    if (colon != std::string::npos) {
        h = text.substr(0, colon);
        const std::string ps = text.substr(colon + 1);
        unsigned long v = 0;
        bool ok = !ps.empty() && ps.size() <= 5;
        for (char c : ps) {
            if (c < '0' || c > '9') ok = false;
            else v = v * 10 + static_cast<unsigned long>(c - '0');
        }
        if (!ok || v == 0 || v > 65535) {
            if (why) *why = "\"" + ps + "\" is not a port number (1 to 65535)";
            return false;
        }
        p = static_cast<std::uint16_t>(v);
    }
    if (h.empty()) {
        if (why) *why = "no host name or address given";
        return false;
    }
    *host = h;
    *port = p;
    return true;
}

EnetSession::EnetSession(Role role, const Options& options)
    : role_(role), options_(options), impl_(std::make_unique<Impl>()) {
    startMs_ = NowMs();
}

EnetSession::~EnetSession() {
    if (impl_->host) {
        if (impl_->peer && state_ != State::kClosed) enet_peer_disconnect_now(impl_->peer, kByeLeave);
        enet_host_flush(impl_->host);
        enet_host_destroy(impl_->host);
    }
    if (impl_->enetUp) EnetRelease();
}

std::unique_ptr<EnetSession> EnetSession::Host(std::uint16_t port, const Options& options, std::string* why) {
    std::unique_ptr<EnetSession> s(new EnetSession(Role::kHost, options));
    if (!EnetAcquire()) {
        if (why) *why = "the network library could not start";
        return nullptr;
    }
    s->impl_->enetUp = true;
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    if (!options.bindAddress.empty() && enet_address_set_host(&address, options.bindAddress.c_str()) != 0) {
        if (why) *why = "unknown address " + options.bindAddress;
        return nullptr;
    }
    address.port = port;
    // Places for the player, for connection requests that may never say
    // Hello, and to answer a second player with a refusal instead of silence.
    s->impl_->host = enet_host_create(&address, kHostPeers, kChannels, 0, 0);
    if (!s->impl_->host) {
        if (why) *why = "cannot listen on port " + std::to_string(port) + " (is it in use?)";
        return nullptr;
    }
    PrepareHost(s->impl_->host);
    return s;
}

std::unique_ptr<EnetSession> EnetSession::Join(const std::string& hostPort, const Options& options,
                                               std::string* why) {
    std::string name;
    std::uint16_t port = 0;
    if (!ParseHostPort(hostPort, &name, &port, why)) return nullptr;
    std::unique_ptr<EnetSession> s(new EnetSession(Role::kGuest, options));
    if (!EnetAcquire()) {
        if (why) *why = "the network library could not start";
        return nullptr;
    }
    s->impl_->enetUp = true;
    ENetAddress address{};
    if (enet_address_set_host(&address, name.c_str()) != 0) {
        if (why) *why = "unknown host " + name;
        return nullptr;
    }
    address.port = port;
    s->impl_->host = enet_host_create(nullptr, 1, kChannels, 0, 0);
    if (!s->impl_->host) {
        if (why) *why = "cannot open a network socket";
        return nullptr;
    }
    PrepareHost(s->impl_->host);
    s->impl_->peer = enet_host_connect(s->impl_->host, &address, kChannels, 0);
    if (!s->impl_->peer) {
        if (why) *why = "cannot connect to " + hostPort;
        return nullptr;
    }
    SetPeerTimeouts(s->impl_->peer, options.timeoutMs);
    s->target_ = name + ":" + std::to_string(port);
    s->state_ = State::kHandshake;
    return s;
}

std::uint16_t EnetSession::port() const { return impl_->host ? impl_->host->address.port : 0; }

std::uint32_t EnetSession::EnetRttMs() const { return impl_->peer ? impl_->peer->roundTripTime : 0; }

SessionStats EnetSession::stats() const {
    SessionStats s = stats_;
    if (impl_->host) {
        s.datagramsSent = impl_->host->totalSentPackets;
        s.udpBytesSent = impl_->host->totalSentData;
        s.datagramsReceived = impl_->host->totalReceivedPackets;
        s.udpBytesReceived = impl_->host->totalReceivedData;
    }
    s.datagramsSent += impl_->stampedSent;
    s.udpBytesSent += impl_->stampedBytesSent;
    s.datagramsReceived += impl_->stampedReceived;
    s.udpBytesReceived += impl_->stampedBytesReceived;
    return s;
}

void EnetSession::Emit(NetEvent::Kind kind, std::string text, Message m) {
    events_.push_back(NetEvent{kind, std::move(text), std::move(m)});
}

std::optional<NetEvent> EnetSession::Next() {
    if (events_.empty()) return std::nullopt;
    NetEvent e = std::move(events_.front());
    events_.pop_front();
    return e;
}

void EnetSession::Service(std::uint32_t waitMs) {
    if (!impl_->host) return;
    if (role_ == Role::kGuest && state_ == State::kHandshake &&
        NowMs() - startMs_ > static_cast<std::int64_t>(options_.connectTimeoutMs)) {
        if (impl_->peer) enet_peer_reset(impl_->peer);
        impl_->peer = nullptr;
        Close(NetEvent::Kind::kFailed, "No game answered at " + target_);
        return;
    }
    if (role_ == Role::kHost && !helloOk_) {
        // Connected but silent (a port scanner, a forged request, a stuck
        // client): let it go, so it cannot hold a place for long. A real
        // player that connects meanwhile is heard all the same.
        const std::int64_t now = NowMs();
        for (std::size_t i = 0; i < impl_->candidates.size();) {
            const auto c = impl_->candidates[i];
            if (now - c.sinceMs > static_cast<std::int64_t>(options_.connectTimeoutMs)) {
                enet_peer_disconnect_now(c.peer, kByeRefuse);
                impl_->candidates.erase(impl_->candidates.begin() + static_cast<std::ptrdiff_t>(i));
                ++stats_.silentPeers;
            } else {
                ++i;
            }
        }
        if (state_ == State::kHandshake && impl_->candidates.empty()) state_ = State::kWaiting;
    }
    ENetEvent e;
    // Bounded: one wait, then only what is already there.
    for (int n = 0; n < 4096; ++n) {
        const int r = ServiceHost(impl_.get(), impl_->host, &e, n == 0 ? waitMs : 0);
        if (r <= 0) break;
        switch (e.type) {
            case ENET_EVENT_TYPE_CONNECT: OnConnect(e.peer); break;
            case ENET_EVENT_TYPE_DISCONNECT: OnDisconnect(e.peer, e.data); break;
            case ENET_EVENT_TYPE_RECEIVE:
                OnPacket(e.peer, e.packet->data, e.packet->dataLength);
                enet_packet_destroy(e.packet);
                break;
            case ENET_EVENT_TYPE_NONE: break;
        }
    }
    TakeStamped();
    CheckSilence();
    if (state_ == State::kConnected && NowMs() - impl_->lastStampMs >= kStampIntervalMs) SendStamped(nullptr);
    enet_host_flush(impl_->host);
}

void EnetSession::TakeStamped() {
    std::vector<Impl::Stamped> in;
    in.swap(impl_->stamped);
    for (const Impl::Stamped& d : in) {
        const ENetPeer* peer = impl_->peer;
        // Only the player's own address counts; anything else is a stranger.
        if (!peer || state_ != State::kConnected || d.from.host != peer->address.host ||
            d.from.port != peer->address.port) {
            ++stats_.outOfPhase;
            continue;
        }
        Stamp stamp;
        std::size_t at = 0;
        if (!DecodeStamped(d.bytes.data(), d.bytes.size(), &stamp, &at)) {
            stats_.undecodable.Add(DecodeError::kBadValue);
            continue;
        }
        ++impl_->stampedReceived;
        impl_->stampedBytesReceived += d.bytes.size();
        roundTrip_.Incoming(stamp, d.arrivalUs);
        if (at == d.bytes.size()) continue;  // a stamp alone
        if (Flooding()) {
            ++stats_.flood;
            continue;
        }
        DecodeResult r = Decode(d.bytes.data() + at, d.bytes.size() - at, stats_.undecodable);
        if (!r.ok()) continue;
        // Only keys travel this way: the rest needs the reliable channel.
        if (TypeOf(r.message) != MessageType::kKeys) {
            ++stats_.outOfPhase;
            continue;
        }
        ++stats_.messagesReceived;
        stats_.payloadBytesReceived += d.bytes.size() - at;
        Emit(NetEvent::Kind::kMessage, {}, std::move(r.message));
    }
}

void EnetSession::SendStamped(const Message* m) {
    if (!impl_->peer) return;
    const std::vector<std::uint8_t> payload = m ? Encode(*m) : std::vector<std::uint8_t>{};
    const std::vector<std::uint8_t> bytes = EncodeStamped(roundTrip_.Outgoing(StampNowUs()), payload);
    ENetBuffer buffer;
    buffer.data = const_cast<std::uint8_t*>(bytes.data());
    buffer.dataLength = bytes.size();
    impl_->lastStampMs = NowMs();
    if (enet_socket_send(impl_->host->socket, &impl_->peer->address, &buffer, 1) <= 0) return;
    ++impl_->stampedSent;
    impl_->stampedBytesSent += bytes.size();
    if (m) {
        ++stats_.messagesSent;
        stats_.payloadBytesSent += payload.size();
    }
}

void EnetSession::CheckSilence() {
    if (!impl_->peer || state_ != State::kConnected) return;
    const enet_uint32 now = enet_time_get();
    const enet_uint32 last = impl_->peer->lastReceiveTime;
    // (ENet's clock wraps; the difference of two stamps does not care.)
    if (last == 0 || static_cast<enet_uint32>(now - last) > 0x80000000u || now - last <= options_.timeoutMs) return;
    enet_peer_reset(impl_->peer);
    impl_->peer = nullptr;
    Close(NetEvent::Kind::kTimedOut, "The connection to the other player was lost");
}

void EnetSession::OnConnect(void* p) {
    auto* peer = static_cast<ENetPeer*>(p);
    if (role_ == Role::kHost) {
        if (impl_->peer != nullptr || (state_ != State::kWaiting && state_ != State::kHandshake)) {
            // A game is on (or over): tell the newcomer, on its own screen,
            // that this machine is busy, and let it go.
            ++stats_.peersRefused;
            SendTo(peer, net::Refuse{"The other machine is already playing a game"});
            enet_peer_disconnect_later(peer, kByeRefuse);
            return;
        }
        impl_->candidates.push_back({peer, NowMs()});
        SetPeerTimeouts(peer, options_.timeoutMs);
        state_ = State::kHandshake;
        handshakeStartMs_ = NowMs();
        SendTo(peer, Hello{options_.protocol, options_.program, role_});
        return;
    } else if (peer != impl_->peer) {
        return;
    }
    SendNow(Hello{options_.protocol, options_.program, role_});
}

void EnetSession::OnDisconnect(void* p, std::uint32_t data) {
    auto* peer = static_cast<ENetPeer*>(p);
    if (impl_->IsCandidate(peer)) {  // gone before it said Hello
        impl_->DropCandidate(peer);
        if (state_ == State::kHandshake && !impl_->peer && impl_->candidates.empty()) state_ = State::kWaiting;
        return;
    }
    if (peer != impl_->peer) return;  // a refused newcomer going away
    impl_->peer = nullptr;
    if (state_ == State::kClosed) return;
    if (data == kByeLeave) {
        Close(NetEvent::Kind::kPeerLeft, "The other player left the game");
    } else if (data == kByeRefuse) {
        Close(NetEvent::Kind::kRefused, "The other player's game refused the connection");
    } else if (role_ == Role::kGuest && state_ == State::kHandshake) {
        Close(NetEvent::Kind::kFailed, "No game answered at " + target_);
    } else {
        Close(NetEvent::Kind::kTimedOut, "The connection to the other player was lost");
    }
}

void EnetSession::Close(NetEvent::Kind kind, const std::string& text) {
    state_ = State::kClosed;
    Emit(kind, text);
}

bool EnetSession::Flooding() {
    const std::int64_t second = NowMs() / 1000;
    if (second != floodSecond_) {
        floodSecond_ = second;
        floodCount_ = 0;
    }
    return options_.maxMessagesPerSecond != 0 && ++floodCount_ > options_.maxMessagesPerSecond;
}

void EnetSession::OnPacket(void* p, const std::uint8_t* data, std::size_t size) {
    if (role_ == Role::kHost && !impl_->peer && impl_->IsCandidate(static_cast<ENetPeer*>(p)) &&
        state_ == State::kHandshake) {
        // The first candidate to say Hello is the player; the others go.
        const DecodeResult first = Decode(data, size);
        if (!first.ok() || TypeOf(first.message) != MessageType::kHello) {
            ++stats_.outOfPhase;
            return;
        }
        impl_->peer = static_cast<ENetPeer*>(p);
        impl_->DropCandidate(impl_->peer);
        for (const auto& c : impl_->candidates) {
            enet_peer_disconnect_now(c.peer, kByeRefuse);
            ++stats_.silentPeers;
        }
        impl_->candidates.clear();
    }
    if (static_cast<ENetPeer*>(p) != impl_->peer || state_ == State::kClosed) {
        ++stats_.outOfPhase;
        return;
    }
    if (Flooding()) {
        ++stats_.flood;
        return;
    }
    DecodeResult r = Decode(data, size, stats_.undecodable);
    if (!r.ok()) return;
    ++stats_.messagesReceived;
    stats_.payloadBytesReceived += size;
    const MessageType type = TypeOf(r.message);

    if (type == MessageType::kRefuse) {
        Close(NetEvent::Kind::kRefused, std::get<net::Refuse>(r.message).reason);
        return;
    }
    if (state_ != State::kConnected) {
        if (type == MessageType::kHello && !helloOk_) {
            OnHello(std::get<Hello>(r.message));
        } else if (type == MessageType::kWelcome && role_ == Role::kGuest && helloOk_ && !welcomed_) {
            welcomed_ = true;
            state_ = State::kConnected;
            Emit(NetEvent::Kind::kConnected, "Connected");
        } else {
            ++stats_.outOfPhase;
        }
        return;
    }
    switch (type) {
        case MessageType::kKeys:  // keys come stamped, outside the channels
        case MessageType::kPing:  // the round trip comes from the stamps
        case MessageType::kPong:
            ++stats_.outOfPhase;
            return;
        case MessageType::kStart:
        case MessageType::kChoice:
            // Only the host starts games and makes the menu choices.
            if (role_ == Role::kHost) {
                ++stats_.outOfPhase;
                return;
            }
            break;
        case MessageType::kHello:
        case MessageType::kWelcome:
            ++stats_.outOfPhase;
            return;
        case MessageType::kLeave:
            if (impl_->peer) enet_peer_disconnect_later(impl_->peer, kByeLeave);
            Close(NetEvent::Kind::kPeerLeft, "The other player left the game");
            return;
        default: break;
    }
    Emit(NetEvent::Kind::kMessage, {}, std::move(r.message));
}

void EnetSession::OnHello(const Hello& h) {
    if (h.protocol != options_.protocol || h.program != options_.program) {
        Refuse("Different versions: this game is " + VersionText(options_.protocol, options_.program) +
               ", the other player's is " + VersionText(h.protocol, h.program));
        return;
    }
    if (h.role == role_) {
        Refuse(role_ == Role::kHost ? "Both players are hosting" : "Both players are joining");
        return;
    }
    helloOk_ = true;
    if (role_ == Role::kHost) {
        SendNow(Welcome{});
        state_ = State::kConnected;
        Emit(NetEvent::Kind::kConnected, "Connected");
    }
}

void EnetSession::Refuse(const std::string& reason) {
    SendNow(net::Refuse{reason.substr(0, kMaxReasonText)});
    if (impl_->peer) enet_peer_disconnect_later(impl_->peer, kByeRefuse);
    Close(NetEvent::Kind::kRefused, reason);
}

void EnetSession::SendTo(void* p, const Message& m) {
    const auto bytes = Encode(m);
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (packet && enet_peer_send(static_cast<ENetPeer*>(p), kReliableChannel, packet) != 0) enet_packet_destroy(packet);
}

void EnetSession::SendNow(const Message& m) {
    if (!impl_->peer) return;
    const auto bytes = Encode(m);
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (!packet) return;
    if (enet_peer_send(impl_->peer, kReliableChannel, packet) != 0) {
        enet_packet_destroy(packet);
        return;
    }
    ++stats_.messagesSent;
    stats_.payloadBytesSent += bytes.size();
}

bool EnetSession::Send(const Message& m) {
    if (state_ != State::kConnected || !impl_->peer) return false;
    SendNow(m);
    return true;
}

bool EnetSession::SendUnreliable(const Message& m) {
    if (state_ != State::kConnected || !impl_->peer) return false;
    SendStamped(&m);
    return true;
}

void EnetSession::Leave(std::uint32_t drainMs) {
    if (state_ == State::kClosed || !impl_->peer) {
        state_ = State::kClosed;
        return;
    }
    if (state_ == State::kConnected) SendNow(net::Leave{});
    enet_peer_disconnect_later(impl_->peer, kByeLeave);
    enet_host_flush(impl_->host);
    state_ = State::kClosed;
    // The disconnection completes once the peer has acknowledged everything
    // queued before it.
    const std::int64_t end = NowMs() + drainMs;
    ENetEvent e;
    while (drainMs > 0 && impl_->peer && NowMs() < end) {
        const auto left = static_cast<enet_uint32>(std::max<std::int64_t>(1, std::min<std::int64_t>(10, end - NowMs())));
        if (ServiceHost(impl_.get(), impl_->host, &e, left) <= 0) continue;
        if (e.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(e.packet);
        if (e.type == ENET_EVENT_TYPE_DISCONNECT && e.peer == impl_->peer) impl_->peer = nullptr;
    }
}

void EnetSession::SendRawForTest(const std::vector<std::uint8_t>& bytes) {
    if (!impl_->peer) return;
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (packet && enet_peer_send(impl_->peer, 0, packet) != 0) enet_packet_destroy(packet);
}

double EnetSession::RttMs() const { return roundTrip_.RttMs(); }

double EnetSession::JitterMs() const { return roundTrip_.JitterMs(); }

}  // namespace virexo::net
