#include "game/net/enet_session.h"

#include <enet/enet.h>

#include <algorithm>
#include <chrono>
#include <mutex>

namespace virexo::net {

namespace {

// Disconnect data: why a side closed the connection on purpose.
constexpr std::uint32_t kByeLeave = 0x4C45;   // left the game
constexpr std::uint32_t kByeRefuse = 0x5245;  // refused the peer

// Channel 0 is reliable and in order (everything but the keys of a game with
// rollback); channel 1 carries those keys unreliably, so that a lost datagram
// holds nothing back.
constexpr std::size_t kChannels = 2;
constexpr std::uint8_t kReliableChannel = 0;
constexpr std::uint8_t kUnreliableChannel = 1;

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
    s->impl_->host->maximumPacketSize = 64 * 1024;
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
    s->impl_->host->maximumPacketSize = 64 * 1024;
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
        const int r = enet_host_service(impl_->host, &e, n == 0 ? waitMs : 0);
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
    CheckSilence();
    enet_host_flush(impl_->host);
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
            net::Refuse r{"The other machine is already playing a game"};
            const auto bytes = Encode(r);
            enet_peer_send(peer, 0, enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
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
            SendPing();
        } else {
            ++stats_.outOfPhase;
        }
        return;
    }
    switch (type) {
        case MessageType::kPing: {
            const auto& ping = std::get<Ping>(r.message);
            SendNow(Pong{ping.id, ping.sentMs});
            return;
        }
        case MessageType::kPong: {
            const auto& pong = std::get<Pong>(r.message);
            if (!pingOut_ || pong.id != pingId_) {
                ++stats_.outOfPhase;
                return;
            }
            pingOut_ = false;
            const auto now = static_cast<std::uint32_t>(NowMs() - startMs_);
            rttSamples_.push_back(static_cast<double>(now - pong.sentMs));
            if (!rttReady()) SendPing();
            return;
        }
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
        SendPing();
    }
}

void EnetSession::Refuse(const std::string& reason) {
    SendNow(net::Refuse{reason.substr(0, kMaxReasonText)});
    if (impl_->peer) enet_peer_disconnect_later(impl_->peer, kByeRefuse);
    Close(NetEvent::Kind::kRefused, reason);
}

void EnetSession::SendPing() {
    pingOut_ = true;
    ++pingId_;
    SendNow(Ping{pingId_, static_cast<std::uint32_t>(NowMs() - startMs_)});
}

void EnetSession::SendTo(void* p, const Message& m) {
    const auto bytes = Encode(m);
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (packet && enet_peer_send(static_cast<ENetPeer*>(p), kReliableChannel, packet) != 0) enet_packet_destroy(packet);
}

void EnetSession::SendNow(const Message& m, bool reliable) {
    if (!impl_->peer) return;
    const auto bytes = Encode(m);
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (!packet) return;
    if (enet_peer_send(impl_->peer, reliable ? kReliableChannel : kUnreliableChannel, packet) != 0) {
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
    SendNow(m, false);
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
        if (enet_host_service(impl_->host, &e, left) <= 0) continue;
        if (e.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(e.packet);
        if (e.type == ENET_EVENT_TYPE_DISCONNECT && e.peer == impl_->peer) impl_->peer = nullptr;
    }
}

void EnetSession::SendRawForTest(const std::vector<std::uint8_t>& bytes) {
    if (!impl_->peer) return;
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (packet && enet_peer_send(impl_->peer, 0, packet) != 0) enet_packet_destroy(packet);
}

double EnetSession::RttMs() const {
    if (rttSamples_.empty()) return 0.0;
    std::vector<double> v = rttSamples_;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double EnetSession::JitterMs() const {
    // Half the spread of the middle samples: a ping lost and sent again
    // takes several round trips and must not count as jitter.
    if (rttSamples_.size() < 2) return 0.0;
    std::vector<double> v = rttSamples_;
    std::sort(v.begin(), v.end());
    return (v[v.size() * 3 / 4] - v[v.size() / 4]) / 2.0;
}

}  // namespace virexo::net
