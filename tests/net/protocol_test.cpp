#include "game/net/protocol.h"

#include <gtest/gtest.h>

#include <random>

namespace virexo::net {
namespace {

std::vector<Message> Samples() {
    return {
        Hello{kProtocolVersion, "0.1.0", Role::kGuest},
        Welcome{},
        Refuse{"Different versions"},
        Ping{7, 123456},
        Pong{0xFFFFFFFFu, 1},
        Start{0x89ABCDEFu, 5, 2, 2},
        Choice{3, 200},
        Input{4000000000u, {0, keys::kLeft, keys::kAll, keys::kUp | keys::kDown}},
        Checksum{29, 0x0123456789ABCDEFull},
        Pause{100},
        Resume{101},
        Leave{},
        Desync{59, 42, "board 0: ...\n"},
    };
}

TEST(NetProtocol, EveryMessageRoundTripsWithItsLittleEndianLayout) {
    for (const Message& m : Samples()) {
        const auto bytes = Encode(m);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes[0], static_cast<std::uint8_t>(m.index() + 1));
        const DecodeResult r = Decode(bytes.data(), bytes.size());
        ASSERT_TRUE(r.ok()) << "type " << int(bytes[0]) << ": " << DecodeErrorName(r.error);
        EXPECT_EQ(r.message.index(), m.index());
        EXPECT_EQ(Encode(r.message), bytes);
    }
    // The fields of a few, by value and by byte.
    const auto in = Encode(Input{0x01020304u, {keys::kLeft, keys::kRight}});
    EXPECT_EQ(in, (std::vector<std::uint8_t>{8, 0x04, 0x03, 0x02, 0x01, 2, 1, 2}));
    const auto cs = Decode(Encode(Checksum{29, 0x0123456789ABCDEFull}).data(), 13);
    ASSERT_TRUE(cs.ok());
    EXPECT_EQ(std::get<Checksum>(cs.message).sum, 0x0123456789ABCDEFull);
    EXPECT_EQ(std::get<Checksum>(cs.message).frame, 29u);
    const auto hb = Encode(Hello{1, "ab", Role::kGuest});
    EXPECT_EQ(hb, (std::vector<std::uint8_t>{1, 1, 0, 2, 'a', 'b', 1}));
    const auto h = Decode(hb.data(), hb.size());
    EXPECT_EQ(std::get<Hello>(h.message).program, "ab");
    EXPECT_EQ(std::get<Hello>(h.message).role, Role::kGuest);
    const auto st = Decode(Encode(Start{0x89ABCDEFu, 5, 2, 1}).data(), 8);
    ASSERT_TRUE(st.ok());
    EXPECT_EQ(std::get<Start>(st.message).seed, 0x89ABCDEFu);
    EXPECT_EQ(std::get<Start>(st.message).delay, 5);
    EXPECT_EQ(std::get<Start>(st.message).players, 1);
}

TEST(NetProtocol, EveryTruncationAndEveryExtraByteIsRejectedAndCounted) {
    DropCounts drops;
    std::uint64_t expected = 0;
    for (const Message& m : Samples()) {
        const auto bytes = Encode(m);
        for (std::size_t n = 0; n < bytes.size(); ++n) {
            const DecodeResult r = Decode(bytes.data(), n, drops);
            ++expected;
            EXPECT_EQ(r.error, n == 0 ? DecodeError::kEmpty : DecodeError::kTruncated)
                << "type " << int(bytes[0]) << " cut to " << n;
        }
        auto longer = bytes;
        longer.push_back(0);
        EXPECT_EQ(Decode(longer.data(), longer.size(), drops).error, DecodeError::kTrailing);
        ++expected;
    }
    EXPECT_EQ(drops.Total(), expected);
    EXPECT_EQ(drops.byKind[static_cast<std::size_t>(DecodeError::kTrailing)], Samples().size());
    EXPECT_EQ(Decode(nullptr, 5).error, DecodeError::kEmpty);
}

TEST(NetProtocol, UnknownTypesAndOutOfRangeFieldsAreRejected) {
    for (int t : {0, 15, 0x7F, 0xFF}) {
        const std::uint8_t b[] = {static_cast<std::uint8_t>(t), 0, 0, 0, 0};
        EXPECT_EQ(Decode(b, sizeof b).error, DecodeError::kUnknownType) << t;
    }
    auto bad = [](std::vector<std::uint8_t> b) { return Decode(b.data(), b.size()).error; };
    // Input: a run of 0, a run past 64 (even when the bytes are there), key bits outside the five keys.
    EXPECT_EQ(bad({8, 0, 0, 0, 0, 0}), DecodeError::kBadValue);
    std::vector<std::uint8_t> huge = {8, 0, 0, 0, 0, 65};
    huge.resize(huge.size() + 65, 0);
    EXPECT_EQ(bad(huge), DecodeError::kBadValue);
    EXPECT_EQ(bad({8, 0, 0, 0, 0, 255}), DecodeError::kBadValue);
    EXPECT_EQ(bad({8, 0, 0, 0, 0, 2, 1, 0x20}), DecodeError::kBadValue);
    EXPECT_EQ(bad({8, 0, 0, 0, 0, 1, keys::kPause}), DecodeError::kNone);
    // A count that claims more bytes than there are.
    EXPECT_EQ(bad({8, 0, 0, 0, 0, 3, 1, 2}), DecodeError::kTruncated);
    // Hello: a role of 2, a version text past 64 bytes.
    EXPECT_EQ(bad({1, 1, 0, 1, 'x', 2}), DecodeError::kBadValue);
    std::vector<std::uint8_t> longHello = {1, 1, 0, 65};
    longHello.resize(longHello.size() + 65, 'x');
    longHello.push_back(0);
    EXPECT_EQ(bad(longHello), DecodeError::kBadValue);
    // Refuse: a reason past 200 bytes.
    std::vector<std::uint8_t> longReason = {3, 201};
    longReason.resize(longReason.size() + 201, 'x');
    EXPECT_EQ(bad(longReason), DecodeError::kBadValue);
    // Start: delay 1 and 9, difficulty 3, players 0 and 3.
    EXPECT_EQ(bad({6, 1, 0, 0, 0, 1, 0, 2}), DecodeError::kBadValue);
    EXPECT_EQ(bad({6, 1, 0, 0, 0, 9, 0, 2}), DecodeError::kBadValue);
    EXPECT_EQ(bad({6, 1, 0, 0, 0, 4, 3, 2}), DecodeError::kBadValue);
    EXPECT_EQ(bad({6, 1, 0, 0, 0, 4, 0, 0}), DecodeError::kBadValue);
    EXPECT_EQ(bad({6, 1, 0, 0, 0, 4, 0, 3}), DecodeError::kBadValue);
    // Choice item 16; Desync with a dump length past the limit.
    EXPECT_EQ(bad({7, 16, 0}), DecodeError::kBadValue);
    EXPECT_EQ(bad({13, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF}), DecodeError::kBadValue);

    // The encoder refuses what the decoder would.
    EXPECT_THROW(Encode(Input{0, {}}), std::invalid_argument);
    EXPECT_THROW(Encode(Input{0, std::vector<std::uint8_t>(65, 0)}), std::invalid_argument);
    EXPECT_THROW(Encode(Input{0, {0x20}}), std::invalid_argument);
    EXPECT_THROW(Encode(Start{0, 9, 0, 2}), std::invalid_argument);
    EXPECT_THROW(Encode(Hello{1, std::string(65, 'v'), Role::kHost}), std::invalid_argument);
    EXPECT_NO_THROW(Encode(Input{0, std::vector<std::uint8_t>(64, keys::kAll)}));
}

TEST(NetProtocol, RandomBytesNeverDecodeToAnInvalidMessage) {
    // Whatever decodes must re-encode to the very same bytes: the decoder
    // accepts nothing the encoder could not have produced.
    std::mt19937 rng(11);
    int accepted = 0;
    for (int i = 0; i < 200000; ++i) {
        std::vector<std::uint8_t> b(rng() % 24);
        for (auto& x : b) x = static_cast<std::uint8_t>(rng() % 4 == 0 ? rng() % 16 : rng());
        if (!b.empty()) b[0] = static_cast<std::uint8_t>(rng() % 15);
        const DecodeResult r = Decode(b.data(), b.size());
        if (!r.ok()) continue;
        ++accepted;
        EXPECT_EQ(Encode(r.message), b);
    }
    EXPECT_GT(accepted, 100);
}

}  // namespace
}  // namespace virexo::net

namespace virexo::net {
namespace {

TEST(NetProtocol, KeysCarryARunAnAcknowledgementALeadAndADelayAndRefuseBadBits) {
    Keys k{0x01020304u, {keys::kLeft, 0, keys::kAll}, 0x0A0B0C0Du, -3, 2};
    const auto bytes = Encode(k);
    const std::vector<std::uint8_t> want = {14, 4, 3, 2, 1, 3, keys::kLeft, 0, keys::kAll, 0x0D, 0x0C, 0x0B, 0x0A, 0xFD, 2};
    EXPECT_EQ(bytes, want);
    const auto back = Decode(bytes.data(), bytes.size());
    ASSERT_TRUE(back.ok());
    const auto& got = std::get<Keys>(back.message);
    EXPECT_EQ(got.first, k.first);
    EXPECT_EQ(got.keys, k.keys);
    EXPECT_EQ(got.ack, k.ack);
    EXPECT_EQ(got.lead, -3);
    EXPECT_EQ(got.delay, 2);
    // No keys at all is an acknowledgement alone.
    EXPECT_TRUE(Decode(Encode(Keys{5, {}, 9, 0, 0}).data(), 12).ok());
    auto bad = [](std::vector<std::uint8_t> b) { return Decode(b.data(), b.size()).error; };
    EXPECT_EQ(bad({14, 0, 0, 0, 0, 1, 0x20, 0, 0, 0, 0, 0, 0}), DecodeError::kBadValue);  // a bit past the keys
    EXPECT_EQ(bad({14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3}), DecodeError::kBadValue);        // a delay of 3
    EXPECT_EQ(bad({14, 0, 0, 0, 0, 65}), DecodeError::kBadValue);                          // more than 64 frames
    EXPECT_EQ(bad({14, 0, 0, 0, 0, 1, 0, 0, 0, 0}), DecodeError::kTruncated);
    EXPECT_EQ(bad({14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), DecodeError::kTrailing);
    EXPECT_THROW(Encode(Keys{0, std::vector<std::uint8_t>(65, 0), 0, 0, 0}), std::invalid_argument);
    EXPECT_THROW(Encode(Keys{0, {}, 0, 0, 3}), std::invalid_argument);
    // A rollback Start carries its delay of 0..2 under the top bit.
    const auto st = Decode(Encode(Start{7, 0, 1, 2, true}).data(), 8);
    ASSERT_TRUE(st.ok());
    EXPECT_TRUE(std::get<Start>(st.message).rollback);
    EXPECT_EQ(std::get<Start>(st.message).delay, 0);
    EXPECT_EQ(bad({6, 1, 0, 0, 0, 0x83, 0, 2}), DecodeError::kBadValue);  // rollback delay 3
    EXPECT_THROW(Encode(Start{0, 3, 0, 2, true}), std::invalid_argument);
}

// A stamped datagram: the magic no ENet datagram starts with, the flags,
// the three times, and the message; anything else is not one.
TEST(NetProtocol, StampedDatagramsCarryTheirTimesAndAMessage) {
    const Stamp stamp{0xFFFFFFF0u, true, 0x01020304u, 250};
    const auto payload = Encode(Keys{3, {keys::kLeft}, 2, 1, 0});
    const auto bytes = EncodeStamped(stamp, payload);
    ASSERT_EQ(bytes.size(), kStampedHeader + payload.size());
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 9)),
              (std::vector<std::uint8_t>{0xFF, 0xFE, 'V', 'X', 1, 0xF0, 0xFF, 0xFF, 0xFF}));
    Stamp got;
    std::size_t at = 0;
    ASSERT_TRUE(DecodeStamped(bytes.data(), bytes.size(), &got, &at));
    EXPECT_TRUE(got.echoed);
    EXPECT_EQ(got.sentUs, stamp.sentUs);
    EXPECT_EQ(got.echoUs, stamp.echoUs);
    EXPECT_EQ(got.heldUs, 250u);
    ASSERT_EQ(at, kStampedHeader);
    EXPECT_TRUE(Decode(bytes.data() + at, bytes.size() - at).ok());

    // A stamp alone, before anything was heard: no echo is written.
    const auto bare = EncodeStamped(Stamp{7, false, 99, 99}, {});
    ASSERT_TRUE(DecodeStamped(bare.data(), bare.size(), &got, &at));
    EXPECT_FALSE(got.echoed);
    EXPECT_EQ(got.echoUs, 0u);
    EXPECT_EQ(at, bare.size());

    auto broken = bytes;
    broken[4] = 0x02;  // an unknown flag
    EXPECT_FALSE(DecodeStamped(broken.data(), broken.size(), &got, &at));
    auto forged = bare;
    forged[10] = 1;  // an echo time without the flag
    EXPECT_FALSE(DecodeStamped(forged.data(), forged.size(), &got, &at));
    EXPECT_FALSE(DecodeStamped(bytes.data(), kStampedHeader - 1, &got, &at));  // truncated
    const std::vector<std::uint8_t> tooLong(kStampedHeader + kMaxStampedPayload + 1, 0xFF);
    EXPECT_FALSE(DecodeStamped(tooLong.data(), tooLong.size(), &got, &at));
    // An ENet datagram (peer 0, a sent time) is none of ours.
    const std::vector<std::uint8_t> enet = {0x80, 0x00, 0x12, 0x34, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    EXPECT_FALSE(IsStamped(enet.data(), enet.size()));
    EXPECT_FALSE(IsStamped(nullptr, 0));
    EXPECT_THROW(EncodeStamped(stamp, std::vector<std::uint8_t>(kMaxStampedPayload + 1)), std::invalid_argument);
}

}  // namespace
}  // namespace virexo::net
